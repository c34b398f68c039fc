// showMessageBox against the real message box: a watcher thread finds the box by its title,
// reads the text of its static control, checks the owner and presses a button.

#include "zeno/Exception.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "zeno/Strings.h"
#include "zeno/tests/DebugOutputCapture.h"
#include "zeno/tests/SystemMessage.h"

namespace {

const wchar_t* const IGNORED_LOOKUP_LINE =
    L"ignored exception thrown by formatMessage() during Exception::showMessageBox()\n";

// The static control of a message box that holds the text.
const int MESSAGE_TEXT_ID = 0xFFFF;

struct BoxSeen {
    bool found = false;
    std::wstring text;
    HWND owner = nullptr;
};

std::wstring windowText(HWND window) {
    wchar_t buffer[4096] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, sizeof buffer / sizeof buffer[0],
                             reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, &copied)) {
        return L"(no answer to WM_GETTEXT)";
    }
    return std::wstring(buffer, copied);
}

struct FindByTitle {
    const std::wstring* title;
    HWND found;
};

BOOL CALLBACK findDialogByTitle(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<FindByTitle*>(parameter);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (std::wstring(className) == L"#32770" && IsWindowVisible(window) &&
        windowText(window) == *search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK closeDialogs(HWND window, LPARAM) {
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (std::wstring(className) == L"#32770") {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

// Shows the exception's box on this thread while another thread reads and dismisses it.
class MessageBoxRun {
public:
    MessageBoxRun(const std::wstring& title, WPARAM button) : title(title), button(button) {}

    int show(const zeno::Exception& e, HWND owner, std::uint32_t flags) {
        const DWORD boxThread = GetCurrentThreadId();
        std::thread watcher([this, boxThread] { watch(boxThread); });
        const int result = e.showMessageBox(owner, title.c_str(), flags);
        watcher.join();
        return result;
    }

    const BoxSeen& seen() const { return box; }

private:
    void watch(DWORD boxThread) {
        FindByTitle search{&title, nullptr};
        for (int attempt = 0; attempt < 1000 && search.found == nullptr; ++attempt) {
            Sleep(10);
            EnumThreadWindows(boxThread, &findDialogByTitle, reinterpret_cast<LPARAM>(&search));
        }
        if (search.found == nullptr) {
            // Close whatever box the thread shows, so a wrong title fails the test instead of hanging it.
            EnumThreadWindows(boxThread, &closeDialogs, 0);
            return;
        }
        box.found = true;
        box.owner = GetWindow(search.found, GW_OWNER);
        HWND textControl = GetDlgItem(search.found, MESSAGE_TEXT_ID);
        box.text = textControl != nullptr ? windowText(textControl) : L"(no text control)";
        PostMessageW(search.found, WM_COMMAND, button, 0);
    }

    std::wstring title;
    WPARAM button;
    BoxSeen box;
};

std::wstring uniqueTitle(const wchar_t* name) {
    static std::atomic<int> counter{0};
    return std::wstring(L"zeno test ") + name + L" " + std::to_wstring(GetCurrentProcessId()) + L"." +
           std::to_wstring(++counter);
}

std::wstring withoutCrLf(std::wstring text) {
    if (zeno::endsWith(text, zeno::crlf)) {
        text.resize(text.size() - 2);
    }
    return text;
}

TEST(ShowMessageBox, FileNotFoundShowsFiveLines) {
    const zeno_test::SystemMessage system = zeno_test::systemMessage(2);
    ASSERT_TRUE(system.found);
    zeno_test::DebugOutputCapture debugOutput;
    MessageBoxRun run(uniqueTitle(L"file"), IDOK);
    const int result = run.show(zeno::FileNotFoundException(L"C:\\x.h", 2), nullptr, MB_OK | MB_ICONERROR);
    ASSERT_TRUE(run.seen().found) << "message box not found";
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(L"class zeno::FileNotFoundException\nC:\\x.h\n\nError code: 2\n" + withoutCrLf(system.text),
              run.seen().text);
    EXPECT_EQ(0u, debugOutput.outputs().size());
}

TEST(ShowMessageBox, HighCodesAreSignedAndTheResultComesBack) {
    const std::uint32_t accessDenied = 0x80070005u;
    const zeno_test::SystemMessage system = zeno_test::systemMessage(accessDenied);
    ASSERT_TRUE(system.found);
    MessageBoxRun run(uniqueTitle(L"hresult"), IDCANCEL);
    const int result = run.show(zeno::Exception(L"::CoCreate() failed", accessDenied), nullptr, MB_OKCANCEL);
    ASSERT_TRUE(run.seen().found) << "message box not found";
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(L"class zeno::Exception\n::CoCreate() failed\n\nError code: -2147024891\n" +
                  withoutCrLf(system.text),
              run.seen().text);
}

TEST(ShowMessageBox, UnknownCodeIsShownWithoutSystemTextAndReported) {
    const std::uint32_t unknown = 0xDEADBEEFu;
    ASSERT_FALSE(zeno_test::systemMessage(unknown).found);
    zeno_test::DebugOutputCapture debugOutput;
    ASSERT_TRUE(debugOutput.isInstalled());
    MessageBoxRun run(uniqueTitle(L"unknown"), IDOK);
    const int result = run.show(zeno::IOException(L"::Boom() failed", unknown), nullptr, MB_OK);
    ASSERT_TRUE(run.seen().found) << "message box not found";
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(L"class zeno::IOException\n::Boom() failed\n\nError code: -559038737", run.seen().text);
    EXPECT_TRUE(debugOutput.contains(IGNORED_LOOKUP_LINE)) << testing::PrintToString(debugOutput.text());
    EXPECT_EQ(1u, debugOutput.countStartingWith(L"ignored exception thrown by formatMessage()"));
}

TEST(ShowMessageBox, WithoutCodeShowsNoCodeLinesAndLooksNothingUp) {
    zeno_test::DebugOutputCapture debugOutput;
    MessageBoxRun run(uniqueTitle(L"nocode"), IDOK);
    run.show(zeno::IllegalStateException(L"not yet"), nullptr, MB_OK);
    ASSERT_TRUE(run.seen().found) << "message box not found";
    EXPECT_EQ(L"class zeno::IllegalStateException\nnot yet", run.seen().text);
    EXPECT_EQ(0u, debugOutput.outputs().size());
}

TEST(ShowMessageBox, WithoutMessageAndCodeShowsTheClassNameLineAlone) {
    MessageBoxRun run(uniqueTitle(L"bare"), IDOK);
    run.show(zeno::Exception(zeno::nilString, zeno::Exception::NO_ERROR_CODE), nullptr, MB_OK);
    ASSERT_TRUE(run.seen().found) << "message box not found";
    EXPECT_EQ(L"class zeno::Exception", run.seen().text);

    MessageBoxRun empty(uniqueTitle(L"empty"), IDOK);
    empty.show(zeno::Exception(L"", 0), nullptr, MB_OK);
    ASSERT_TRUE(empty.seen().found) << "message box not found";
    const zeno_test::SystemMessage system = zeno_test::systemMessage(0);
    ASSERT_TRUE(system.found);
    EXPECT_EQ(L"class zeno::Exception\n\nError code: 0\n" + withoutCrLf(system.text), empty.seen().text);
}

TEST(ShowMessageBox, BelongsToTheOwnerWindow) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"zeno owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, owner);
    MessageBoxRun run(uniqueTitle(L"owner"), IDOK);
    run.show(zeno::NumberFormatException(L"12a"), owner, MB_OK);
    ASSERT_TRUE(run.seen().found) << "message box not found";
    EXPECT_EQ(owner, run.seen().owner);
    EXPECT_EQ(L"class zeno::NumberFormatException\n12a", run.seen().text);
    DestroyWindow(owner);
}

} // namespace

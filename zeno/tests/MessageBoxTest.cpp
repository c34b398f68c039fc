// showMessageBox against the real message box: a watcher thread waits until the box with the test's
// title shows its text, reads text and owner, and presses a button.

#include "zeno/Exception.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "zeno/Strings.h"
#include "zeno/tests/DebugOutputCapture.h"
#include "zeno/tests/SystemMessage.h"

namespace {

struct BoxSeen {
    bool found = false;
    std::wstring text;
    HWND owner = nullptr;
    int result = 0;
};

// The text of the box's static control (id 0xFFFF), read without a message to the box's thread.
std::wstring boxText(HWND box) {
    wchar_t buffer[4096] = {};
    const HWND text = GetDlgItem(box, 0xFFFF);
    return std::wstring(buffer, text != nullptr ? InternalGetWindowText(text, buffer, 4096) : 0);
}

BOOL CALLBACK closeWindow(HWND window, LPARAM) {
    return PostMessageW(window, WM_CLOSE, 0, 0);
}

// Shows the exception's box on this thread while a watcher reads it and presses the button.
// The box gets its title before its text, and on a fresh Wine prefix both may come late: the watcher
// waits, with a limit, for a visible box whose text is set. Every box text has at least the class line.
BoxSeen showAndRead(const zeno::Exception& e, HWND owner, WPARAM button) {
    static int counter = 0;
    const std::wstring title = L"zeno test " + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(++counter);
    BoxSeen seen;
    const DWORD boxThread = GetCurrentThreadId();
    std::thread watcher([&] {
        for (const ULONGLONG end = GetTickCount64() + 60000; !seen.found && GetTickCount64() < end; Sleep(10)) {
            const HWND box = FindWindowW(L"#32770", title.c_str());
            seen.text = box != nullptr && IsWindowVisible(box) ? boxText(box) : std::wstring();
            if (!seen.text.empty()) {
                seen.found = true;
                seen.owner = GetWindow(box, GW_OWNER);
                PostMessageW(box, WM_COMMAND, button, 0);
            }
        }
        if (!seen.found) { // its thread's windows are closed, so the test fails rather than hangs
            EnumThreadWindows(boxThread, &closeWindow, 0);
        }
    });
    seen.result = e.showMessageBox(owner, title.c_str(), MB_OKCANCEL | MB_ICONERROR);
    watcher.join();
    return seen;
}

std::wstring withoutCrLf(const zeno_test::SystemMessage& message) {
    return message.text.substr(0, message.text.size() - (zeno::endsWith(message.text, zeno::crlf) ? 2 : 0));
}

TEST(ShowMessageBox, ShowsClassMessageSignedCodeAndSystemTextLinesAndReturnsTheButton) {
    ASSERT_FALSE(zeno_test::systemMessage(0xDEADBEEFu).found);
    const HWND window = CreateWindowExW(0, L"STATIC", L"zeno owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    const std::wstring ignored = L"ignored exception thrown by formatMessage() during Exception::showMessageBox()\n";
    const struct {
        HWND owner;
        std::shared_ptr<zeno::Exception> exception;
        std::wstring text;
        std::vector<std::wstring> debugOutput;
    } cases[] = {
        {window, std::make_shared<zeno::FileNotFoundException>(L"C:\\x.h", 2),
         L"class zeno::FileNotFoundException\nC:\\x.h\n\nError code: 2\n" + withoutCrLf(zeno_test::systemMessage(2)), {}},
        {nullptr, std::make_shared<zeno::Exception>(L"::CoCreate() failed", 0x80070005u),
         L"class zeno::Exception\n::CoCreate() failed\n\nError code: -2147024891\n" +
             withoutCrLf(zeno_test::systemMessage(0x80070005u)), {}},
        // A failed lookup is reported on the debugger output only; the box still comes.
        {window, std::make_shared<zeno::IOException>(L"::Boom() failed", 0xDEADBEEFu),
         L"class zeno::IOException\n::Boom() failed\n\nError code: -559038737", {ignored}},
        // Without a code nothing is looked up.
        {window, std::make_shared<zeno::IllegalStateException>(L"not yet"), L"class zeno::IllegalStateException\nnot yet", {}},
        {window, std::make_shared<zeno::Exception>(zeno::nilString, zeno::Exception::NO_ERROR_CODE), L"class zeno::Exception", {}},
    };
    for (const auto& testCase : cases) {
        zeno_test::DebugOutputCapture debugOutput;
        ASSERT_TRUE(debugOutput.isInstalled());
        const BoxSeen box = showAndRead(*testCase.exception, testCase.owner, IDCANCEL);
        // Taken before any check: a failed check writes to the debugger output too.
        const std::vector<std::wstring> written = debugOutput.outputs();
        ASSERT_TRUE(box.found) << "no box for " << testing::PrintToString(testCase.text);
        EXPECT_EQ(testCase.owner, box.owner);
        EXPECT_EQ(IDCANCEL, box.result);
        EXPECT_EQ(testCase.text, box.text);
        EXPECT_EQ(testCase.debugOutput, written);
    }
    DestroyWindow(window);
}

} // namespace

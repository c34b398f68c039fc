// showMessageBox against the real message box: a watcher thread finds the box by its title,
// reads the text of its static control and its owner, and presses a button.

#include "zeno/Exception.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "zeno/Strings.h"
#include "zeno/tests/DebugOutputCapture.h"
#include "zeno/tests/SystemMessage.h"

namespace {

// The static control of a message box that holds the text.
const int MESSAGE_TEXT_ID = 0xFFFF;

std::wstring windowText(HWND window) {
    wchar_t buffer[4096] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000,
                        &copied);
    return std::wstring(buffer, copied);
}

BOOL CALLBACK closeWindow(HWND window, LPARAM) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

struct BoxSeen {
    bool found = false;
    std::wstring text;
    HWND owner = nullptr;
    int result = 0;
};

// Shows the exception's box on this thread while a watcher reads it and presses the button.
// When no visible box with the title comes, the thread's windows are closed: the test fails, not hangs.
BoxSeen showAndRead(const zeno::Exception& e, HWND owner, std::uint32_t flags, WPARAM button) {
    static int counter = 0;
    const std::wstring title =
        L"zeno test " + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(++counter);
    BoxSeen seen;
    const DWORD boxThread = GetCurrentThreadId();
    std::thread watcher([&] {
        HWND box = nullptr;
        for (int attempt = 0; attempt < 1000 && box == nullptr; ++attempt) {
            Sleep(10);
            box = FindWindowW(L"#32770", title.c_str());
            box = box != nullptr && IsWindowVisible(box) ? box : nullptr;
        }
        if (box == nullptr) {
            EnumThreadWindows(boxThread, &closeWindow, 0);
            return;
        }
        seen.found = true;
        seen.owner = GetWindow(box, GW_OWNER);
        seen.text = windowText(GetDlgItem(box, MESSAGE_TEXT_ID));
        PostMessageW(box, WM_COMMAND, button, 0);
    });
    seen.result = e.showMessageBox(owner, title.c_str(), flags);
    watcher.join();
    return seen;
}

std::wstring withoutCrLf(std::wstring text) {
    if (zeno::endsWith(text, zeno::crlf)) {
        text.resize(text.size() - 2);
    }
    return text;
}

// Shows the box owned by the window and checks what it showed, returned and wrote to the debugger output.
void expectBox(HWND owner, const zeno::Exception& e, const std::wstring& text,
               const std::vector<std::wstring>& debugLines = {}) {
    SCOPED_TRACE(testing::PrintToString(text));
    zeno_test::DebugOutputCapture debugOutput;
    ASSERT_TRUE(debugOutput.isInstalled());
    const BoxSeen box = showAndRead(e, owner, MB_OKCANCEL | MB_ICONERROR, IDCANCEL);
    // Taken before any check: a failed check writes to the debugger output too.
    const std::vector<std::wstring> written = debugOutput.outputs();
    ASSERT_TRUE(box.found) << "message box not found";
    EXPECT_EQ(owner, box.owner);
    EXPECT_EQ(IDCANCEL, box.result);
    EXPECT_EQ(text, box.text);
    EXPECT_EQ(debugLines, written);
}

TEST(ShowMessageBox, ShowsClassMessageSignedCodeAndSystemTextLinesAndReturnsTheButton) {
    const zeno_test::SystemMessage fileNotFound = zeno_test::systemMessage(2);
    const zeno_test::SystemMessage accessDenied = zeno_test::systemMessage(0x80070005u);
    ASSERT_TRUE(fileNotFound.found && accessDenied.found);
    ASSERT_FALSE(zeno_test::systemMessage(0xDEADBEEFu).found);
    HWND owner = CreateWindowExW(0, L"STATIC", L"zeno owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, owner);
    expectBox(owner, zeno::FileNotFoundException(L"C:\\x.h", 2),
              L"class zeno::FileNotFoundException\nC:\\x.h\n\nError code: 2\n" +
                  withoutCrLf(fileNotFound.text));
    expectBox(nullptr, zeno::Exception(L"::CoCreate() failed", 0x80070005u),
              L"class zeno::Exception\n::CoCreate() failed\n\nError code: -2147024891\n" +
                  withoutCrLf(accessDenied.text));
    // A failed lookup is reported on the debugger output only; the box still comes.
    expectBox(owner, zeno::IOException(L"::Boom() failed", 0xDEADBEEFu),
              L"class zeno::IOException\n::Boom() failed\n\nError code: -559038737",
              {L"ignored exception thrown by formatMessage() during Exception::showMessageBox()\n"});
    // Without a code nothing is looked up.
    expectBox(owner, zeno::IllegalStateException(L"not yet"), L"class zeno::IllegalStateException\nnot yet");
    expectBox(owner, zeno::Exception(zeno::nilString, zeno::Exception::NO_ERROR_CODE),
              L"class zeno::Exception");
    DestroyWindow(owner);
}

} // namespace

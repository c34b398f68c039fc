#include "zeno/Exception.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "zeno/FormatMessage.h"
#include "zeno/LocalBuffer.h"
#include "zeno/Strings.h"
#include "zeno/tests/DebugOutputCapture.h"
#include "zeno/tests/SystemMessage.h"
#include "zeno/tests/Thrown.h"

// Derived classes outside zeno, like the application's and the toolkit's, named by their own type.
class GlobalTestException : public zeno::Exception {};
namespace outer::inner {
struct NestedTestException : zeno::IOException {
    NestedTestException() : zeno::IOException(L"nested", 5) {}
};
} // namespace outer::inner

namespace {

class LocalTestException : public zeno::Exception {};

std::wstring printed(const zeno::Exception& e) {
    std::wostringstream out;
    e.print(out);
    return out.str();
}

TEST(Exception, NamesTheDynamicClassThenMessageAndCodeSignedInTextUnsignedWithTheSystemTextInPrint) {
    using zeno_test::thrownText;
    const std::wstring invalidHandle = zeno_test::systemMessage(6).text;
    const std::wstring accessDenied = zeno_test::systemMessage(0x80070005u).text;
    const zeno_test::SystemMessage unknown = zeno_test::systemMessage(0xDEADBEEFu);
    ASSERT_TRUE(!invalidHandle.empty() && !accessDenied.empty() && !unknown.found);
    const std::wstring formatFailure = L"class zeno::Exception: ::FormatMessage() failed: " + std::to_wstring(unknown.lastError);
    std::wostringstream untouched;
    std::wstring appended = L"kept";
    int value = 0;
    const std::pair<std::wstring, std::wstring> cases[] = {
        {zeno::Exception().toString(), L"class zeno::Exception"},
        {zeno::Exception(L"::CloseHandle() failed", 6).toString(), L"class zeno::Exception: ::CloseHandle() failed: 6"},
        {zeno::Exception(L"", 0).toString(), L"class zeno::Exception: 0"},
        {zeno::Exception(zeno::nilString, 6).toString(), L"class zeno::Exception: 6"},
        {zeno::Exception(L"m", 0x80000000u).toString(), L"class zeno::Exception: m: -2147483648"},
        {GlobalTestException().toString(), L"class GlobalTestException"},
        {LocalTestException().toString(), L"class (anonymous namespace)::LocalTestException"},
        // The name comes from the run-time type, also through a base reference.
        {thrownText([] { throw outer::inner::NestedTestException(); }), L"class outer::inner::NestedTestException: nested: 5"},
        {thrownText([] { throw zeno::FileNotFoundException(L"a.h", 3); }), L"class zeno::FileNotFoundException: a.h: 3"},
        {printed(zeno::Exception(L"::CloseHandle() failed", 6)), L"class zeno::Exception: ::CloseHandle() failed: 6 (" + invalidHandle + L")\n"},
        {printed(zeno::IOException(zeno::nilString, 0x80070005u)), L"class zeno::IOException: 2147942405 (" + accessDenied + L")\n"},
        {printed(zeno::NumberFormatException(L"12a")), L"class zeno::NumberFormatException: 12a\n"},
        // A failed lookup escapes print before anything is written; formatMessage appends (rows run in order).
        {thrownText([&] { zeno::Exception(L"m", 0xDEADBEEFu).print(untouched); }), formatFailure},
        {untouched.str(), L""},
        {thrownText([&] { zeno::formatMessage(0xDEADBEEFu, appended); }), formatFailure},
        {appended, L"kept"},
        {thrownText([&] { zeno::formatMessage(6, appended); }), L"(nothing thrown)"},
        {appended, L"kept" + invalidHandle},
        {thrownText([] { zeno::checkNotNull(L"layout", nullptr); }), L"class zeno::NullPointerException: layout"},
        {thrownText([&value] { zeno::checkNotNull(L"layout", &value); }), L"(nothing thrown)"},
        {thrownText([] { zeno::checkIndex(L"index", 0, 3, 5); }), L"class zeno::IndexOutOfBoundsException: index: 5 (must be 0<=index<3)"},
        {thrownText([] { zeno::checkIndex(L"index", 0, 3, 3); }), L"class zeno::IndexOutOfBoundsException: index: 3 (must be 0<=index<3)"},
        {thrownText([] { zeno::checkIndex(L"row", -2, 2147483647, -2147483647 - 1); }),
         L"class zeno::IndexOutOfBoundsException: row: -2147483648 (must be -2<=row<2147483647)"},
        {thrownText([] { zeno::checkIndex(L"index", 0, 3, 2); }), L"(nothing thrown)"},
        {thrownText([] { zeno::checkIndex(L"index", -5, -4, -5); }), L"(nothing thrown)"},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(testCase.second, testCase.first);
    }
}

TEST(LocalBuffer, ReleasesOnceAndReportsAFailedRelease) {
    zeno::LocalBuffer buffer(LocalAlloc(LMEM_FIXED, 16));
    buffer.release();
    EXPECT_EQ(nullptr, buffer.get());
    EXPECT_NO_THROW(buffer.release());
    // A pointer that LocalAlloc never returned cannot be freed.
    static char notLocalMemory[64];
    zeno::LocalBuffer foreign(notLocalMemory + 8);
    EXPECT_TRUE(zeno::startsWith(zeno_test::thrownText([&foreign] { foreign.release(); }),
                                 L"class zeno::Exception: ::LocalFree() failed: "));
    EXPECT_EQ(nullptr, foreign.get());
}

// showMessageBox against the real message box: a watcher thread waits until the box with the test's
// title shows its text, reads text and owner, and presses a button.

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

#include "zeno/Exception.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
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

std::wstring withoutCrLf(std::uint32_t code) {
    const std::wstring text = zeno_test::systemMessage(code).text;
    return text.substr(0, text.size() - (zeno::endsWith(text, zeno::crlf) ? 2 : 0));
}

TEST(Exception, NamesTheDynamicClassThenMessageAndCodeSignedInTextUnsignedWithTheSystemTextInPrint) {
    using zeno_test::outcome;
    const auto printed = [](const zeno::Exception& e) { std::wostringstream out; e.print(out); return out.str(); };
    const std::wstring invalidHandle = zeno_test::systemMessage(6).text;
    const std::wstring accessDenied = zeno_test::systemMessage(0x80070005u).text;
    const zeno_test::SystemMessage unknown = zeno_test::systemMessage(0xDEADBEEFu);
    ASSERT_TRUE(!invalidHandle.empty() && !accessDenied.empty() && !unknown.found);
    const std::wstring formatFailure = L"class zeno::Exception: ::FormatMessage() failed: " + std::to_wstring(unknown.lastError);
    zeno_test::DebugOutputCapture debugOutput;
    std::wostringstream untouched;
    std::wstring appended = L"kept";
    const std::pair<std::wstring, std::wstring> cases[] = {
        {zeno::Exception().toString(), L"class zeno::Exception"},
        {zeno::Exception(L"::CloseHandle() failed", 6).toString(), L"class zeno::Exception: ::CloseHandle() failed: 6"},
        {zeno::Exception(L"", 0).toString(), L"class zeno::Exception: 0"},
        {zeno::Exception(zeno::nilString, 6).toString(), L"class zeno::Exception: 6"},
        {zeno::Exception(L"m", 0x80000000u).toString(), L"class zeno::Exception: m: -2147483648"},
        {GlobalTestException().toString(), L"class GlobalTestException"},
        // The name comes from the run-time type, also through a base reference.
        {outcome([] { throw outer::inner::NestedTestException(); }), L"class outer::inner::NestedTestException: nested: 5"},
        {outcome([] { throw zeno::FileNotFoundException(L"a.h", 3); }), L"class zeno::FileNotFoundException: a.h: 3"},
        {printed(zeno::Exception(L"::CloseHandle() failed", 6)), L"class zeno::Exception: ::CloseHandle() failed: 6 (" + invalidHandle + L")\n"},
        {printed(zeno::IOException(zeno::nilString, 0x80070005u)), L"class zeno::IOException: 2147942405 (" + accessDenied + L")\n"},
        {printed(zeno::NumberFormatException(L"12a")), L"class zeno::NumberFormatException: 12a\n"},
        // A failed lookup escapes print before anything is written; formatMessage appends (rows run in order).
        {outcome([&] { zeno::Exception(L"m", 0xDEADBEEFu).print(untouched); }), formatFailure},
        {untouched.str(), L""},
        {outcome([&] { zeno::formatMessage(0xDEADBEEFu, appended); }), formatFailure},
        {appended, L"kept"},
        {outcome([&] { zeno::formatMessage(6, appended); }), L"(nothing thrown)"},
        {appended, L"kept" + invalidHandle},
        // The message box text: lines, the code signed, the system text without its line end.
        {zeno::Exception(L"::CoCreate() failed", 0x80070005u).messageBoxText(),
         L"class zeno::Exception\n::CoCreate() failed\n\nError code: -2147024891\n" + withoutCrLf(0x80070005u)},
        // A failed lookup is reported on the debugger output only; the text goes on without it.
        {zeno::IOException(L"::Boom() failed", 0xDEADBEEFu).messageBoxText(),
         L"class zeno::IOException\n::Boom() failed\n\nError code: -559038737"},
        // Without a code nothing is looked up.
        {zeno::IllegalStateException(L"not yet").messageBoxText(), L"class zeno::IllegalStateException\nnot yet"},
        {zeno::Exception(zeno::nilString, zeno::Exception::NO_ERROR_CODE).messageBoxText(), L"class zeno::Exception"},
        {outcome([] { zeno::checkNotNull(L"layout", nullptr); }), L"class zeno::NullPointerException: layout"},
        {outcome([&appended] { zeno::checkNotNull(L"layout", &appended); }), L"(nothing thrown)"},
        {outcome([] { zeno::checkIndex(L"index", 0, 3, 5); }), L"class zeno::IndexOutOfBoundsException: index: 5 (must be 0<=index<3)"},
        {outcome([] { zeno::checkIndex(L"index", 0, 3, 3); }), L"class zeno::IndexOutOfBoundsException: index: 3 (must be 0<=index<3)"},
        {outcome([] { zeno::checkIndex(L"row", -2, 2147483647, -2147483647 - 1); }),
         L"class zeno::IndexOutOfBoundsException: row: -2147483648 (must be -2<=row<2147483647)"},
        {outcome([] { zeno::checkIndex(L"index", 0, 3, 2); }), L"(nothing thrown)"},
        {outcome([] { zeno::checkIndex(L"index", -5, -4, -5); }), L"(nothing thrown)"},
    };
    // Taken before any check: a failed check writes to the debugger output too.
    const std::vector<std::wstring> written = debugOutput.outputs();
    for (const auto& testCase : cases) {
        EXPECT_EQ(testCase.second, testCase.first);
    }
    EXPECT_EQ(std::vector<std::wstring>{L"ignored exception thrown by formatMessage() during Exception::showMessageBox()\n"},
              written);
}

// A stream buffer that notes what is asked of it in a shared log; it takes at most `room`
// characters per write and answers a flush with `syncResult`.
struct NotingBuffer : std::wstreambuf {
    NotingBuffer(std::vector<std::string>& log, std::string name, std::streamsize room, int syncResult)
        : log(log), name(std::move(name)), room(room), syncResult(syncResult) {}
    std::streamsize xsputn(const wchar_t*, std::streamsize count) override {
        log.push_back(name + " write");
        return std::min(count, room);
    }
    int sync() override {
        log.push_back(name + " sync");
        return syncResult;
    }
    std::vector<std::string>& log;
    std::string name;
    std::streamsize room;
    int syncResult;
};

// print keeps the guarantees of the stream's own output: a stream that is not good gets nothing,
// a tied stream is flushed first, a short write or a failed flush sets badbit.
TEST(Exception, PrintTellsTheStreamHowTheWriteWent) {
    using State = std::ios_base::iostate;
    const State good = std::ios_base::goodbit, fail = std::ios_base::failbit, bad = std::ios_base::badbit;
    const struct { const char* name; State before; bool tied; std::streamsize room; int syncResult;
                   std::vector<std::string> log; State after; } cases[] = {
        {"written, then flushed", good, false, 1000, 0, {"out write", "out sync"}, good},
        {"the tied stream first", good, true, 1000, 0, {"tied sync", "out write", "out sync"}, good},
        {"a failed stream", fail, true, 1000, 0, {}, fail},
        {"a short write", good, false, 10, 0, {"out write"}, bad},
        {"a failed flush", good, true, 1000, -1, {"tied sync", "out write", "out sync"}, bad},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> log;
        NotingBuffer outBuffer(log, "out", c.room, c.syncResult), tiedBuffer(log, "tied", 1000, 0);
        std::wostream out(&outBuffer), tied(&tiedBuffer);
        out.setstate(c.before);
        out.tie(c.tied ? &tied : nullptr);
        zeno::Exception(L"::WriteFile() failed", zeno::Exception::NO_ERROR_CODE).print(out);
        EXPECT_EQ(c.log, log);
        EXPECT_EQ(c.after, out.rdstate());
        EXPECT_TRUE(tied.good());
    }
    std::wofstream neverOpened;
    zeno::NumberFormatException(L"12a").print(neverOpened);
    EXPECT_TRUE(neverOpened.bad());
}

TEST(LocalBuffer, ReleasesOnceAndReportsAFailedRelease) {
    zeno::LocalBuffer buffer(LocalAlloc(LMEM_FIXED, 16));
    buffer.release();
    EXPECT_EQ(nullptr, buffer.get());
    EXPECT_NO_THROW(buffer.release());
    // A pointer that LocalAlloc never returned cannot be freed.
    static char notLocalMemory[64];
    zeno::LocalBuffer foreign(notLocalMemory + 8);
    EXPECT_TRUE(zeno::startsWith(zeno_test::outcome([&foreign] { foreign.release(); }),
                                 L"class zeno::Exception: ::LocalFree() failed: "));
    EXPECT_EQ(nullptr, foreign.get());
}

// The real box: a hook of this thread reads the box once its dialog is set up
// (text, title, owner) and presses Cancel, so nothing waits on another thread.
std::wstring seen = L"(no box)"; // title|text
HWND seenOwner = nullptr;

LRESULT CALLBACK onDialogReady(int code, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT& call = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call.message == WM_INITDIALOG) {
        wchar_t text[4096] = {}, title[256] = {};
        GetDlgItemTextW(call.hwnd, 0xFFFF, text, 4096);
        GetWindowTextW(call.hwnd, title, 256);
        seen = std::wstring(title) + L"|" + text;
        seenOwner = GetWindow(call.hwnd, GW_OWNER);
        PostMessageW(call.hwnd, WM_COMMAND, IDCANCEL, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(ShowMessageBox, ShowsTheTextUnderTheTitleAndOwnerAndReturnsTheButton) {
    const HWND window = CreateWindowExW(0, L"STATIC", L"zeno owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, &onDialogReady, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(window != nullptr && hook != nullptr);
    EXPECT_EQ(IDCANCEL, zeno::FileNotFoundException(L"C:\\x.h", 2).showMessageBox(window, L"zeno test", MB_OKCANCEL));
    UnhookWindowsHookEx(hook);
    DestroyWindow(window);
    EXPECT_EQ(L"zeno test|class zeno::FileNotFoundException\nC:\\x.h\n\nError code: 2\n" + withoutCrLf(2), seen);
    EXPECT_EQ(window, seenOwner);
}

} // namespace

// The real main frame over small handwritten headers, driven with keyboard input through the
// system's input queue; every check reads what the native windows show.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "KelvaneVersion.h"
#include "app/ErrorCodePane.h"
#include "app/Kelvane.h"
#include "awt/Toolkit.h"
#include "zeno/tests/SystemMessage.h"

namespace {

using Names = std::vector<std::wstring>;
const Names allNt = {L"STATUS_SUCCESS", L"STATUS_PENDING", L"STATUS_UNSUCCESSFUL", L"STATUS_ACCESS_VIOLATION",
                     L"STATUS_INVALID_LOCK_SEQUENCE", L"STATUS_INVALID_VIEW_SIZE", L"STATUS_ACCESS_DENIED",
                     L"STATUS_OBJECT_NAME_NOT_FOUND", L"STATUS_KELVANE_UNMAPPED"};
const Names allWin32 = {L"ERROR_SUCCESS", L"ERROR_INVALID_FUNCTION", L"ERROR_FILE_NOT_FOUND", L"ERROR_ACCESS_DENIED",
                        L"ERROR_KELVANE_HANDLE", L"ERROR_IO_PENDING", L"ERROR_NOACCESS"};
const std::uint32_t NONE = ErrorCodePane::NO_CODE;

Names rowsOf(ErrorCodePane* pane) {
    HWND list = pane->getList()->getHWND();
    Names rows;
    for (wchar_t text[256] = {}; static_cast<LRESULT>(rows.size()) < SendMessageW(list, LB_GETCOUNT, 0, 0);) {
        SendMessageW(list, LB_GETTEXT, rows.size(), reinterpret_cast<LPARAM>(text));
        rows.push_back(text);
    }
    return rows;
}

// What one pane should show: the code, the name, decimal and hexadecimal fields (a pane without
// a code shows empty fields and message), the list's rows and its selected row (-1: none).
struct State { std::uint32_t code; const wchar_t *name, *decimal, *hex; Names rows; int selected; };

// What the native windows of a pane show, checked against the expected state and the system's
// message text for its code.
void expectPane(ErrorCodePane* pane, const State& expected, HMODULE messages) {
    const auto text = [](awt::Component* field) { return test::windowText(field->getHWND()); };
    EXPECT_EQ(expected.code, pane->getCurrentCode());
    EXPECT_EQ(expected.name, text(pane->getNameField()));
    EXPECT_EQ(expected.decimal, text(pane->getDecimalField()));
    EXPECT_EQ(expected.hex, text(pane->getHexField()));
    EXPECT_EQ(*expected.hex == L'\0' ? L"" : zeno_test::systemMessage(expected.code, messages).text,
              text(pane->getMessageArea()));
    EXPECT_EQ(expected.rows, rowsOf(pane));
    EXPECT_EQ(expected.selected, SendMessageW(pane->getList()->getHWND(), LB_GETCURSEL, 0, 0));
}

// The frame built and shown as Kelvane::run does after loading, in front, with this thread
// running its loop whenever input is sent.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        frame->load();
        frame->buildUI();
        frame->setVisible(true);
        SetForegroundWindow(frame->getHWND());
        ASSERT_TRUE(test::waitUntil([&] { return GetForegroundWindow() == frame->getHWND(); }));
        nt = frame->getNtStatusPane();
        win32 = frame->getWin32Pane();
    }
    void TearDown() override {
        frame.reset();
        test::pumpMessages();
    }

    // Input through the system's queue, handled by the program's own loop: the loop's end comes
    // with a timer, and a timer only comes when no input waits.
    static void press(WORD key, std::initializer_list<WORD> held = {}) { test::press(key, held); test::runFor(20); }
    static void type(const std::wstring& text) { test::typeText(text); test::runFor(20); }

    TempFolder folder{L"kelvane-main"};
    const std::wstring configPath = folder.writeFile(
        L"kelvane.cfg", testheaders::configuration(folder.writeFile(L"ntstatus.h", testheaders::ntStatusHeader),
                                                   folder.writeFile(L"winerror.h", testheaders::win32Header)));
    std::unique_ptr<Kelvane> frame = std::make_unique<Kelvane>(configPath);
    ErrorCodePane *nt = nullptr, *win32 = nullptr;
};

}  // namespace

TEST_F(MainWindowTest, TypedPastedAndListKeysShowTheFourFormsTheListsAndTheCounterpart) {
    const Names access = {L"STATUS_ACCESS_VIOLATION", L"STATUS_ACCESS_DENIED"};
    const Names toDenied = {L"STATUS_INVALID_LOCK_SEQUENCE", L"STATUS_INVALID_VIEW_SIZE", L"STATUS_ACCESS_DENIED"};
    const Names none, violationOnly = {L"STATUS_ACCESS_VIOLATION"};
    const State ntSuccessAll = {0, L"STATUS_SUCCESS", L"0", L"0x0", allNt, 0};
    const State violationAll = {0xC0000005, L"STATUS_ACCESS_VIOLATION", L"3221225477", L"0xc0000005", allNt, 3};
    const State violationAccess = {0xC0000005, L"STATUS_ACCESS_VIOLATION", L"3221225477", L"0xc0000005", access, 0};
    const State ntDeniedAll = {0xC0000022, L"STATUS_ACCESS_DENIED", L"3221225506", L"0xc0000022", allNt, 6};
    const State ntDeniedAccess = {0xC0000022, L"STATUS_ACCESS_DENIED", L"3221225506", L"0xc0000022", access, 1};
    const State unmappedAll = {0xC0FE0001, L"STATUS_KELVANE_UNMAPPED", L"3237871617", L"0xc0fe0001", allNt, 8};
    const State lockSequence = {0xC000001E, L"STATUS_INVALID_LOCK_SEQUENCE", L"3221225502", L"0xc000001e", toDenied, 0};
    const State viewSize = {0xC000001F, L"STATUS_INVALID_VIEW_SIZE", L"3221225503", L"0xc000001f", toDenied, 1};
    const State ntCleared = {NONE, L"", L"", L"", allNt, -1};
    const State win32SuccessAll = {0, L"ERROR_SUCCESS", L"0", L"0x0", allWin32, 0};
    const State noAccessAll = {998, L"ERROR_NOACCESS", L"998", L"0x3e6", allWin32, 6};
    const State deniedAll = {5, L"ERROR_ACCESS_DENIED", L"5", L"0x5", allWin32, 3};
    const State ioPendingAll = {997, L"ERROR_IO_PENDING", L"997", L"0x3e5", allWin32, 5};
    const State invalidFunctionAll = {1, L"ERROR_INVALID_FUNCTION", L"1", L"0x1", allWin32, 1};
    const bool TYPE = false, PASTE = true;
    // Each row: a key (0: none) and the text typed (or pasted over the field's text), then what
    // both panes and the status bar (string id; 0: the version) show.
    const struct {
        WORD key;
        bool pasted;
        const wchar_t* text;
        State left, right;
        UINT status;
    } rows[] = {
        {0, TYPE, L"", ntSuccessAll, win32SuccessAll, 0},
        // A part that every name contains keeps the rows, without a selection.
        {VK_F1, TYPE, L"status_", {0, L"status_", L"0", L"0x0", allNt, -1}, win32SuccessAll, 0},
        // A part of a name filters the list and leaves the code; the user's text stays.
        {VK_F1, TYPE, L"status_access_v", {0, L"status_access_v", L"0", L"0x0", violationOnly, -1}, win32SuccessAll, 0},
        {0, TYPE, L"iolation", {0xC0000005, L"STATUS_ACCESS_VIOLATION", L"3221225477", L"0xc0000005", violationOnly, 0},
         noAccessAll, 2},
        {VK_F3, TYPE, L"c0000022", ntDeniedAll, deniedAll, 2},
        // Text that is no number changes nothing and stays in the field.
        {0, TYPE, L"g", {0xC0000022, L"STATUS_ACCESS_DENIED", L"3221225506", L"0xc0000022g", allNt, 6}, deniedAll, 2},
        {VK_F3, PASTE, L"0x", {0xC0000022, L"STATUS_ACCESS_DENIED", L"3221225506", L"0x", allNt, 6}, deniedAll, 2},
        {VK_F3, PASTE, L"0X1", {0xC0000022, L"STATUS_ACCESS_DENIED", L"3221225506", L"0X1", allNt, 6}, deniedAll, 2},
        {VK_F2, PASTE, L"-1", {0xC0000022, L"STATUS_ACCESS_DENIED", L"-1", L"0X1", allNt, 6}, deniedAll, 2},
        {VK_F2, PASTE, L"1 ", {0xC0000022, L"STATUS_ACCESS_DENIED", L"1 ", L"0X1", allNt, 6}, deniedAll, 2},
        {VK_F2, PASTE, L"", {0xC0000022, L"STATUS_ACCESS_DENIED", L"", L"0X1", allNt, 6}, deniedAll, 2},
        {VK_F2, TYPE, L"3221225477", violationAll, noAccessAll, 2},
        {VK_F2, PASTE, L"4294967296", ntSuccessAll, win32SuccessAll, 2},
        // The prefix typed key by key: the "0" becomes "0x0" at once, and the "x" after it starts
        // the user's own prefix.
        {VK_F3, TYPE, L"0xC0000005", violationAll, noAccessAll, 2},
        // Of nine hexadecimal digits the last eight count.
        {VK_F3, PASTE, L"1c0000022", ntDeniedAll, deniedAll, 2},
        // Mapped to a code that winerror.h does not define: shown by number, without a name.
        {VK_F3, TYPE, L"c0000001", {0xC0000001, L"STATUS_UNSUCCESSFUL", L"3221225473", L"0xc0000001", allNt, 2},
         {31, L"", L"31", L"0x1f", allWin32, -1}, 2},
        {VK_F3, TYPE, L"c0fe0001", unmappedAll, {NONE, L"", L"", L"", allWin32, -1}, 3},
        // The cleared pane's "no code" shown again notifies nobody.
        {VK_F7, PASTE, L"0xffffffff", unmappedAll, {NONE, L"", L"4294967295", L"0xffffffff", allWin32, -1}, 3},
        // Several NTSTATUS values: the left list offers exactly those, the first shown. Another one
        // picked in the list maps back alone; the same code again notifies nobody.
        {VK_F6, TYPE, L"5", lockSequence, deniedAll, 5},
        {VK_F4, TYPE, L"", lockSequence, deniedAll, 5},
        {VK_TAB, TYPE, L"", lockSequence, deniedAll, 5},
        {VK_DOWN, TYPE, L"", viewSize, deniedAll, 2},
        {VK_F6, TYPE, L"5", viewSize, deniedAll, 2},
        // Clearing a pane refills a list of candidates with every entry.
        {VK_F6, TYPE, L"1", ntCleared, invalidFunctionAll, 6},
        // Exactly one: the left pane shows it.
        {VK_F6, TYPE, L"997", {0x103, L"STATUS_PENDING", L"259", L"0x103", allNt, 1}, ioPendingAll, 4},
        // Up and Down walk the rows of a filter, from the first; with no row they change nothing.
        {VK_F1, TYPE, L"access", {0x103, L"access", L"259", L"0x103", access, -1}, ioPendingAll, 4},
        {VK_DOWN, TYPE, L"", violationAccess, noAccessAll, 2},
        {VK_DOWN, TYPE, L"", ntDeniedAccess, deniedAll, 2},
        {VK_DOWN, TYPE, L"", ntDeniedAccess, deniedAll, 2},
        {VK_UP, TYPE, L"", violationAccess, noAccessAll, 2},
        {VK_F1, TYPE, L"zzz", {0xC0000005, L"zzz", L"3221225477", L"0xc0000005", none, -1}, noAccessAll, 2},
        {VK_DOWN, TYPE, L"", {0xC0000005, L"zzz", L"3221225477", L"0xc0000005", none, -1}, noAccessAll, 2},
        {VK_F1, PASTE, L"", {0xC0000005, L"", L"3221225477", L"0xc0000005", allNt, -1}, noAccessAll, 2},
        {VK_F1, TYPE, L"access", {0xC0000005, L"access", L"3221225477", L"0xc0000005", access, -1}, noAccessAll, 2},
        {VK_UP, TYPE, L"", violationAccess, noAccessAll, 2},
        // Clearing a pane refills a list of filtered names with every entry.
        {VK_F6, TYPE, L"1", ntCleared, invalidFunctionAll, 6},
        // Leading zeros disappear.
        {VK_F6, TYPE, L"007", ntCleared, {7, L"", L"7", L"0x7", allWin32, -1}, 6},
        {VK_F5, TYPE, L"error_file_not_found",
         {0xC0000034, L"STATUS_OBJECT_NAME_NOT_FOUND", L"3221225524", L"0xc0000034", allNt, 7},
         {2, L"ERROR_FILE_NOT_FOUND", L"2", L"0x2", {L"ERROR_FILE_NOT_FOUND"}, 0}, 4},
        // The first of two names for one value: its row reads the second.
        {VK_F5, TYPE, L"error_invalid_handle", ntCleared, {6, L"ERROR_INVALID_HANDLE", L"6", L"0x6", allWin32, 4}, 6},
        {VK_ESCAPE, TYPE, L"", ntSuccessAll, win32SuccessAll, 1},
    };
    EXPECT_EQ(L"Kelvane - " + configPath, test::windowText(frame->getHWND()));
    EXPECT_NE(nullptr, test::descendantWithText(frame->getHWND(), L"NTSTATUS   (total 9 entries)"));
    EXPECT_NE(nullptr, test::descendantWithText(frame->getHWND(), L"Win32 Error Code   (total 7 entries)"));
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << &row - rows << ": " << testing::PrintToString(row.text));
        if (row.key != 0) {
            press(row.key);
        }
        if (row.pasted) {
            SendMessageW(GetFocus(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(row.text));
        } else {
            type(row.text);
        }
        expectPane(nt, row.left, GetModuleHandleW(L"ntdll.dll"));
        expectPane(win32, row.right, nullptr);
        EXPECT_EQ(row.status == 0 ? L"Kelvane version " KELVANE_VERSION : awt::Toolkit::loadString(row.status),
                  test::windowText(frame->getStatusBar()->getHWND()));
    }
}

TEST_F(MainWindowTest, FunctionKeysMoveTheFocusEscResetsCtrlCCopiesTheWholeFieldAndTitlesShowThePaths) {
    // F1 to F3 and F5 to F7 select what the table above types over; a field reached by key has all
    // its text selected.
    const struct { WORD key; std::initializer_list<WORD> held; awt::Component* target; } bindings[] = {
        {VK_F4, {}, nt->getMessageArea()},   {VK_F8, {}, win32->getMessageArea()}, {VK_F7, {}, win32->getHexField()},
        {VK_F1, {VK_SHIFT}, win32->getHexField()}, {VK_F9, {}, nt->getHexField()}, {VK_F9, {}, win32->getHexField()},
        {VK_F5, {}, win32->getNameField()},  {VK_F9, {}, nt->getNameField()},
    };
    for (const auto& binding : bindings) {
        SCOPED_TRACE("binding " + std::to_string(&binding - bindings));
        press(binding.key, binding.held);
        HWND field = binding.target->getHWND();
        EXPECT_EQ(field, GetFocus());
        const bool messageArea = binding.key == VK_F4 || binding.key == VK_F8;
        EXPECT_TRUE(messageArea || SendMessageW(field, EM_GETSEL, 0, 0) == MAKELONG(0, GetWindowTextLengthW(field)));
    }

    // Page Down and Page Up in a field move the list's selection.
    press(VK_F1);
    press(VK_NEXT);
    const LRESULT paged = SendMessageW(nt->getList()->getHWND(), LB_GETCURSEL, 0, 0);
    ASSERT_GT(paged, 0);
    EXPECT_EQ(rowsOf(nt)[static_cast<std::size_t>(paged)], test::windowText(nt->getNameField()->getHWND()));
    press(VK_PRIOR);
    EXPECT_EQ(0u, nt->getCurrentCode());

    // Esc stays with the window: the focused field keeps the focus and never sees the key.
    std::vector<std::wstring> journal;
    test::Recorder recorder(&journal, L"hex");
    nt->getHexField()->addKeyListener(&recorder);
    press(VK_F3);
    press(VK_ESCAPE);
    HWND hexField = nt->getHexField()->getHWND();
    EXPECT_EQ(hexField, GetFocus());
    EXPECT_EQ(0, std::count(journal.begin(), journal.end(), L"hex:keyPressed"));
    press(VK_HOME);
    nt->getHexField()->removeKeyListener(&recorder);
    EXPECT_EQ(1, std::count(journal.begin(), journal.end(), L"hex:keyPressed")) << "an unbound key reaches the field";

    // With the caret inside the text and nothing selected, Ctrl+C copies the whole text;
    // Ctrl+Shift+C selects nothing.
    press(VK_F3);
    type(L"c0000005");
    SendMessageW(hexField, EM_SETSEL, 3, 3);
    press('C', {VK_CONTROL, VK_SHIFT});
    EXPECT_EQ(MAKELONG(3, 3), SendMessageW(hexField, EM_GETSEL, 0, 0));
    ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard() && CloseClipboard());
    press('C', {VK_CONTROL});
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE copied = GetClipboardData(CF_UNICODETEXT);
    EXPECT_EQ(L"0xc0000005", std::wstring(copied != nullptr ? static_cast<const wchar_t*>(GlobalLock(copied)) : L""));
    GlobalUnlock(copied);
    CloseClipboard();

    // Resting the mouse on a pane's title shows the path of its header.
    HWND title = test::descendantWithText(frame->getHWND(), L"NTSTATUS   (total 9 entries)");
    ASSERT_NE(nullptr, title);
    RECT area;
    GetWindowRect(title, &area);
    // Into the label from outside, then rest there.
    SetCursorPos(area.left + 10, area.bottom + 40);
    test::runFor(100);
    for (int x : {area.left + 20, area.left + 23}) {
        SetCursorPos(x, (area.top + area.bottom) / 2);
        test::runFor(20);
    }
    HWND tip = nullptr;
    EXPECT_TRUE(test::waitUntil([&] { return (tip = test::findWindow(L"", L"tooltips_class32", GetCurrentProcessId(),
                                                                      true)) != nullptr; })) << "no tool tip came up";
    EXPECT_EQ(folder.file(L"ntstatus.h"), test::windowText(tip));
}

// The real main frame over small handwritten headers, driven with keyboard input through the
// system's input queue; every check reads what the native windows show.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "FrameProbe.h"
#include "TempFolder.h"
#include "TestHeaders.h"
#include "app/ErrorCodePane.h"
#include "app/Kelvane.h"
#include "awt/Toolkit.h"

extern "C" ULONG WINAPI RtlNtStatusToDosError(LONG status);

namespace {

using Names = std::vector<std::wstring>;
const Names allNtStatusNames = {
    L"STATUS_SUCCESS",          L"STATUS_PENDING",               L"STATUS_UNSUCCESSFUL",
    L"STATUS_ACCESS_VIOLATION", L"STATUS_INVALID_LOCK_SEQUENCE", L"STATUS_INVALID_VIEW_SIZE",
    L"STATUS_ACCESS_DENIED",    L"STATUS_OBJECT_NAME_NOT_FOUND", L"STATUS_KELVANE_UNMAPPED"};
const Names allWin32Names = {L"ERROR_SUCCESS",       L"ERROR_INVALID_FUNCTION", L"ERROR_FILE_NOT_FOUND",
                             L"ERROR_ACCESS_DENIED", L"ERROR_KELVANE_HANDLE",   L"ERROR_IO_PENDING",
                             L"ERROR_NOACCESS"};
const std::uint32_t NONE = ErrorCodePane::NO_CODE;

// What one pane should show; a pane without a code shows empty fields.
struct Shown {
    std::uint32_t code;
    const wchar_t* name;
    const wchar_t* decimal;
    const wchar_t* hex;
};

void expectPane(const PaneView& view, const Shown& expected, const std::wstring& message, const Names& rows) {
    EXPECT_EQ(expected.code, view.currentCode);
    EXPECT_EQ(expected.name, view.name);
    EXPECT_EQ(expected.decimal, view.decimal);
    EXPECT_EQ(expected.hex, view.hex);
    EXPECT_EQ(*expected.hex == L'\0' ? L"" : message, view.message);
    EXPECT_EQ(rows, view.rows);
}

// The frame built and shown as Kelvane::run does after loading, in front, with this thread
// running its loop whenever input is sent.
class MainWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<TempFolder>(L"kelvane-main");
        configPath = testheaders::writeAll(*folder);
    }
    static void TearDownTestSuite() { folder.reset(); }

    void SetUp() override {
        frame = std::make_unique<Kelvane>(configPath);
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
    static void press(WORD key, std::initializer_list<WORD> modifiers = {}) {
        test::press(key, modifiers);
        test::runFor(20);
    }
    static void type(const std::wstring& text) {
        test::typeText(text);
        test::runFor(20);
    }
    std::wstring status() const { return statusTextOf(frame.get()); }

    static std::unique_ptr<TempFolder> folder;
    static std::wstring configPath;
    std::unique_ptr<Kelvane> frame;
    ErrorCodePane* nt = nullptr;
    ErrorCodePane* win32 = nullptr;
};

std::unique_ptr<TempFolder> MainWindowTest::folder;
std::wstring MainWindowTest::configPath;

}  // namespace

TEST_F(MainWindowTest, TypedAndPastedTextShowsTheFourFormsTheListsAndTheCounterpart) {
    // The mappings the rows rely on, as this platform gives them.
    const struct {
        std::uint32_t ntStatus, win32;
    } platform[] = {{0xC0000005, 998}, {0xC0000001, 31}, {0xC000001E, 5}, {0xC000001F, 5}, {0xC0000022, 5},
                    {0x103, 997},      {0xC0000034, 2},  {0xC0FE0001, 317}};
    for (const auto& mapping : platform) {
        ASSERT_EQ(mapping.win32, RtlNtStatusToDosError(static_cast<LONG>(mapping.ntStatus))) << mapping.ntStatus;
    }
    const Names violationOnly = {L"STATUS_ACCESS_VIOLATION"};
    const Names accessNames = {L"STATUS_ACCESS_VIOLATION", L"STATUS_ACCESS_DENIED"};
    const Names accessDenied = {L"STATUS_INVALID_LOCK_SEQUENCE", L"STATUS_INVALID_VIEW_SIZE", L"STATUS_ACCESS_DENIED"};
    const Names fileNotFound = {L"ERROR_FILE_NOT_FOUND"};
    const Shown ntSuccess = {0, L"STATUS_SUCCESS", L"0", L"0x0"};
    const Shown violation = {0xC0000005, L"STATUS_ACCESS_VIOLATION", L"3221225477", L"0xc0000005"};
    const Shown ntDenied = {0xC0000022, L"STATUS_ACCESS_DENIED", L"3221225506", L"0xc0000022"};
    const Shown unmapped = {0xC0FE0001, L"STATUS_KELVANE_UNMAPPED", L"3237871617", L"0xc0fe0001"};
    const Shown noAccess = {998, L"ERROR_NOACCESS", L"998", L"0x3e6"};
    const Shown win32Success = {0, L"ERROR_SUCCESS", L"0", L"0x0"};
    const Shown denied = {5, L"ERROR_ACCESS_DENIED", L"5", L"0x5"};
    const Shown invalidFunction = {1, L"ERROR_INVALID_FUNCTION", L"1", L"0x1"};
    const Shown cleared = {NONE, L"", L"", L""};
    const bool TYPE = false, PASTE = true;
    // Each row: a function key (0: none) and the text typed (or pasted over the field's text), then
    // what each pane (fields, list rows, selected row) and the status bar (string id; 0: the
    // version) show.
    const struct {
        WORD key;
        bool pasted;
        const wchar_t* text;
        Shown left;
        const Names& leftRows;
        int leftSelected;
        Shown right;
        const Names& rightRows;
        int rightSelected;
        UINT status;
    } rows[] = {
        {0, TYPE, L"", ntSuccess, allNtStatusNames, 0, win32Success, allWin32Names, 0, 0},
        // A part of a name filters the list and leaves the code; the user's text stays.
        {VK_F1, TYPE, L"status_access_v", {0, L"status_access_v", L"0", L"0x0"}, violationOnly, -1, win32Success,
         allWin32Names, 0, 0},
        {0, TYPE, L"iolation", violation, violationOnly, 0, noAccess, allWin32Names, 6, 2},
        {VK_F3, TYPE, L"c0000022", ntDenied, allNtStatusNames, 6, denied, allWin32Names, 3, 2},
        // Text that is no number changes nothing and stays in the field.
        {0, TYPE, L"g", {0xC0000022, L"STATUS_ACCESS_DENIED", L"3221225506", L"0xc0000022g"}, allNtStatusNames, 6, denied,
         allWin32Names, 3, 2},
        {VK_F3, PASTE, L"0x", {0xC0000022, L"STATUS_ACCESS_DENIED", L"3221225506", L"0x"}, allNtStatusNames, 6, denied,
         allWin32Names, 3, 2},
        {VK_F3, PASTE, L"0X1", {0xC0000022, L"STATUS_ACCESS_DENIED", L"3221225506", L"0X1"}, allNtStatusNames, 6, denied,
         allWin32Names, 3, 2},
        {VK_F2, PASTE, L"-1", {0xC0000022, L"STATUS_ACCESS_DENIED", L"-1", L"0X1"}, allNtStatusNames, 6, denied,
         allWin32Names, 3, 2},
        {VK_F2, PASTE, L"1 ", {0xC0000022, L"STATUS_ACCESS_DENIED", L"1 ", L"0X1"}, allNtStatusNames, 6, denied,
         allWin32Names, 3, 2},
        {VK_F2, PASTE, L"", {0xC0000022, L"STATUS_ACCESS_DENIED", L"", L"0X1"}, allNtStatusNames, 6, denied,
         allWin32Names, 3, 2},
        {VK_F2, TYPE, L"3221225477", violation, allNtStatusNames, 3, noAccess, allWin32Names, 6, 2},
        {VK_F2, PASTE, L"4294967296", ntSuccess, allNtStatusNames, 0, win32Success, allWin32Names, 0, 2},
        // Of nine hexadecimal digits the last eight count.
        {VK_F3, PASTE, L"1c0000005", violation, allNtStatusNames, 3, noAccess, allWin32Names, 6, 2},
        // Mapped to a code that winerror.h does not define: shown by number, without a name.
        {VK_F3, TYPE, L"c0000001", {0xC0000001, L"STATUS_UNSUCCESSFUL", L"3221225473", L"0xc0000001"}, allNtStatusNames, 2,
         {31, L"", L"31", L"0x1f"}, allWin32Names, -1, 2},
        {VK_F3, TYPE, L"c0fe0001", unmapped, allNtStatusNames, 8, cleared, allWin32Names, -1, 3},
        // The cleared pane's "no code" shown again notifies nobody.
        {VK_F7, PASTE, L"0xffffffff", unmapped, allNtStatusNames, 8, {NONE, L"", L"4294967295", L"0xffffffff"},
         allWin32Names, -1, 3},
        // Several NTSTATUS values: the left list offers exactly those, the first shown.
        {VK_F6, TYPE, L"5", {0xC000001E, L"STATUS_INVALID_LOCK_SEQUENCE", L"3221225502", L"0xc000001e"}, accessDenied, 0,
         denied, allWin32Names, 3, 5},
        // Clearing a pane refills a list of candidates or of filtered names with every entry.
        {VK_F6, TYPE, L"1", cleared, allNtStatusNames, -1, invalidFunction, allWin32Names, 1, 6},
        // Exactly one: the left pane shows it.
        {VK_F6, TYPE, L"997", {0x103, L"STATUS_PENDING", L"259", L"0x103"}, allNtStatusNames, 1,
         {997, L"ERROR_IO_PENDING", L"997", L"0x3e5"}, allWin32Names, 5, 4},
        {VK_F1, TYPE, L"access", {0x103, L"access", L"259", L"0x103"}, accessNames, -1,
         {997, L"ERROR_IO_PENDING", L"997", L"0x3e5"}, allWin32Names, 5, 4},
        {VK_F6, TYPE, L"1", cleared, allNtStatusNames, -1, invalidFunction, allWin32Names, 1, 6},
        // Leading zeros disappear.
        {VK_F6, TYPE, L"007", cleared, allNtStatusNames, -1, {7, L"", L"7", L"0x7"}, allWin32Names, -1, 6},
        {VK_F5, TYPE, L"error_file_not_found", {0xC0000034, L"STATUS_OBJECT_NAME_NOT_FOUND", L"3221225524", L"0xc0000034"},
         allNtStatusNames, 7, {2, L"ERROR_FILE_NOT_FOUND", L"2", L"0x2"}, fileNotFound, 0, 4},
        // The first of two names for one value: its row reads the second.
        {VK_F5, TYPE, L"error_invalid_handle", cleared, allNtStatusNames, -1, {6, L"ERROR_INVALID_HANDLE", L"6", L"0x6"},
         allWin32Names, 4, 6},
    };
    EXPECT_EQ(L"Kelvane - " + configPath, test::windowText(frame->getHWND()));
    EXPECT_NE(nullptr, test::descendantWithText(frame->getHWND(), L"NTSTATUS   (total 9 entries)"));
    EXPECT_NE(nullptr, test::descendantWithText(frame->getHWND(), L"Win32 Error Code   (total 7 entries)"));
    for (const auto& row : rows) {
        SCOPED_TRACE("row " + std::to_string(&row - rows) + " \"" + std::string(row.text, row.text + wcslen(row.text)) +
                     "\"");
        if (row.key != 0) {
            press(row.key);
        }
        if (row.pasted) {
            SendMessageW(GetFocus(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(row.text));
        } else {
            type(row.text);
        }
        const PaneView left = viewOf(nt);
        expectPane(left, row.left, systemNtStatusText(row.left.code), row.leftRows);
        EXPECT_EQ(row.leftSelected, left.selectedRow);
        const PaneView right = viewOf(win32);
        expectPane(right, row.right, systemWin32Text(row.right.code), row.rightRows);
        EXPECT_EQ(row.rightSelected, right.selectedRow);
        EXPECT_EQ(row.status == 0 ? L"Kelvane version 0.1.2" : awt::Toolkit::loadString(row.status), status());
    }
}

TEST_F(MainWindowTest, ListKeysWalkTheRowsAndAPickedCandidateMapsBackAlone) {
    press(VK_F1);
    press(VK_NEXT);
    PaneView left = viewOf(nt);
    ASSERT_GT(left.selectedRow, 0) << "Page Down moves the selection";
    EXPECT_EQ(left.rows[static_cast<std::size_t>(left.selectedRow)], left.name);
    press(VK_PRIOR);
    EXPECT_EQ(0u, nt->getCurrentCode());

    // After a filter no row is selected: both keys take the first; with no row they change nothing.
    const struct {
        WORD key;
        const wchar_t* typed;
        std::uint32_t code;
        int row;
    } walk[] = {{VK_F1, L"access", 0, -1},       {VK_DOWN, L"", 0xC0000005, 0}, {VK_DOWN, L"", 0xC0000022, 1},
                {VK_DOWN, L"", 0xC0000022, 1},   {VK_UP, L"", 0xC0000005, 0},   {VK_F1, L"access", 0xC0000005, -1},
                {VK_UP, L"", 0xC0000005, 0},     {VK_F1, L"zzz", 0xC0000005, -1}, {VK_DOWN, L"", 0xC0000005, -1},
                {VK_UP, L"", 0xC0000005, -1}};
    for (const auto& move : walk) {
        SCOPED_TRACE("step " + std::to_string(&move - walk));
        press(move.key);
        type(move.typed);
        EXPECT_EQ(move.code, nt->getCurrentCode());
        EXPECT_EQ(move.row, viewOf(nt).selectedRow);
    }
    EXPECT_TRUE(viewOf(nt).rows.empty());
    // An emptied name field lists every name, none selected.
    press(VK_F1);
    press(VK_BACK);
    EXPECT_EQ(allNtStatusNames, viewOf(nt).rows);
    EXPECT_EQ(-1, viewOf(nt).selectedRow);

    // Another of several candidates picked in the list maps back: the right pane stays, and the
    // same code shown again notifies nobody, so the status keeps its text.
    press(VK_F6);
    type(L"5");
    press(VK_F4);
    press(VK_TAB);
    ASSERT_EQ(nt->getList()->getHWND(), GetFocus());
    press(VK_DOWN);
    left = viewOf(nt);
    EXPECT_EQ(0xC000001Fu, left.currentCode);
    EXPECT_EQ(3u, left.rows.size());
    EXPECT_EQ(awt::Toolkit::loadString(2), status());
    EXPECT_EQ(L"5", viewOf(win32).decimal);
    press(VK_F6);
    type(L"5");
    EXPECT_EQ(awt::Toolkit::loadString(2), status());
}

TEST_F(MainWindowTest, FunctionKeysMoveTheFocusEscResetsAndCtrlCCopiesTheWholeField) {
    const struct {
        WORD key;
        std::initializer_list<WORD> modifiers;
        awt::Component* target;
    } bindings[] = {
        {VK_F1, {}, nt->getNameField()},         {VK_F2, {}, nt->getDecimalField()},
        {VK_F3, {}, nt->getHexField()},          {VK_F4, {}, nt->getMessageArea()},
        {VK_F5, {}, win32->getNameField()},      {VK_F6, {}, win32->getDecimalField()},
        {VK_F7, {}, win32->getHexField()},       {VK_F8, {}, win32->getMessageArea()},
        {VK_F7, {}, win32->getHexField()},       {VK_F1, {VK_SHIFT}, win32->getHexField()},
        {VK_F9, {}, nt->getHexField()},          {VK_F9, {}, win32->getHexField()},
        {VK_F5, {}, win32->getNameField()},      {VK_F9, {}, nt->getNameField()},
    };
    for (const auto& binding : bindings) {
        SCOPED_TRACE("binding " + std::to_string(&binding - bindings));
        press(binding.key, binding.modifiers);
        HWND field = binding.target->getHWND();
        EXPECT_EQ(field, GetFocus());
        DWORD start = 0, end = 0;
        SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        const bool messageArea = binding.target == nt->getMessageArea() || binding.target == win32->getMessageArea();
        EXPECT_TRUE(messageArea || (start == 0 && end == static_cast<DWORD>(GetWindowTextLengthW(field))));
    }

    // Esc resets both panes and stays with the window: the focused field never sees it.
    press(VK_F3);
    type(L"c0000034");
    ASSERT_EQ(2u, win32->getCurrentCode());
    std::vector<std::wstring> journal;
    test::Recorder recorder(&journal, L"hex");
    nt->getHexField()->addKeyListener(&recorder);
    press(VK_ESCAPE);
    EXPECT_EQ(awt::Toolkit::loadString(1), status());
    EXPECT_EQ(L"STATUS_SUCCESS", viewOf(nt).name);
    EXPECT_EQ(L"ERROR_SUCCESS", viewOf(win32).name);
    HWND hexField = nt->getHexField()->getHWND();
    EXPECT_EQ(hexField, GetFocus()) << "Esc leaves the focus alone";
    const auto pressed = [&] { return std::count(journal.begin(), journal.end(), L"hex:keyPressed"); };
    EXPECT_EQ(0, pressed());
    press(VK_HOME);
    nt->getHexField()->removeKeyListener(&recorder);
    EXPECT_EQ(1, pressed()) << "an unbound key reaches the field";

    // With the caret inside the text and nothing selected, Ctrl+C copies the whole text;
    // Ctrl+Shift+C selects nothing.
    press(VK_F3);
    type(L"c0000005");
    SendMessageW(hexField, EM_SETSEL, 3, 3);
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    press('C', {VK_CONTROL});
    std::wstring copied;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            copied = static_cast<const wchar_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    EXPECT_EQ(L"0xc0000005", copied);
    SendMessageW(hexField, EM_SETSEL, 3, 3);
    press('C', {VK_CONTROL, VK_SHIFT});
    EXPECT_EQ(MAKELONG(3, 3), SendMessageW(hexField, EM_GETSEL, 0, 0));
}

TEST_F(MainWindowTest, RestingTheMouseOnAPaneTitleShowsTheHeaderPath) {
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
    EXPECT_TRUE(test::waitUntil([&] {
        for (HWND window : test::descendants(GetDesktopWindow(), L"tooltips_class32")) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            tip = owner == GetCurrentProcessId() && IsWindowVisible(window) ? window : tip;
        }
        return tip != nullptr;
    })) << "no tool tip came up";
    EXPECT_EQ(folder->file(L"ntstatus.h"), test::windowText(tip));
}

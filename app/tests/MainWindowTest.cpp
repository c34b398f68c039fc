// The real main frame over small handwritten headers, driven with keyboard input through the
// system's input queue; every check reads what the native windows show.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "FrameProbe.h"
#include "SystemWindows.h"
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
const wchar_t* const VERSION = L"Kelvane version 0.1.2";
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

class MainWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<TempFolder>(L"kelvane-main");
        configPath = testheaders::writeAll(*folder);
    }
    static void TearDownTestSuite() { folder.reset(); }

    // Runs the frame with the script and expects the ordinary end (the window closed, exit code 0).
    static void drive(const std::function<void(UiDriver&, Kelvane*)>& script) {
        EXPECT_EQ(0, runFrame(configPath, script));
    }
    static PaneView left(UiDriver& ui, Kelvane* frame) {
        return ui.get<PaneView>([&] { return viewOf(frame->getNtStatusPane()); });
    }
    static PaneView right(UiDriver& ui, Kelvane* frame) {
        return ui.get<PaneView>([&] { return viewOf(frame->getWin32Pane()); });
    }
    static std::wstring status(UiDriver& ui, Kelvane* frame) {
        return ui.get<std::wstring>([&] { return statusTextOf(frame); });
    }
    static HWND focused(UiDriver& ui) {
        return ui.get<HWND>([] { return GetFocus(); });
    }

    static std::unique_ptr<TempFolder> folder;
    static std::wstring configPath;
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
    drive([&](UiDriver& ui, Kelvane* frame) {
        EXPECT_EQ(L"Kelvane - " + configPath, textOf(frame->getHWND()));
        EXPECT_NE(nullptr, descendantWithText(frame->getHWND(), L"NTSTATUS   (total 9 entries)"));
        EXPECT_NE(nullptr, descendantWithText(frame->getHWND(), L"Win32 Error Code   (total 7 entries)"));
        for (const auto& row : rows) {
            SCOPED_TRACE("row " + std::to_string(&row - rows) + " \"" + std::string(row.text, row.text + wcslen(row.text)) + "\"");
            if (row.key != 0) {
                ui.press(row.key);
            }
            if (row.pasted) {
                ui.onUi([&] { SendMessageW(GetFocus(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(row.text)); });
                ui.settle();
            } else {
                ui.type(row.text);
            }
            const PaneView ntStatus = left(ui, frame);
            expectPane(ntStatus, row.left, systemNtStatusText(row.left.code), row.leftRows);
            EXPECT_EQ(row.leftSelected, ntStatus.selectedRow);
            const PaneView win32 = right(ui, frame);
            expectPane(win32, row.right, systemWin32Text(row.right.code), row.rightRows);
            EXPECT_EQ(row.rightSelected, win32.selectedRow);
            EXPECT_EQ(row.status == 0 ? VERSION : awt::Toolkit::loadString(row.status), status(ui, frame));
        }
    });
}

TEST_F(MainWindowTest, ListKeysWalkTheRowsAndAPickedCandidateMapsBackAlone) {
    drive([&](UiDriver& ui, Kelvane* frame) {
        ui.press(VK_F1);
        ui.press(VK_NEXT);
        PaneView ntStatus = left(ui, frame);
        EXPECT_GT(ntStatus.selectedRow, 0) << "Page Down moves the selection";
        EXPECT_EQ(ntStatus.selectedText(), ntStatus.name);
        ui.press(VK_PRIOR);
        EXPECT_EQ(0u, left(ui, frame).currentCode);

        ui.press(VK_F1);
        ui.type(L"access");
        EXPECT_EQ((Names{L"STATUS_ACCESS_VIOLATION", L"STATUS_ACCESS_DENIED"}), left(ui, frame).rows);
        const struct {
            WORD key;
            std::uint32_t code;
            int row;
        } walk[] = {{VK_DOWN, 0xC0000005, 0}, {VK_DOWN, 0xC0000022, 1}, {VK_DOWN, 0xC0000022, 1}, {VK_UP, 0xC0000005, 0}};
        for (const auto& move : walk) {
            ui.press(move.key);
            EXPECT_EQ(move.code, left(ui, frame).currentCode);
            EXPECT_EQ(move.row, left(ui, frame).selectedRow);
        }
        // With no row left the keys change nothing; an empty text lists every name.
        ui.press(VK_F1);
        ui.type(L"zzz");
        ui.press(VK_DOWN);
        ui.press(VK_UP);
        EXPECT_TRUE(left(ui, frame).rows.empty());
        EXPECT_EQ(L"3221225477", left(ui, frame).decimal);
        ui.press(VK_F1);
        ui.press(VK_BACK);
        EXPECT_EQ(allNtStatusNames, left(ui, frame).rows);
        EXPECT_EQ(-1, left(ui, frame).selectedRow);

        // Another of several candidates picked in the list: the right pane stays, the status says
        // the mapping exists, and showing the same code again notifies nobody.
        ui.press(VK_F6);
        ui.type(L"5");
        ui.press(VK_F4);
        ui.press(VK_TAB);
        ASSERT_EQ(frame->getNtStatusPane()->getList()->getHWND(), focused(ui));
        ui.press(VK_DOWN);
        ntStatus = left(ui, frame);
        EXPECT_EQ(0xC000001Fu, ntStatus.currentCode);
        EXPECT_EQ(3u, ntStatus.rows.size());
        EXPECT_EQ(awt::Toolkit::loadString(2), status(ui, frame));
        EXPECT_EQ(L"5", right(ui, frame).decimal);
        ui.press(VK_F6);
        ui.type(L"5");
        EXPECT_EQ(awt::Toolkit::loadString(2), status(ui, frame));
    });
}

TEST_F(MainWindowTest, FunctionKeysMoveTheFocusEscResetsAndCtrlCCopiesTheWholeField) {
    drive([&](UiDriver& ui, Kelvane* frame) {
        ErrorCodePane* nt = frame->getNtStatusPane();
        ErrorCodePane* win32 = frame->getWin32Pane();
        const struct {
            WORD key;
            bool shift;
            awt::Component* target;
        } bindings[] = {
            {VK_F1, false, nt->getNameField()},     {VK_F2, false, nt->getDecimalField()},
            {VK_F3, false, nt->getHexField()},      {VK_F4, false, nt->getMessageArea()},
            {VK_F5, false, win32->getNameField()},  {VK_F6, false, win32->getDecimalField()},
            {VK_F7, false, win32->getHexField()},   {VK_F8, false, win32->getMessageArea()},
            {VK_F7, false, win32->getHexField()},   {VK_F1, true, win32->getHexField()},    {VK_F9, false, nt->getHexField()},
            {VK_F9, false, win32->getHexField()},   {VK_F5, false, win32->getNameField()},
            {VK_F9, false, nt->getNameField()},
        };
        for (const auto& binding : bindings) {
            ui.press(binding.key, binding.shift);
            HWND field = binding.target->getHWND();
            EXPECT_EQ(field, focused(ui)) << "key " << binding.key << (binding.shift ? " with Shift" : "");
            const bool wholeSelected = ui.get<bool>([&] {
                DWORD start = 0, end = 0;
                SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
                return start == 0 && end == static_cast<DWORD>(GetWindowTextLengthW(field));
            });
            const bool messageArea = binding.target == nt->getMessageArea() || binding.target == win32->getMessageArea();
            EXPECT_TRUE(messageArea || wholeSelected) << "key " << binding.key;
        }

        ui.press(VK_F3);
        ui.type(L"c0000034");
        ASSERT_EQ(2u, right(ui, frame).currentCode);
        ui.press(VK_ESCAPE);
        EXPECT_EQ(awt::Toolkit::loadString(1), status(ui, frame));
        EXPECT_EQ(L"STATUS_SUCCESS", left(ui, frame).name);
        EXPECT_EQ(L"ERROR_SUCCESS", right(ui, frame).name);
        HWND hexField = nt->getHexField()->getHWND();
        EXPECT_EQ(hexField, focused(ui)) << "Esc leaves the focus alone";

        // With the caret inside the text and nothing selected, Ctrl+C copies the whole text;
        // Ctrl+Shift+C selects nothing.
        ui.press(VK_F3);
        ui.type(L"c0000005");
        ui.onUi([&] {
            SendMessageW(hexField, EM_SETSEL, 3, 3);
            OpenClipboard(nullptr);
            EmptyClipboard();
            CloseClipboard();
        });
        ui.press('C', false, true);
        EXPECT_EQ(L"0xc0000005", ui.get<std::wstring>([] {
            std::wstring text;
            if (OpenClipboard(nullptr)) {
                if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                    text = static_cast<const wchar_t*>(GlobalLock(data));
                    GlobalUnlock(data);
                }
                CloseClipboard();
            }
            return text;
        }));
        ui.onUi([&] { SendMessageW(hexField, EM_SETSEL, 3, 3); });
        ui.press('C', true, true);
        EXPECT_EQ(MAKELONG(3, 3), ui.get<LRESULT>([&] { return SendMessageW(hexField, EM_GETSEL, 0, 0); }));
    });
}

TEST_F(MainWindowTest, RestingTheMouseOnAPaneTitleShowsTheHeaderPath) {
    drive([&](UiDriver& ui, Kelvane* frame) {
        HWND title = descendantWithText(frame->getHWND(), L"NTSTATUS   (total 9 entries)");
        ASSERT_NE(nullptr, title);
        RECT area;
        GetWindowRect(title, &area);
        // Into the label from outside, then rest there.
        SetCursorPos(area.left + 10, area.bottom + 40);
        Sleep(100);
        for (int x : {area.left + 20, area.left + 23}) {
            INPUT move = {};
            move.type = INPUT_MOUSE;
            move.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
            move.mi.dy = ((area.top + area.bottom) / 2) * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
            move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
            SendInput(1, &move, sizeof move);
            ui.settle();
        }
        HWND tip = nullptr;
        EXPECT_TRUE(waitFor([&] {
            for (HWND window : descendants(GetDesktopWindow(), L"tooltips_class32")) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                tip = owner == GetCurrentProcessId() && IsWindowVisible(window) ? window : tip;
            }
            return tip != nullptr;
        })) << "no tool tip came up";
        if (tip != nullptr) {
            EXPECT_EQ(folder->file(L"ntstatus.h"), textOf(tip));
        }
    });
}

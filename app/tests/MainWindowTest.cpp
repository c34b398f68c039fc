// The real main frame over small handwritten headers, driven with keyboard input through the
// system's input queue; every check reads what the native windows show.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FrameProbe.h"
#include "FrameSession.h"
#include "SystemWindows.h"
#include "TempFolder.h"
#include "TestHeaders.h"
#include "app/ErrorCodePane.h"
#include "app/Kelvane.h"

namespace {

const std::vector<std::wstring> allNtStatusNames = {
    L"STATUS_SUCCESS",          L"STATUS_PENDING",           L"STATUS_UNSUCCESSFUL",
    L"STATUS_ACCESS_VIOLATION", L"STATUS_INVALID_LOCK_SEQUENCE", L"STATUS_INVALID_VIEW_SIZE",
    L"STATUS_ACCESS_DENIED",    L"STATUS_OBJECT_NAME_NOT_FOUND", L"STATUS_KELVANE_UNMAPPED"};
const std::vector<std::wstring> allWin32Names = {L"ERROR_SUCCESS",       L"ERROR_INVALID_FUNCTION",
                                                 L"ERROR_FILE_NOT_FOUND", L"ERROR_ACCESS_DENIED",
                                                 L"ERROR_IO_PENDING",     L"ERROR_NOACCESS"};

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

    static std::unique_ptr<TempFolder> folder;
    static std::wstring configPath;
};

std::unique_ptr<TempFolder> MainWindowTest::folder;
std::wstring MainWindowTest::configPath;

// Both panes of a pane view that shows nothing.
void expectCleared(const PaneView& view, std::size_t rows) {
    EXPECT_EQ(ErrorCodePane::NO_CODE, view.currentCode);
    EXPECT_EQ(L"", view.name);
    EXPECT_EQ(L"", view.decimal);
    EXPECT_EQ(L"", view.hex);
    EXPECT_EQ(L"", view.message);
    EXPECT_EQ(rows, view.rows.size());
    EXPECT_EQ(-1, view.selectedRow);
}

BOOL CALLBACK collectText(HWND window, LPARAM texts) {
    reinterpret_cast<std::vector<std::wstring>*>(texts)->push_back(windowText(window));
    return TRUE;
}

}  // namespace

TEST_F(MainWindowTest, StartsWithCodeZeroInBothPanesAndTheVersionInTheStatusBar) {
    drive([&](UiDriver& ui, Kelvane* frame) {
        EXPECT_EQ(resourceString(1) + L" - " + configPath, ui.get<std::wstring>([&] { return windowText(frame->getHWND()); }));
        EXPECT_EQ(L"Kelvane version 0.1.2", status(ui, frame));

        const PaneView ntStatus = left(ui, frame);
        EXPECT_EQ(0u, ntStatus.currentCode);
        EXPECT_EQ(L"STATUS_SUCCESS", ntStatus.name);
        EXPECT_EQ(L"0", ntStatus.decimal);
        EXPECT_EQ(L"0x0", ntStatus.hex);
        EXPECT_EQ(systemNtStatusText(0), ntStatus.message);
        EXPECT_EQ(allNtStatusNames, ntStatus.rows);
        EXPECT_EQ(0, ntStatus.selectedRow);

        const PaneView win32 = right(ui, frame);
        EXPECT_EQ(L"ERROR_SUCCESS", win32.name);
        EXPECT_EQ(systemWin32Text(0), win32.message);
        EXPECT_EQ(allWin32Names, win32.rows);
        EXPECT_EQ(0, win32.selectedRow);

        // The title labels count the distinct values of each table.
        std::vector<std::wstring> texts = ui.get<std::vector<std::wstring>>([&] {
            std::vector<std::wstring> found;
            EnumChildWindows(frame->getHWND(), collectText, reinterpret_cast<LPARAM>(&found));
            return found;
        });
        EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), L"NTSTATUS   (total 9 entries)"));
        EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), L"Win32 Error Code   (total 6 entries)"));
    });
}

TEST_F(MainWindowTest, TypingANameFiltersTheListThenShowsTheCodeAndItsWin32Counterpart) {
    drive([&](UiDriver& ui, Kelvane* frame) {
        HWND nameField = frame->getNtStatusPane()->getNameField()->getHWND();
        ui.press(VK_F1);
        ASSERT_EQ(nameField, focusedWindow(ui));

        ui.type(L"status_access_v");
        PaneView ntStatus = left(ui, frame);
        EXPECT_EQ(std::vector<std::wstring>{L"STATUS_ACCESS_VIOLATION"}, ntStatus.rows);
        EXPECT_EQ(-1, ntStatus.selectedRow);
        EXPECT_EQ(L"status_access_v", ntStatus.name) << "the user's text stays while it matches no name";
        EXPECT_EQ(L"0", ntStatus.decimal) << "no match leaves the code shown";
        EXPECT_EQ(L"Kelvane version 0.1.2", status(ui, frame));

        ui.type(L"iolation");
        ntStatus = left(ui, frame);
        EXPECT_EQ(0xC0000005u, ntStatus.currentCode);
        EXPECT_EQ(L"STATUS_ACCESS_VIOLATION", ntStatus.name);
        EXPECT_EQ(L"3221225477", ntStatus.decimal);
        EXPECT_EQ(L"0xc0000005", ntStatus.hex);
        EXPECT_EQ(systemNtStatusText(0xC0000005), ntStatus.message);
        EXPECT_EQ(std::vector<std::wstring>{L"STATUS_ACCESS_VIOLATION"}, ntStatus.rows) << "the list stays filtered";
        EXPECT_EQ(0, ntStatus.selectedRow);

        EXPECT_EQ(resourceString(2), status(ui, frame));
        ASSERT_EQ(998u, platformNtStatusToWin32(0xC0000005));
        const PaneView win32 = right(ui, frame);
        EXPECT_EQ(998u, win32.currentCode);
        EXPECT_EQ(L"ERROR_NOACCESS", win32.name);
        EXPECT_EQ(L"998", win32.decimal);
        EXPECT_EQ(L"0x3e6", win32.hex);
        EXPECT_EQ(systemWin32Text(998), win32.message);
        EXPECT_EQ(L"ERROR_NOACCESS", win32.selectedText());

        // Typing on after the name was upper-cased goes to the end of the field.
        ui.type(L"x");
        EXPECT_EQ(L"STATUS_ACCESS_VIOLATIONx", left(ui, frame).name);
        EXPECT_TRUE(left(ui, frame).rows.empty());
        EXPECT_EQ(0xC0000005u, left(ui, frame).currentCode);
    });
}

TEST_F(MainWindowTest, APartOfANameMatchesAnywhereAndTheArrowKeysWalkTheMatches) {
    drive([&](UiDriver& ui, Kelvane* frame) {
        ui.press(VK_F1);
        ui.type(L"access");
        PaneView ntStatus = left(ui, frame);
        EXPECT_EQ((std::vector<std::wstring>{L"STATUS_ACCESS_VIOLATION", L"STATUS_ACCESS_DENIED"}), ntStatus.rows);
        EXPECT_EQ(0u, ntStatus.currentCode);

        ui.press(VK_DOWN);
        ntStatus = left(ui, frame);
        EXPECT_EQ(0xC0000005u, ntStatus.currentCode) << "Down without a selected row shows the first row";
        EXPECT_EQ(0, ntStatus.selectedRow);
        EXPECT_EQ(2u, ntStatus.rows.size());
        ui.press(VK_DOWN);
        EXPECT_EQ(0xC0000022u, left(ui, frame).currentCode);
        ui.press(VK_DOWN);
        EXPECT_EQ(0xC0000022u, left(ui, frame).currentCode) << "Down on the last row stays there";
        EXPECT_EQ(1, left(ui, frame).selectedRow);
        ui.press(VK_UP);
        EXPECT_EQ(0xC0000005u, left(ui, frame).currentCode);
        EXPECT_EQ(resourceString(2), status(ui, frame));

        // A text that no name contains empties the list; the keys then change nothing.
        ui.press(VK_F1);
        ui.type(L"zzz");
        ntStatus = left(ui, frame);
        EXPECT_TRUE(ntStatus.rows.empty());
        EXPECT_EQ(0xC0000005u, ntStatus.currentCode);
        ui.press(VK_DOWN);
        ui.press(VK_UP);
        EXPECT_EQ(0xC0000005u, left(ui, frame).currentCode);
        EXPECT_EQ(L"3221225477", left(ui, frame).decimal);

        // Emptying the field: every name contains the empty text.
        ui.press(VK_F1);
        ui.press(VK_BACK);
        ntStatus = left(ui, frame);
        EXPECT_EQ(allNtStatusNames, ntStatus.rows);
        EXPECT_EQ(-1, ntStatus.selectedRow);
        EXPECT_EQ(0xC0000005u, ntStatus.currentCode);
    });
}

TEST_F(MainWindowTest, DecimalAndHexadecimalInputShowTheValueInCanonicalForm) {
    drive([&](UiDriver& ui, Kelvane* frame) {
        ui.press(VK_F2);
        ASSERT_EQ(frame->getNtStatusPane()->getDecimalField()->getHWND(), focusedWindow(ui));
        ui.type(L"3221225506");
        PaneView ntStatus = left(ui, frame);
        EXPECT_EQ(0xC0000022u, ntStatus.currentCode);
        EXPECT_EQ(L"STATUS_ACCESS_DENIED", ntStatus.name);
        EXPECT_EQ(L"3221225506", ntStatus.decimal);
        EXPECT_EQ(L"0xc0000022", ntStatus.hex);
        EXPECT_EQ(L"STATUS_ACCESS_DENIED", ntStatus.selectedText());
        EXPECT_EQ(5u, right(ui, frame).currentCode);

        // Hexadecimal digits typed one by one: the field takes the 0x form after each of them.
        ui.press(VK_F3);
        ui.type(L"C0000005");
        ntStatus = left(ui, frame);
        EXPECT_EQ(0xC0000005u, ntStatus.currentCode);
        EXPECT_EQ(L"0xc0000005", ntStatus.hex);
        EXPECT_EQ(L"3221225477", ntStatus.decimal);
        EXPECT_EQ(L"STATUS_ACCESS_VIOLATION", ntStatus.name);

        // Text that is not a number changes nothing, and stays in the field.
        ui.type(L"g");
        ntStatus = left(ui, frame);
        EXPECT_EQ(L"0xc0000005g", ntStatus.hex);
        EXPECT_EQ(0xC0000005u, ntStatus.currentCode);
        EXPECT_EQ(L"3221225477", ntStatus.decimal);

        // Leading zeros disappear; a value the table lacks is shown without a name.
        ui.press(VK_F6);
        ui.type(L"007");
        const PaneView win32 = right(ui, frame);
        EXPECT_EQ(7u, win32.currentCode);
        EXPECT_EQ(L"7", win32.decimal);
        EXPECT_EQ(L"0x7", win32.hex);
        EXPECT_EQ(L"", win32.name);
        EXPECT_EQ(allWin32Names, win32.rows);
        EXPECT_EQ(-1, win32.selectedRow);
        EXPECT_EQ(systemWin32Text(7), win32.message);
    });
}

TEST_F(MainWindowTest, AnNtStatusShowsItsWin32CodeOrClearsTheOtherPane) {
    drive([&](UiDriver& ui, Kelvane* frame) {
        // Mapped to a code that winerror.h does not define: shown by number, without a name.
        ui.press(VK_F3);
        ui.type(L"c0000001");
        ASSERT_EQ(31u, platformNtStatusToWin32(0xC0000001));
        EXPECT_EQ(resourceString(2), status(ui, frame));
        PaneView win32 = right(ui, frame);
        EXPECT_EQ(31u, win32.currentCode);
        EXPECT_EQ(L"", win32.name);
        EXPECT_EQ(L"31", win32.decimal);
        EXPECT_EQ(L"0x1f", win32.hex);
        EXPECT_EQ(systemWin32Text(31), win32.message);
        EXPECT_EQ(allWin32Names, win32.rows);
        EXPECT_EQ(-1, win32.selectedRow);

        // Without a counterpart: the Win32 pane shows nothing.
        ui.press(VK_F3);
        ui.type(L"c0fe0001");
        ASSERT_EQ(317u, platformNtStatusToWin32(0xC0FE0001));
        EXPECT_EQ(resourceString(3), status(ui, frame));
        expectCleared(right(ui, frame), allWin32Names.size());
        EXPECT_EQ(L"STATUS_KELVANE_UNMAPPED", left(ui, frame).name);

        // Success maps to ERROR_SUCCESS, a valid mapping.
        ui.press(VK_F3);
        ui.type(L"0");
        EXPECT_EQ(resourceString(2), status(ui, frame));
        win32 = right(ui, frame);
        EXPECT_EQ(0u, win32.currentCode);
        EXPECT_EQ(L"ERROR_SUCCESS", win32.name);
        EXPECT_EQ(0, win32.selectedRow);
    });
}

TEST_F(MainWindowTest, AWin32CodeShowsItsNtStatusValues) {
    drive([&](UiDriver& ui, Kelvane* frame) {
        // Several NTSTATUS values: the left list offers exactly those, the first shown.
        for (std::uint32_t code : {0xC000001Eu, 0xC000001Fu, 0xC0000022u}) {
            ASSERT_EQ(5u, platformNtStatusToWin32(code));
        }
        ui.press(VK_F6);
        ui.type(L"5");
        EXPECT_EQ(resourceString(5), status(ui, frame));
        PaneView ntStatus = left(ui, frame);
        EXPECT_EQ((std::vector<std::wstring>{L"STATUS_INVALID_LOCK_SEQUENCE", L"STATUS_INVALID_VIEW_SIZE",
                                             L"STATUS_ACCESS_DENIED"}),
                  ntStatus.rows);
        EXPECT_EQ(0, ntStatus.selectedRow);
        EXPECT_EQ(0xC000001Eu, ntStatus.currentCode);
        EXPECT_EQ(L"0xc000001e", ntStatus.hex);

        // Showing the code the pane already shows notifies nobody: the status text stays.
        ui.press(VK_F6);
        ui.type(L"5");
        EXPECT_EQ(resourceString(5), status(ui, frame));
        EXPECT_EQ(3u, left(ui, frame).rows.size());

        // Picking another of them in the left list maps it back without changing the right pane.
        ui.press(VK_F4);
        ui.press(VK_TAB);
        ASSERT_EQ(frame->getNtStatusPane()->getList()->getHWND(), focusedWindow(ui));
        ui.press(VK_DOWN);
        ntStatus = left(ui, frame);
        EXPECT_EQ(0xC000001Fu, ntStatus.currentCode);
        EXPECT_EQ(3u, ntStatus.rows.size());
        EXPECT_EQ(1, ntStatus.selectedRow);
        EXPECT_EQ(resourceString(2), status(ui, frame));
        EXPECT_EQ(5u, right(ui, frame).currentCode);
        EXPECT_EQ(L"5", right(ui, frame).decimal);

        // Exactly one NTSTATUS: shown, the left list refilled because it was not among the rows.
        ui.press(VK_F6);
        ui.type(L"997");
        EXPECT_EQ(resourceString(4), status(ui, frame));
        ntStatus = left(ui, frame);
        EXPECT_EQ(0x103u, ntStatus.currentCode);
        EXPECT_EQ(L"STATUS_PENDING", ntStatus.name);
        EXPECT_EQ(allNtStatusNames, ntStatus.rows);
        EXPECT_EQ(1, ntStatus.selectedRow);

        // By name: ERROR_FILE_NOT_FOUND has exactly one NTSTATUS here.
        ui.press(VK_F5);
        ui.type(L"error_file_not_found");
        EXPECT_EQ(L"ERROR_FILE_NOT_FOUND", right(ui, frame).name);
        EXPECT_EQ(resourceString(4), status(ui, frame));
        EXPECT_EQ(L"STATUS_OBJECT_NAME_NOT_FOUND", left(ui, frame).name);

        // No NTSTATUS maps to ERROR_INVALID_FUNCTION in this header: the left pane is cleared.
        ui.press(VK_F6);
        ui.type(L"1");
        EXPECT_EQ(resourceString(6), status(ui, frame));
        expectCleared(left(ui, frame), allNtStatusNames.size());
        EXPECT_EQ(L"ERROR_INVALID_FUNCTION", right(ui, frame).name);
    });
}

TEST_F(MainWindowTest, FunctionKeysMoveTheFocusAndEscResetsBothPanes) {
    drive([&](UiDriver& ui, Kelvane* frame) {
        ErrorCodePane* ntStatusPane = frame->getNtStatusPane();
        ErrorCodePane* win32Pane = frame->getWin32Pane();
        const struct {
            WORD key;
            awt::Component* target;
            bool selectsAll;
        } bindings[] = {
            {VK_F1, ntStatusPane->getNameField(), true},   {VK_F2, ntStatusPane->getDecimalField(), true},
            {VK_F3, ntStatusPane->getHexField(), true},    {VK_F4, ntStatusPane->getMessageArea(), false},
            {VK_F5, win32Pane->getNameField(), true},      {VK_F6, win32Pane->getDecimalField(), true},
            {VK_F7, win32Pane->getHexField(), true},       {VK_F8, win32Pane->getMessageArea(), false},
        };
        for (const auto& binding : bindings) {
            ui.press(binding.key);
            EXPECT_EQ(binding.target->getHWND(), focusedWindow(ui)) << "key " << binding.key;
            if (binding.selectsAll) {
                EXPECT_TRUE(wholeTextSelected(ui, binding.target->getHWND())) << "key " << binding.key;
            }
        }

        // F9 goes to the same control of the other pane, and back.
        ui.press(VK_F3);
        ui.press(VK_F9);
        EXPECT_EQ(win32Pane->getHexField()->getHWND(), focusedWindow(ui));
        ui.press(VK_F9);
        EXPECT_EQ(ntStatusPane->getHexField()->getHWND(), focusedWindow(ui));
        ui.press(VK_F5);
        ui.press(VK_F9);
        EXPECT_EQ(ntStatusPane->getNameField()->getHWND(), focusedWindow(ui));

        // Bound without modifiers: Shift+F1 does not move the focus.
        ui.press(VK_F7);
        ui.press(VK_F1, true);
        EXPECT_EQ(win32Pane->getHexField()->getHWND(), focusedWindow(ui));

        ui.press(VK_F3);
        ui.type(L"c0000034");
        ASSERT_EQ(2u, right(ui, frame).currentCode);
        ui.press(VK_ESCAPE);
        EXPECT_EQ(resourceString(1), status(ui, frame));
        const PaneView ntStatus = left(ui, frame);
        EXPECT_EQ(0u, ntStatus.currentCode);
        EXPECT_EQ(L"STATUS_SUCCESS", ntStatus.name);
        EXPECT_EQ(L"0x0", ntStatus.hex);
        const PaneView win32 = right(ui, frame);
        EXPECT_EQ(0u, win32.currentCode);
        EXPECT_EQ(L"ERROR_SUCCESS", win32.name);
        EXPECT_EQ(ntStatusPane->getHexField()->getHWND(), focusedWindow(ui)) << "Esc leaves the focus alone";
    });
}

TEST_F(MainWindowTest, PageKeysMoveTheListAndCtrlCCopiesTheWholeField) {
    drive([&](UiDriver& ui, Kelvane* frame) {
        ErrorCodePane* ntStatusPane = frame->getNtStatusPane();
        ui.press(VK_F1);
        ui.press(VK_NEXT);
        PaneView ntStatus = left(ui, frame);
        EXPECT_GT(ntStatus.selectedRow, 0) << "Page Down moves the selection";
        ASSERT_GE(ntStatus.selectedRow, 0);
        EXPECT_EQ(ntStatus.rows[static_cast<std::size_t>(ntStatus.selectedRow)], ntStatus.name);
        ui.press(VK_PRIOR);
        EXPECT_EQ(0u, left(ui, frame).currentCode) << "Page Up goes back to the first row";

        // With the caret inside the text and nothing selected, Ctrl+C copies the whole text.
        ui.press(VK_F3);
        ui.type(L"c0000005");
        HWND hexField = ntStatusPane->getHexField()->getHWND();
        ui.onUi([&] {
            SendMessageW(hexField, EM_SETSEL, 3, 3);
            if (OpenClipboard(nullptr)) {
                EmptyClipboard();
                CloseClipboard();
            }
        });
        ui.press('C', false, true);
        const std::wstring copied = ui.get<std::wstring>([] {
            std::wstring text;
            if (OpenClipboard(nullptr)) {
                if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                    text = static_cast<const wchar_t*>(GlobalLock(data));
                    GlobalUnlock(data);
                }
                CloseClipboard();
            }
            return text;
        });
        EXPECT_EQ(L"0xc0000005", copied);

        // Ctrl+Shift+C selects nothing.
        ui.onUi([&] { SendMessageW(hexField, EM_SETSEL, 3, 3); });
        ui.press('C', true, true);
        EXPECT_FALSE(wholeTextSelected(ui, hexField));
    });
}

namespace {

struct ToolTipSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK matchShownToolTip(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<ToolTipSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (owner == search->processId && IsWindowVisible(window) && _wcsicmp(name, L"tooltips_class32") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

TEST_F(MainWindowTest, RestingTheMouseOnAPaneTitleShowsTheHeaderPath) {
    drive([&](UiDriver& ui, Kelvane* frame) {
        HWND title = descendantWithText(frame->getHWND(), L"NTSTATUS   (total 9 entries)");
        ASSERT_NE(nullptr, title);
        RECT area;
        GetWindowRect(title, &area);
        // Into the label from outside, then rest there.
        SetCursorPos(area.left + 10, area.bottom + 40);
        Sleep(100);
        INPUT move = {};
        move.type = INPUT_MOUSE;
        move.mi.dx = (area.left + 20) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        move.mi.dy = ((area.top + area.bottom) / 2) * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &move, sizeof move);
        ui.settle();
        move.mi.dx += 65535 / GetSystemMetrics(SM_CXSCREEN) * 3;
        SendInput(1, &move, sizeof move);
        ToolTipSearch search = {GetCurrentProcessId(), nullptr};
        EXPECT_TRUE(waitFor([&] {
            search.found = nullptr;
            EnumWindows(matchShownToolTip, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        })) << "no tool tip came up";
        if (search.found != nullptr) {
            EXPECT_EQ(folder->file(L"ntstatus.h"), textOf(search.found));
        }
    });
}

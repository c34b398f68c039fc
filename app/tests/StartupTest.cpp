// Kelvane::run in this process when a file is missing: the error box, the settings dialog filled
// in with the keyboard and its file dialog, and the second loading attempt.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FrameProbe.h"
#include "SystemWindows.h"
#include "TempFolder.h"
#include "TestHeaders.h"
#include "app/ErrorCodePane.h"
#include "app/Kelvane.h"
#include "awt/Toolkit.h"

namespace {

// Runs Kelvane::run over the configuration; the script starts once the settings dialog is up,
// after the error box showed the expected text. Expects run to end with 0.
void runToSettings(const std::wstring& configPath, const std::wstring& boxText,
                   const std::function<void(UiDriver&, Kelvane*, HWND)>& script) {
    auto frame = std::make_unique<Kelvane>(configPath);
    Kelvane* kelvane = frame.get();
    EXPECT_EQ(0, runDriven(awt::Toolkit::getInstance(), [&] { return kelvane->run(); }, [&](UiDriver& ui) {
        HWND dialog = settingsDialogAfterErrorBox(GetCurrentProcessId(), boxText);
        ASSERT_NE(nullptr, dialog) << "no settings dialog";
        script(ui, kelvane, dialog);
    }));
}

HWND focusOfThread(DWORD threadId) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

// The system's file dialog that the settings dialog opened.
HWND waitForFileDialog(HWND owner) {
    HWND found = nullptr;
    waitFor([&] {
        for (HWND window : descendants(GetDesktopWindow(), L"#32770")) {
            if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == owner) {
                found = window;
            }
        }
        return found != nullptr;
    });
    return found;
}

}  // namespace

TEST(StartupTest, AMissingHeaderLeadsThroughTheSettingsDialogToASecondLoadThatAddsToTheTables) {
    TempFolder folder(L"kelvane-startup");
    const std::wstring firstNtStatus = folder.writeFile(L"ntstatus.h", testheaders::ntStatusHeader);
    const std::wstring missingWin32 = folder.file(L"missing-winerror.h");
    const std::wstring configPath = folder.writeFile(L"kelvane.cfg", testheaders::configuration(firstNtStatus, missingWin32));
    // A second ntstatus.h with one more code; both files' codes end up in the table.
    const std::wstring secondNtStatus =
        folder.writeFile(L"ntstatus2.h", "#define STATUS_KELVANE_EXTRA ((NTSTATUS)0xC0FE0002L)\n");
    const std::wstring win32 = folder.writeFile(L"winerror.h", testheaders::win32Header);

    runToSettings(configPath, errorBoxText(L"class zeno::FileNotFoundException", missingWin32, ERROR_FILE_NOT_FOUND),
                  [&](UiDriver& ui, Kelvane* kelvane, HWND dialog) {
        EXPECT_NE(nullptr, descendantWithText(dialog, configPath));
        const std::vector<HWND> fields = descendants(dialog, L"Edit");
        ASSERT_EQ(2u, fields.size());
        ASSERT_TRUE(waitFor([&] { return focusOfThread(ui.uiThread()) == fields[0]; }))
            << "the first path field has the focus";

        // Both paths typed and confirmed with the keyboard: Tab passes the browse buttons.
        ui.type(secondNtStatus);
        ui.press(VK_TAB);
        ui.press(VK_TAB);
        EXPECT_EQ(fields[1], focusOfThread(ui.uiThread()));
        ui.type(win32);
        ui.press(VK_TAB);
        ui.press(VK_TAB);
        EXPECT_EQ(awt::Toolkit::loadString(13), textOf(focusOfThread(ui.uiThread())));
        ui.press(VK_SPACE);

        ASSERT_TRUE(waitShown(ui, kelvane));
        EXPECT_EQ(testheaders::configuration(secondNtStatus, win32), folder.readFile(L"kelvane.cfg"));
        const PaneView ntStatus = ui.get<PaneView>([&] { return viewOf(kelvane->getNtStatusPane()); });
        EXPECT_EQ(testheaders::ntStatusCount + 1, ntStatus.rows.size());
        EXPECT_EQ(L"STATUS_KELVANE_EXTRA", ntStatus.rows.back());
        EXPECT_NE(nullptr, descendantWithText(kelvane->getHWND(), L"NTSTATUS   (total 10 entries)"));
    });
}

TEST(StartupTest, TheSelectButtonProposesTheFieldsPathAndTakesTheChosenFile) {
    TempFolder folder(L"kelvane-browse");
    const std::wstring proposed = folder.writeFile(L"ntstatus.h", testheaders::ntStatusHeader);
    const std::wstring chosen = folder.writeFile(L"other.h", testheaders::ntStatusHeader);
    const std::wstring configPath = folder.file(L"absent.cfg");
    runToSettings(configPath, errorBoxText(L"class zeno::FileNotFoundException", configPath, ERROR_FILE_NOT_FOUND),
                  [&](UiDriver&, Kelvane* kelvane, HWND dialog) {
        const std::vector<HWND> fields = descendants(dialog, L"Edit");
        ASSERT_EQ(2u, fields.size());
        SendMessageW(fields[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(proposed.c_str()));
        HWND select = descendantWithText(dialog, awt::Toolkit::loadString(8));
        ASSERT_NE(nullptr, select);

        PostMessageW(select, BM_CLICK, 0, 0);
        HWND files = waitForFileDialog(dialog);
        ASSERT_NE(nullptr, files) << "no file dialog";
        const std::wstring proposedName = L"ntstatus.h";
        std::vector<HWND> nameBoxes;
        ASSERT_TRUE(waitFor([&] { return (nameBoxes = descendants(files, L"Edit", &proposedName)).size() == 1; }))
            << "the field's file is proposed";
        bool headerFilter = false;
        for (HWND combo : descendants(files, L"ComboBox")) {
            const std::wstring text = textOf(combo);
            headerFilter = headerFilter || (text.size() > 6 && text.compare(text.size() - 6, 6, L" (*.h)") == 0);
        }
        EXPECT_TRUE(headerFilter) << "the dialog offers the header files' filter";
        SendMessageW(nameBoxes[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
        PostMessageW(files, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(waitFor([&] { return textOf(fields[0]) == chosen; })) << "the chosen file's full path";

        // Cancelling leaves the field as it was; closing the settings dialog ends run unconfirmed.
        PostMessageW(select, BM_CLICK, 0, 0);
        files = waitForFileDialog(dialog);
        ASSERT_NE(nullptr, files);
        PostMessageW(files, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(waitFor([&] { return !IsWindow(files); }));
        EXPECT_EQ(chosen, textOf(fields[0]));
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(waitFor([&] { return !IsWindowVisible(dialog); }));
        EXPECT_FALSE(hasWindowStartingWith(GetCurrentProcessId(), L"Kelvane - "));
        EXPECT_EQ(nullptr, kelvane->getHWND()) << "the main window was never created";
    });
    EXPECT_FALSE(folder.exists(L"absent.cfg"));
}

// Kelvane::run in this process when a file is missing: the error box, the settings dialog filled
// in with the keyboard and its file dialog, and the second loading attempt.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "FrameProbe.h"
#include "TempFolder.h"
#include "TestHeaders.h"
#include "app/ErrorCodePane.h"
#include "app/Kelvane.h"
#include "awt/Toolkit.h"

namespace {

HWND focusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

// The system's file dialog that the settings dialog opened.
HWND waitForFileDialog(HWND owner) {
    HWND found = nullptr;
    test::pollUntil([&] {
        for (HWND window : test::descendants(GetDesktopWindow(), L"#32770")) {
            found = IsWindowVisible(window) && GetWindow(window, GW_OWNER) == owner ? window : found;
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

    Kelvane frame(configPath);
    EXPECT_EQ(0, runScripted(frame, [&] {
        HWND dialog = settingsDialogAfterErrorBox(
            GetCurrentProcessId(), errorBoxText(L"class zeno::FileNotFoundException", missingWin32, ERROR_FILE_NOT_FOUND));
        ASSERT_NE(nullptr, dialog) << "no settings dialog";
        EXPECT_NE(nullptr, test::descendantWithText(dialog, configPath));
        const std::vector<HWND> fields = test::descendants(dialog, L"Edit");
        ASSERT_EQ(2u, fields.size());
        ASSERT_TRUE(test::pollUntil([&] { return focusOf(dialog) == fields[0]; })) << "the first path field has the focus";

        // Both paths typed and confirmed with the keyboard: Tab passes the browse buttons.
        test::typeText(secondNtStatus);
        test::press(VK_TAB);
        test::press(VK_TAB);
        test::typeText(win32);
        test::press(VK_TAB);
        test::press(VK_TAB);
        ASSERT_TRUE(test::pollUntil([&] { return test::windowText(focusOf(dialog)) == awt::Toolkit::loadString(13); }))
            << "OK has the focus";
        EXPECT_EQ(secondNtStatus, test::windowText(fields[0]));
        test::press(VK_SPACE);

        ASSERT_TRUE(test::pollUntil([&] { return frame.getHWND() != nullptr && IsWindowVisible(frame.getHWND()); }));
        EXPECT_EQ(testheaders::configuration(secondNtStatus, win32), folder.readFile(L"kelvane.cfg"));
        const PaneView ntStatus = viewOf(frame.getNtStatusPane());
        EXPECT_EQ(testheaders::ntStatusCount + 1, ntStatus.rows.size());
        EXPECT_EQ(L"STATUS_KELVANE_EXTRA", ntStatus.rows.back());
        EXPECT_NE(nullptr, test::descendantWithText(frame.getHWND(), L"NTSTATUS   (total 10 entries)"));
    }));
}

TEST(StartupTest, TheSelectButtonProposesTheFieldsPathAndTakesTheChosenFile) {
    TempFolder folder(L"kelvane-browse");
    const std::wstring proposed = folder.writeFile(L"ntstatus.h", testheaders::ntStatusHeader);
    const std::wstring chosen = folder.writeFile(L"other.h", testheaders::ntStatusHeader);
    const std::wstring configPath = folder.file(L"absent.cfg");
    Kelvane frame(configPath);
    EXPECT_EQ(0, runScripted(frame, [&] {
        HWND dialog = settingsDialogAfterErrorBox(
            GetCurrentProcessId(), errorBoxText(L"class zeno::FileNotFoundException", configPath, ERROR_FILE_NOT_FOUND));
        ASSERT_NE(nullptr, dialog) << "no settings dialog";
        const std::vector<HWND> fields = test::descendants(dialog, L"Edit");
        ASSERT_EQ(2u, fields.size());
        SendMessageW(fields[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(proposed.c_str()));
        HWND select = test::descendantWithText(dialog, awt::Toolkit::loadString(8));
        ASSERT_NE(nullptr, select);

        PostMessageW(select, BM_CLICK, 0, 0);
        HWND files = waitForFileDialog(dialog);
        ASSERT_NE(nullptr, files) << "no file dialog";
        const std::wstring proposedName = L"ntstatus.h";
        std::vector<HWND> nameBoxes;
        ASSERT_TRUE(test::pollUntil([&] { return (nameBoxes = test::descendants(files, L"Edit", &proposedName)).size() == 1; }))
            << "the field's file is proposed";
        bool headerFilter = false;
        for (HWND combo : test::descendants(files, L"ComboBox")) {
            const std::wstring text = test::windowText(combo);
            headerFilter = headerFilter || (text.size() > 6 && text.compare(text.size() - 6, 6, L" (*.h)") == 0);
        }
        EXPECT_TRUE(headerFilter) << "the dialog offers the header files' filter";
        SendMessageW(nameBoxes[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
        test::dismissBox(files);
        EXPECT_TRUE(test::pollUntil([&] { return test::windowText(fields[0]) == chosen; })) << "the chosen file's full path";

        // Cancelling leaves the field as it was; closing the settings dialog ends run unconfirmed.
        PostMessageW(select, BM_CLICK, 0, 0);
        files = waitForFileDialog(dialog);
        ASSERT_NE(nullptr, files);
        test::dismissBox(files, IDCANCEL);
        EXPECT_TRUE(test::pollUntil([&] { return !IsWindow(files); }));
        EXPECT_EQ(chosen, test::windowText(fields[0]));
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(test::pollUntil([&] { return !IsWindowVisible(dialog); }));
    }));
    EXPECT_EQ(nullptr, frame.getHWND()) << "the main window was never created";
    EXPECT_FALSE(folder.exists(L"absent.cfg"));
}

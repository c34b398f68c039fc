// Kelvane::run in this process when a header is missing: the error box, the settings dialog filled
// in with the keyboard and its file dialog, and the second loading attempt.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "AppTestSupport.h"
#include "app/ErrorCodePane.h"
#include "app/Kelvane.h"
#include "awt/Toolkit.h"

namespace {

HWND focusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

// Clicks the button and returns the file dialog it opened.
HWND openFileDialog(HWND owner, HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
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
        EXPECT_NE(nullptr, test::descendantWithText(dialog, awt::Toolkit::loadString(10)));
        EXPECT_EQ(0, GetWindowLongW(dialog, GWL_STYLE) & WS_THICKFRAME) << "the dialog cannot be resized";
        const std::vector<HWND> fields = test::descendants(dialog, L"Edit");
        ASSERT_EQ(2u, fields.size());
        EXPECT_EQ(L"", test::windowText(fields[0]) + test::windowText(fields[1])) << "the path fields start empty";
        ASSERT_TRUE(test::pollUntil([&] { return focusOf(dialog) == fields[0]; })) << "the first path field has the focus";

        // Both paths typed with the keyboard: Tab passes the browse buttons and reaches OK.
        test::typeText(firstNtStatus);
        test::press(VK_TAB);
        test::press(VK_TAB);
        test::typeText(win32);
        test::press(VK_TAB);
        test::press(VK_TAB);
        ASSERT_TRUE(test::pollUntil([&] { return test::windowText(focusOf(dialog)) == awt::Toolkit::loadString(13); }))
            << "OK has the focus";
        EXPECT_EQ(firstNtStatus, test::windowText(fields[0]));

        // The browse button proposes the field's file under the header filter and takes the chosen
        // file's full path; cancelled, it leaves the field alone.
        HWND select = test::descendantWithText(dialog, awt::Toolkit::loadString(8));
        HWND files = openFileDialog(dialog, select);
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
        SendMessageW(nameBoxes[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(secondNtStatus.c_str()));
        test::dismissBox(files);
        EXPECT_TRUE(test::pollUntil([&] { return test::windowText(fields[0]) == secondNtStatus; }));
        files = openFileDialog(dialog, select);
        ASSERT_NE(nullptr, files);
        test::dismissBox(files, IDCANCEL);
        EXPECT_TRUE(test::pollUntil([&] { return !IsWindow(files); }));
        EXPECT_EQ(secondNtStatus, test::windowText(fields[0]));

        EXPECT_TRUE(test::clickButton(dialog, awt::Toolkit::loadString(13)));
        ASSERT_TRUE(test::pollUntil([&] { return frame.getHWND() != nullptr && IsWindowVisible(frame.getHWND()); }));
        EXPECT_EQ(testheaders::configuration(secondNtStatus, win32), folder.readFile(L"kelvane.cfg"));
        const std::vector<std::wstring> rows = viewOf(frame.getNtStatusPane()).rows;
        EXPECT_EQ(10u, rows.size());
        EXPECT_EQ(L"STATUS_KELVANE_EXTRA", rows.back());
        EXPECT_NE(nullptr, test::descendantWithText(frame.getHWND(), L"NTSTATUS   (total 10 entries)"));
    }));
}

// Kelvane::run in this process when a header is missing: the error box, the settings dialog
// filled in with the keyboard, and the second loading attempt.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FrameProbe.h"
#include "FrameSession.h"
#include "SystemWindows.h"
#include "TempFolder.h"
#include "TestHeaders.h"
#include "app/ErrorCodePane.h"
#include "app/Kelvane.h"
#include "awt/Toolkit.h"

namespace {

HWND focusOfThread(DWORD threadId) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

}  // namespace

TEST(StartupTest, AMissingHeaderLeadsThroughTheSettingsDialogToASecondLoadThatAddsToTheTables) {
    TempFolder folder(L"kelvane-startup");
    const std::wstring firstNtStatus = folder.write(L"ntstatus.h", testheaders::ntStatusHeader);
    const std::wstring missingWin32 = folder.file(L"missing-winerror.h");
    const std::wstring configPath =
        folder.write(L"kelvane.cfg", testheaders::configuration(firstNtStatus, missingWin32));
    // A second ntstatus.h with one more code; both files' codes end up in the table.
    const std::wstring secondNtStatus =
        folder.write(L"ntstatus2.h", "#define STATUS_KELVANE_EXTRA ((NTSTATUS)0xC0FE0002L)\n");
    const std::wstring win32 = folder.write(L"winerror.h", testheaders::win32Header);

    auto frame = std::make_unique<Kelvane>(configPath);
    Kelvane* kelvane = frame.get();
    const int exitCode = runDriven(
        awt::Toolkit::getInstance(), [&] { return kelvane->run(); },
        [&](UiDriver& ui) {
            HWND box = waitForWindowOf(GetCurrentProcessId(), L"Kelvane", L"#32770");
            ASSERT_NE(nullptr, box) << "no box for the missing winerror.h";
            EXPECT_EQ(L"class zeno::FileNotFoundException\n" + missingWin32 + L"\n\nError code: 2\n" + systemTextLine(2),
                      messageBoxText(box));
            PostMessageW(box, WM_COMMAND, IDOK, 0);

            HWND dialog = waitForWindowOf(GetCurrentProcessId(), resourceString(9));
            ASSERT_NE(nullptr, dialog);
            EXPECT_NE(nullptr, descendantWithText(dialog, configPath));
            const std::vector<HWND> fields = descendantsOfClass(dialog, L"Edit");
            ASSERT_EQ(2u, fields.size());
            ASSERT_TRUE(waitFor([&] { return focusOfThread(ui.uiThread()) == fields[0]; }))
                << "the first path field has the focus";

            // The user types both paths and confirms with the keyboard: Tab passes the browse buttons.
            ui.type(secondNtStatus);
            ui.press(VK_TAB);
            ui.press(VK_TAB);
            EXPECT_EQ(fields[1], focusOfThread(ui.uiThread()));
            ui.type(win32);
            ui.press(VK_TAB);
            ui.press(VK_TAB);
            EXPECT_EQ(resourceString(13), textOf(focusOfThread(ui.uiThread())));
            ui.press(VK_SPACE);

            ASSERT_TRUE(waitShown(ui, kelvane));
            EXPECT_EQ(testheaders::configuration(secondNtStatus, win32), folder.read(L"kelvane.cfg"));
            EXPECT_EQ(resourceString(1) + L" - " + configPath, textOf(kelvane->getHWND()));
            const PaneView ntStatus = ui.get<PaneView>([&] { return viewOf(kelvane->getNtStatusPane()); });
            EXPECT_EQ(testheaders::ntStatusCount + 1, ntStatus.rows.size());
            EXPECT_EQ(L"STATUS_KELVANE_EXTRA", ntStatus.rows.back());
            EXPECT_NE(nullptr, descendantWithText(kelvane->getHWND(), L"NTSTATUS   (total 10 entries)"));
        });
    frame.reset();
    EXPECT_EQ(0, exitCode);
}

TEST(StartupTest, ClosingTheSettingsDialogEndsRunWithZeroWithoutShowingTheWindow) {
    TempFolder folder(L"kelvane-close");
    const std::wstring configPath = folder.file(L"absent.cfg");
    auto frame = std::make_unique<Kelvane>(configPath);
    Kelvane* kelvane = frame.get();
    bool frameShown = false;
    const int exitCode = runDriven(
        awt::Toolkit::getInstance(), [&] { return kelvane->run(); },
        [&](UiDriver&) {
            HWND box = waitForWindowOf(GetCurrentProcessId(), L"Kelvane", L"#32770");
            ASSERT_NE(nullptr, box);
            EXPECT_EQ(L"class zeno::FileNotFoundException\n" + configPath + L"\n\nError code: 2\n" + systemTextLine(2),
                      messageBoxText(box));
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            HWND dialog = waitForWindowOf(GetCurrentProcessId(), resourceString(9));
            ASSERT_NE(nullptr, dialog);
            // The close box: the dialog is hidden and not confirmed.
            PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            waitFor([&] {
                frameShown = frameShown || hasWindowStartingWith(GetCurrentProcessId(), L"Kelvane - ");
                return !IsWindowVisible(dialog);
            });
        });
    EXPECT_FALSE(frameShown);
    EXPECT_EQ(nullptr, kelvane->getHWND()) << "the main window was never created";
    frame.reset();
    EXPECT_EQ(0, exitCode);
    EXPECT_FALSE(folder.exists(L"absent.cfg"));
}

namespace {

struct OwnedDialogSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK matchOwnedDialog(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<OwnedDialogSearch*>(parameter);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == search->owner && std::wstring(name) == L"#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The system's file dialog that the settings dialog opened.
HWND waitForFileDialog(HWND owner) {
    OwnedDialogSearch search = {owner, nullptr};
    waitFor([&] {
        EnumThreadWindows(GetWindowThreadProcessId(owner, nullptr), matchOwnedDialog, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

}  // namespace

TEST(StartupTest, TheSelectButtonProposesTheFieldsPathAndTakesTheChosenFile) {
    TempFolder folder(L"kelvane-browse");
    const std::wstring proposed = folder.write(L"ntstatus.h", testheaders::ntStatusHeader);
    const std::wstring chosen = folder.write(L"other.h", testheaders::ntStatusHeader);
    const std::wstring configPath = folder.file(L"absent.cfg");
    auto frame = std::make_unique<Kelvane>(configPath);
    Kelvane* kelvane = frame.get();
    const int exitCode = runDriven(
        awt::Toolkit::getInstance(), [&] { return kelvane->run(); },
        [&](UiDriver&) {
            HWND box = waitForWindowOf(GetCurrentProcessId(), L"Kelvane", L"#32770");
            ASSERT_NE(nullptr, box);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            HWND dialog = waitForWindowOf(GetCurrentProcessId(), resourceString(9));
            ASSERT_NE(nullptr, dialog);
            const std::vector<HWND> fields = descendantsOfClass(dialog, L"Edit");
            ASSERT_EQ(2u, fields.size());
            SendMessageW(fields[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(proposed.c_str()));
            HWND select = descendantWithText(dialog, resourceString(8));
            ASSERT_NE(nullptr, select);

            // Choosing a file puts its full path into the field.
            PostMessageW(select, BM_CLICK, 0, 0);
            HWND files = waitForFileDialog(dialog);
            ASSERT_NE(nullptr, files) << "no file dialog";
            EXPECT_NE(nullptr, descendantWithText(files, L"ntstatus.h")) << "the field's file is proposed";
            bool headerFilter = false;
            for (HWND combo : descendantsOfClass(files, L"ComboBox")) {
                const std::wstring text = textOf(combo);
                const std::wstring pattern = L" (*.h)";
                headerFilter = headerFilter || (text.size() > pattern.size() &&
                                                text.compare(text.size() - pattern.size(), pattern.size(), pattern) == 0);
            }
            EXPECT_TRUE(headerFilter) << "the dialog offers the header files' filter";
            HWND nameBox = nullptr;
            for (HWND edit : descendantsOfClass(files, L"Edit")) {
                if (textOf(edit) == L"ntstatus.h") {
                    nameBox = edit;
                }
            }
            ASSERT_NE(nullptr, nameBox);
            SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
            PostMessageW(files, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(waitFor([&] { return textOf(fields[0]) == chosen; })) << testheaders::narrow(textOf(fields[0]));

            // Cancelling leaves the field as it was.
            PostMessageW(select, BM_CLICK, 0, 0);
            files = waitForFileDialog(dialog);
            ASSERT_NE(nullptr, files);
            PostMessageW(files, WM_COMMAND, IDCANCEL, 0);
            EXPECT_TRUE(waitFor([&] { return !IsWindow(files); }));
            EXPECT_EQ(chosen, textOf(fields[0]));

            PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
    frame.reset();
    EXPECT_EQ(0, exitCode);
}

// The real Kelvane.exe, started as its own process and played by the test as a user: the start-up
// paths through its message boxes and its settings dialog, and the exit code each ends with.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "awt/Toolkit.h"
#include "zeno/tests/SystemMessage.h"

namespace {

const std::wstring missing = L"class zeno::FileNotFoundException", io = L"class zeno::IOException";

// What the program's error box shows for an exception.
std::wstring errorBoxText(const std::wstring& kind, const std::wstring& message, DWORD code) {
    const std::wstring system = zeno_test::systemMessage(code).text,
                       text = kind + L"\n" + message + L"\n\nError code: " + std::to_wstring(static_cast<int>(code));
    return system.empty() ? text : text + L"\n" + system.substr(0, system.find_last_not_of(L"\r\n") + 1);
}

// Waits for the process's message box with this title, checks its text and confirms it.
void confirmBox(DWORD processId, const std::wstring& title, const std::wstring& expectedText) {
    HWND box = test::waitForWindow(title, L"#32770", processId, 15000);
    ASSERT_NE(nullptr, box) << "no box " << testing::PrintToString(title);
    EXPECT_EQ(expectedText, test::messageBoxText(box));
    test::dismissBox(box);
}

// Confirms the program's box for a missing file and returns the settings dialog that follows.
HWND settingsDialogAfter(DWORD processId, const std::wstring& missingBox) {
    confirmBox(processId, L"Kelvane", missingBox);
    return test::waitForWindow(awt::Toolkit::loadString(9), nullptr, processId, 15000);
}

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

// Runs Kelvane.exe with the command line in the folder while the script plays the user. Returns
// the exit code (STILL_ACTIVE: it did not end in time and was ended) and whether a main window
// came up.
std::pair<DWORD, bool> runProgram(const std::wstring& arguments, const std::wstring& folder,
                                  const std::function<void(DWORD processId)>& script) {
    wchar_t path[MAX_PATH] = {};
    const std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    std::wstring command = L"\"" + self.substr(0, self.find_last_of(L"\\/") + 1) + L"Kelvane.exe\"" +
                           (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        ADD_FAILURE() << "Kelvane.exe did not start";
        return {STILL_ACTIVE, false};
    }
    script(process.dwProcessId);
    std::pair<DWORD, bool> result = {STILL_ACTIVE, false};
    test::pollUntil([&] {
        result.second = result.second || test::findWindow(L"Kelvane - ", nullptr, process.dwProcessId, true);
        return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
    }, 20000);
    GetExitCodeProcess(process.hProcess, &result.first);
    TerminateProcess(process.hProcess, result.first);
    WaitForSingleObject(process.hProcess, 20000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

}  // namespace

TEST(ProgramTest, EachWayOutOfTheStartUpShowsItsBoxesAndEndsWithItsExitCode) {
    TempFolder folder(L"kelvane-program");
    const std::wstring emptyHeader = folder.writeFile(L"ntstatus.h", "");
    const std::wstring emptyHeaderConfig = folder.writeFile(
        L"empty.cfg", testheaders::configuration(emptyHeader, folder.writeFile(L"winerror.h", testheaders::win32Header)));
    const std::wstring unwritable = folder.file(L"missing\\kelvane.cfg");
    // What the system answers when a file of zero bytes is mapped, and when a path holds quotes.
    HANDLE file = CreateFileW(emptyHeader.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_EQ(nullptr, CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr));
    const DWORD mappingError = GetLastError();
    CloseHandle(file);
    const std::wstring quoted = L"\"" + emptyHeaderConfig + L"\"";
    ASSERT_EQ(INVALID_HANDLE_VALUE, CreateFileW(quoted.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    const DWORD quotedError = GetLastError();
    ASSERT_TRUE(quotedError != ERROR_FILE_NOT_FOUND && quotedError != ERROR_PATH_NOT_FOUND) << quotedError;
    const UINT OK = 13, CANCEL = 14;
    // Each case: the command line, the box for a missing file (empty: none) and the settings
    // dialog's button then pressed, the fatal-error box (empty: none) and the exit code.
    const struct {
        std::wstring arguments, missingBox; UINT button; std::wstring fatalBox; DWORD exitCode;
    } cases[] = {
        {L"", errorBoxText(missing, L"kelvane.cfg", ERROR_FILE_NOT_FOUND), CANCEL, L"", 0},
        {emptyHeaderConfig, L"", 0, errorBoxText(io, L"::CreateFileMapping(" + emptyHeader + L") failed", mappingError),
         mappingError},
        {quoted, L"", 0, errorBoxText(io, L"::CreateFile(" + quoted + L") failed", quotedError), quotedError},
        // Writing the configuration fails: fatal, not taken for a missing file.
        {unwritable, errorBoxText(missing, unwritable, ERROR_PATH_NOT_FOUND), OK,
         errorBoxText(missing, unwritable, ERROR_PATH_NOT_FOUND), ERROR_PATH_NOT_FOUND},
    };
    for (const auto& run : cases) {
        SCOPED_TRACE("command line " + testing::PrintToString(run.arguments));
        const auto [exitCode, mainWindowSeen] = runProgram(run.arguments, folder.path(), [&](DWORD processId) {
            if (!run.missingBox.empty()) {
                HWND dialog = settingsDialogAfter(processId, run.missingBox);
                ASSERT_NE(nullptr, dialog) << "no settings dialog";
                EXPECT_NE(nullptr, test::descendantWithText(dialog, run.arguments.empty() ? L"kelvane.cfg" : run.arguments));
                EXPECT_TRUE(test::clickButton(dialog, awt::Toolkit::loadString(run.button)));
            }
            if (!run.fatalBox.empty()) {
                confirmBox(processId, L"Kelvane fatal error", run.fatalBox);
            }
        });
        EXPECT_EQ(run.exitCode, exitCode);
        EXPECT_FALSE(mainWindowSeen);
    }
    EXPECT_FALSE(folder.exists(L"kelvane.cfg")) << "Cancel writes nothing";
}

// A missing header: the error box, the settings dialog filled in with the keyboard and its file
// dialog, and the second loading attempt, which adds to the tables of the first.
TEST(ProgramTest, AMissingHeaderLeadsThroughTheSettingsDialogToASecondLoadThatAddsToTheTables) {
    TempFolder folder(L"kelvane-startup");
    const std::wstring firstNtStatus = folder.writeFile(L"ntstatus.h", testheaders::ntStatusHeader);
    const std::wstring missingWin32 = folder.file(L"missing-winerror.h");
    const std::wstring configPath = folder.writeFile(L"kelvane.cfg", testheaders::configuration(firstNtStatus, missingWin32));
    const std::wstring secondNtStatus =
        folder.writeFile(L"ntstatus2.h", "#define STATUS_KELVANE_EXTRA ((NTSTATUS)0xC0FE0002L)\n");
    const std::wstring win32 = folder.writeFile(L"winerror.h", testheaders::win32Header);

    EXPECT_EQ(0u, runProgram(configPath, folder.path(), [&](DWORD processId) {
        HWND dialog = settingsDialogAfter(processId, errorBoxText(missing, missingWin32, ERROR_FILE_NOT_FOUND));
        ASSERT_NE(nullptr, dialog) << "no settings dialog";
        EXPECT_NE(nullptr, test::descendantWithText(dialog, configPath));
        EXPECT_NE(nullptr, test::descendantWithText(dialog, awt::Toolkit::loadString(10)));
        EXPECT_EQ(0, GetWindowLongW(dialog, GWL_STYLE) & WS_THICKFRAME) << "the dialog cannot be resized";
        const std::vector<HWND> fields = test::descendants(dialog, L"Edit");
        ASSERT_EQ(2u, fields.size());
        EXPECT_EQ(L"", test::windowText(fields[0]) + test::windowText(fields[1])) << "the path fields start empty";
        ASSERT_TRUE(test::pollUntil([&] { return focusOf(dialog) == fields[0] && GetForegroundWindow() == dialog; }))
            << "the first path field has the focus";

        // Both paths typed with the keyboard: Tab passes the browse buttons and reaches OK.
        for (const std::wstring& path : {firstNtStatus, win32}) {
            test::typeText(path);
            test::press(VK_TAB);
            test::press(VK_TAB);
        }
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
        std::wstring comboTexts;
        for (HWND combo : test::descendants(files, L"ComboBox")) {
            comboTexts += test::windowText(combo) + L"\n";
        }
        EXPECT_NE(std::wstring::npos, comboTexts.find(L" (*.h)\n")) << "the dialog offers the header files' filter";
        SendMessageW(nameBoxes[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(secondNtStatus.c_str()));
        test::dismissBox(files);
        EXPECT_TRUE(test::pollUntil([&] { return test::windowText(fields[0]) == secondNtStatus; }));
        files = openFileDialog(dialog, select);
        ASSERT_NE(nullptr, files);
        test::dismissBox(files, IDCANCEL);
        EXPECT_TRUE(test::pollUntil([&] { return !IsWindow(files); }));
        EXPECT_EQ(secondNtStatus, test::windowText(fields[0]));

        EXPECT_TRUE(test::clickButton(dialog, awt::Toolkit::loadString(13)));
        HWND frame = test::waitForWindow(L"Kelvane - " + configPath, nullptr, processId, 15000);
        ASSERT_NE(nullptr, frame) << "no main window";
        EXPECT_EQ(testheaders::configuration(secondNtStatus, win32), folder.readFile(L"kelvane.cfg"));
        EXPECT_NE(nullptr, test::descendantWithText(frame, L"NTSTATUS   (total 10 entries)"));
        const std::vector<HWND> lists = test::descendants(frame, L"ListBox");
        ASSERT_FALSE(lists.empty());
        EXPECT_EQ(9, SendMessageW(lists[0], LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(L"STATUS_KELVANE_EXTRA")));
        PostMessageW(frame, WM_CLOSE, 0, 0);
    }).first);
}

// The real Kelvane.exe, started as its own process: the start-up paths that end the program, seen
// through its message boxes, its settings dialog and its exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "AppTestSupport.h"
#include "awt/Toolkit.h"

namespace {

// Runs Kelvane.exe with the command line in the folder while the script plays the user. Returns
// the exit code (STILL_ACTIVE: it did not end in time and was ended) and notes whether a main
// window came up.
DWORD runProgram(const std::wstring& arguments, const std::wstring& folder,
                 const std::function<void(DWORD processId)>& script, bool* mainWindowSeen) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring commandLine(path);
    commandLine = L"\"" + commandLine.substr(0, commandLine.find_last_of(L"\\/") + 1) + L"Kelvane.exe\"" +
                  (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        ADD_FAILURE() << "Kelvane.exe did not start";
        return STILL_ACTIVE;
    }
    script(process.dwProcessId);
    *mainWindowSeen = false;
    test::pollUntil([&] {
        *mainWindowSeen = *mainWindowSeen || test::findWindow(L"Kelvane - ", nullptr, process.dwProcessId, true);
        return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
    }, 20000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    TerminateProcess(process.hProcess, code);
    WaitForSingleObject(process.hProcess, 20000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
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
    const std::wstring missing = L"class zeno::FileNotFoundException";
    const std::wstring io = L"class zeno::IOException";
    const UINT OK = 13, CANCEL = 14;
    // Each case: the command line, the box for a missing file (empty: none) and the settings
    // dialog's button then pressed, the fatal-error box (empty: none) and the exit code.
    const struct {
        std::wstring arguments;
        std::wstring missingBox;
        UINT button;
        std::wstring fatalBox;
        DWORD exitCode;
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
        SCOPED_TRACE("command line \"" + std::string(run.arguments.begin(), run.arguments.end()) + "\"");
        bool mainWindowSeen = true;
        EXPECT_EQ(run.exitCode, runProgram(run.arguments, folder.path(), [&](DWORD processId) {
            if (!run.missingBox.empty()) {
                HWND dialog = settingsDialogAfterErrorBox(processId, run.missingBox);
                ASSERT_NE(nullptr, dialog) << "no settings dialog";
                EXPECT_NE(nullptr, test::descendantWithText(dialog, run.arguments.empty() ? L"kelvane.cfg" : run.arguments));
                EXPECT_TRUE(test::clickButton(dialog, awt::Toolkit::loadString(run.button)));
            }
            if (!run.fatalBox.empty()) {
                HWND box = test::waitForWindow(L"Kelvane fatal error", L"#32770", processId, 15000);
                ASSERT_NE(nullptr, box) << "no fatal-error box";
                EXPECT_EQ(run.fatalBox, test::messageBoxText(box));
                test::dismissBox(box);
            }
        }, &mainWindowSeen));
        EXPECT_FALSE(mainWindowSeen);
    }
    EXPECT_FALSE(folder.exists(L"kelvane.cfg")) << "Cancel writes nothing";
}

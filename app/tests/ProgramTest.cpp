// The real Kelvane.exe, started as its own process: the start-up paths that end the program, seen
// through its message boxes, its settings dialog and its exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "SystemWindows.h"
#include "TempFolder.h"
#include "TestHeaders.h"
#include "awt/Toolkit.h"

namespace {

const DWORD EXIT_TIMEOUT_MS = 20000;

// One run of Kelvane.exe; a run that outlives its test is ended.
class ProgramRun {
public:
    ProgramRun(const std::wstring& arguments, const std::wstring& workingFolder) {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring program(path);
        program.erase(program.find_last_of(L"\\/") + 1);
        std::wstring commandLine = L"\"" + program + L"Kelvane.exe\"" + (arguments.empty() ? L"" : L" " + arguments);
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        started = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, workingFolder.c_str(),
                                 &startup, &process) != FALSE;
    }
    ~ProgramRun() {
        if (started) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process.hProcess, 99);
                WaitForSingleObject(process.hProcess, EXIT_TIMEOUT_MS);
            }
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool isStarted() const { return started; }
    DWORD id() const { return process.dwProcessId; }

    // The exit code, or STILL_ACTIVE when the program did not end in time; notes whether a main
    // window came up meanwhile.
    DWORD waitForExit(bool* mainWindowSeen = nullptr) {
        bool seen = false;
        waitFor([&] {
            seen = seen || hasWindowStartingWith(process.dwProcessId, L"Kelvane - ");
            return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
        }, EXIT_TIMEOUT_MS);
        if (mainWindowSeen != nullptr) {
            *mainWindowSeen = seen;
        }
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }

private:
    bool started = false;
    PROCESS_INFORMATION process = {};
};

}  // namespace

TEST(ProgramTest, CancelInTheSettingsDialogForAMissingConfigurationEndsWithExitCodeZero) {
    TempFolder folder(L"kelvane-cancel");
    ProgramRun program(L"", folder.path());
    ASSERT_TRUE(program.isStarted());

    HWND dialog = settingsDialogAfterErrorBox(
        program.id(), errorBoxText(L"class zeno::FileNotFoundException", L"kelvane.cfg", ERROR_FILE_NOT_FOUND));
    ASSERT_NE(nullptr, dialog) << "no settings dialog";
    EXPECT_NE(nullptr, descendantWithText(dialog, L"kelvane.cfg")) << "the dialog names the configuration file";
    EXPECT_NE(nullptr, descendantWithText(dialog, awt::Toolkit::loadString(10)));
    EXPECT_EQ(0, GetWindowLongW(dialog, GWL_STYLE) & WS_THICKFRAME) << "the dialog cannot be resized";
    const std::vector<HWND> fields = descendants(dialog, L"Edit");
    EXPECT_EQ(2u, fields.size());
    for (HWND field : fields) {
        EXPECT_EQ(L"", textOf(field)) << "the path fields start empty";
    }
    clickButton(dialog, awt::Toolkit::loadString(14));

    bool mainWindowSeen = true;
    EXPECT_EQ(0u, program.waitForExit(&mainWindowSeen));
    EXPECT_FALSE(mainWindowSeen);
    EXPECT_FALSE(folder.exists(L"kelvane.cfg")) << "Cancel writes nothing";
}

TEST(ProgramTest, AZeroLengthHeaderEndsWithTheFatalErrorBoxAndItsErrorCode) {
    TempFolder folder(L"kelvane-empty");
    const std::wstring ntStatusPath = folder.writeFile(L"ntstatus.h", "");
    const std::wstring win32Path = folder.writeFile(L"winerror.h", testheaders::win32Header);
    const std::wstring configPath = folder.writeFile(L"settings.cfg", testheaders::configuration(ntStatusPath, win32Path));

    // What the system answers when a file of zero bytes is mapped.
    HANDLE file = CreateFileW(ntStatusPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    const DWORD mappingError = GetLastError();
    ASSERT_EQ(nullptr, mapping);
    CloseHandle(file);

    ProgramRun program(configPath, folder.path());
    ASSERT_TRUE(program.isStarted());
    HWND box = waitForWindowOf(program.id(), L"Kelvane fatal error", L"#32770");
    ASSERT_NE(nullptr, box) << "no fatal-error box";
    EXPECT_EQ(errorBoxText(L"class zeno::IOException", L"::CreateFileMapping(" + ntStatusPath + L") failed",
                           mappingError),
              messageBoxText(box));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    bool mainWindowSeen = true;
    EXPECT_EQ(mappingError, program.waitForExit(&mainWindowSeen));
    EXPECT_FALSE(mainWindowSeen);
}

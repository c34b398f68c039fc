// The real Kelvane.exe, started as its own process: the start-up paths that end the program, seen
// through its message boxes, its settings dialog and its exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "FrameProbe.h"
#include "SystemWindows.h"
#include "TempFolder.h"
#include "TestHeaders.h"

namespace {

const DWORD EXIT_TIMEOUT_MS = 20000;

std::wstring programPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + L"Kelvane.exe";
}

// The text that showMessageBox puts together for an exception (an empty message has no line).
std::wstring boxText(const std::wstring& classLine, const std::wstring& message, DWORD code) {
    std::wstring text = classLine;
    if (!message.empty()) {
        text += L"\n" + message;
    }
    text += L"\n\nError code: " + std::to_wstring(static_cast<int>(code));
    const std::wstring system = systemTextLine(code);
    if (!system.empty()) {
        text += L"\n" + system;
    }
    return text;
}

// One run of Kelvane.exe; a run that outlives its test is ended.
class ProgramRun {
public:
    ProgramRun(const std::wstring& arguments, const std::wstring& workingFolder) {
        std::wstring commandLine = L"\"" + programPath() + L"\"";
        if (!arguments.empty()) {
            commandLine += L" " + arguments;
        }
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
    bool hasEnded() const { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }

    // The exit code, or STILL_ACTIVE when the program did not end in time.
    DWORD waitForExit() {
        if (WaitForSingleObject(process.hProcess, EXIT_TIMEOUT_MS) != WAIT_OBJECT_0) {
            return STILL_ACTIVE;
        }
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }

private:
    bool started = false;
    PROCESS_INFORMATION process = {};
};

void clickButton(HWND dialog, const std::wstring& caption) {
    HWND button = descendantWithText(dialog, caption);
    ASSERT_NE(nullptr, button) << "no button " << testheaders::narrow(caption);
    PostMessageW(button, BM_CLICK, 0, 0);
}

}  // namespace

TEST(ProgramTest, CancelInTheSettingsDialogForAMissingConfigurationEndsWithExitCodeZero) {
    TempFolder folder(L"kelvane-cancel");
    ProgramRun program(L"", folder.path());
    ASSERT_TRUE(program.isStarted());

    HWND box = waitForWindowOf(program.id(), L"Kelvane", L"#32770");
    ASSERT_NE(nullptr, box) << "no message box for the missing configuration file";
    EXPECT_EQ(boxText(L"class zeno::FileNotFoundException", L"kelvane.cfg", ERROR_FILE_NOT_FOUND), messageBoxText(box));
    PostMessageW(box, WM_COMMAND, IDOK, 0);

    HWND dialog = waitForWindowOf(program.id(), resourceString(9));
    ASSERT_NE(nullptr, dialog) << "no settings dialog";
    EXPECT_NE(nullptr, descendantWithText(dialog, L"kelvane.cfg")) << "the dialog names the configuration file";
    EXPECT_NE(nullptr, descendantWithText(dialog, resourceString(10)));
    EXPECT_EQ(2u, descendantsOfClass(dialog, L"Edit").size());
    EXPECT_EQ(0, GetWindowLongW(dialog, GWL_STYLE) & WS_THICKFRAME) << "the dialog cannot be resized";
    for (HWND field : descendantsOfClass(dialog, L"Edit")) {
        EXPECT_EQ(L"", textOf(field)) << "the path fields start empty";
    }
    clickButton(dialog, resourceString(14));

    bool mainWindowSeen = false;
    waitFor([&] {
        mainWindowSeen = mainWindowSeen || hasWindowStartingWith(program.id(), L"Kelvane - ");
        return program.hasEnded();
    }, EXIT_TIMEOUT_MS);
    EXPECT_EQ(0u, program.waitForExit());
    EXPECT_FALSE(mainWindowSeen);
    EXPECT_FALSE(folder.exists(L"kelvane.cfg")) << "Cancel writes nothing";
}

TEST(ProgramTest, OkInTheSettingsDialogWritesTheConfigurationAndLoadsAgain) {
    TempFolder folder(L"kelvane-ok");
    const std::wstring ntStatusPath = folder.write(L"ntstatus.h", testheaders::ntStatusHeader);
    const std::wstring win32Path = folder.write(L"winerror.h", testheaders::win32Header);
    ProgramRun program(L"", folder.path());
    ASSERT_TRUE(program.isStarted());

    HWND box = waitForWindowOf(program.id(), L"Kelvane", L"#32770");
    ASSERT_NE(nullptr, box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    HWND dialog = waitForWindowOf(program.id(), resourceString(9));
    ASSERT_NE(nullptr, dialog);
    const std::vector<HWND> fields = descendantsOfClass(dialog, L"Edit");
    ASSERT_EQ(2u, fields.size());
    SendMessageW(fields[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ntStatusPath.c_str()));
    SendMessageW(fields[1], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(win32Path.c_str()));
    clickButton(dialog, resourceString(13));

    HWND frame = waitForWindowOf(program.id(), L"Kelvane - kelvane.cfg");
    ASSERT_NE(nullptr, frame) << "the main window did not come up after OK";
    EXPECT_EQ(testheaders::configuration(ntStatusPath, win32Path), folder.read(L"kelvane.cfg"));
    EXPECT_NE(nullptr, descendantWithText(frame, L"NTSTATUS   (total 9 entries)"));

    PostMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, program.waitForExit());
}

TEST(ProgramTest, OkWithEmptyFieldsWritesEmptyPathsWhichThenFailToOpen) {
    TempFolder folder(L"kelvane-empty-ok");
    ProgramRun program(L"", folder.path());
    ASSERT_TRUE(program.isStarted());
    HWND box = waitForWindowOf(program.id(), L"Kelvane", L"#32770");
    ASSERT_NE(nullptr, box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    HWND dialog = waitForWindowOf(program.id(), resourceString(9));
    ASSERT_NE(nullptr, dialog);
    clickButton(dialog, resourceString(13));

    // What the system answers for an empty path decides how the next attempt fails.
    const HANDLE empty = CreateFileW(L"", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                     nullptr);
    const DWORD emptyPathError = GetLastError();
    ASSERT_EQ(INVALID_HANDLE_VALUE, empty);
    const bool missing = emptyPathError == ERROR_FILE_NOT_FOUND || emptyPathError == ERROR_PATH_NOT_FOUND;
    box = waitForWindowOf(program.id(), missing ? L"Kelvane" : L"Kelvane fatal error", L"#32770");
    ASSERT_NE(nullptr, box) << "no box for the empty header path";
    EXPECT_EQ("ntstatus.h=\r\nwinerror.h=\r\n", folder.read(L"kelvane.cfg"));
    if (missing) {
        EXPECT_EQ(boxText(L"class zeno::FileNotFoundException", L"", emptyPathError), messageBoxText(box));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        dialog = waitForWindowOf(program.id(), resourceString(9));
        ASSERT_NE(nullptr, dialog) << "the settings dialog is offered again";
        clickButton(dialog, resourceString(14));
        EXPECT_EQ(0u, program.waitForExit());
    } else {
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(emptyPathError, program.waitForExit());
    }
}

TEST(ProgramTest, AZeroLengthHeaderEndsWithTheFatalErrorBoxAndItsErrorCode) {
    TempFolder folder(L"kelvane-empty");
    const std::wstring ntStatusPath = folder.write(L"ntstatus.h", "");
    const std::wstring win32Path = folder.write(L"winerror.h", testheaders::win32Header);
    const std::wstring configPath = folder.write(L"settings.cfg", testheaders::configuration(ntStatusPath, win32Path));

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
    EXPECT_EQ(boxText(L"class zeno::IOException", L"::CreateFileMapping(" + ntStatusPath + L") failed", mappingError),
              messageBoxText(box));
    EXPECT_FALSE(hasWindowStartingWith(program.id(), L"Kelvane - "));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(mappingError, program.waitForExit());
}

TEST(ProgramTest, AQuotedPathIsTakenWithItsQuotes) {
    TempFolder folder(L"kelvane-quoted");
    const std::wstring configPath = testheaders::writeAll(folder);
    ProgramRun program(L"\"" + configPath + L"\"", folder.path());
    ASSERT_TRUE(program.isStarted());

    // The quotes are part of the name the platform is asked to open; it refuses such a name.
    HWND box = nullptr;
    waitFor([&] {
        box = findWindowOf(program.id(), L"Kelvane fatal error", L"#32770");
        if (box == nullptr) {
            box = findWindowOf(program.id(), L"Kelvane", L"#32770");
        }
        return box != nullptr;
    }, 15000);
    ASSERT_NE(nullptr, box);
    const std::wstring text = messageBoxText(box);
    EXPECT_NE(std::wstring::npos, text.find(L"\"" + configPath + L"\"")) << testheaders::narrow(text);
    EXPECT_FALSE(hasWindowStartingWith(program.id(), L"Kelvane - "));
    const bool fatal = textOf(box) == L"Kelvane fatal error";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    if (fatal) {
        EXPECT_NE(0u, program.waitForExit());
    } else {
        HWND dialog = waitForWindowOf(program.id(), resourceString(9));
        ASSERT_NE(nullptr, dialog);
        EXPECT_NE(nullptr, descendantWithText(dialog, L"\"" + configPath + L"\""));
        clickButton(dialog, resourceString(14));
        EXPECT_EQ(0u, program.waitForExit());
    }
}

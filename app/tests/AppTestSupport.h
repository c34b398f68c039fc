#pragma once

// What the app tests share: small handwritten headers, the program's windows as a user sees them,
// the system's own texts to compare them with, and a way to drive Kelvane::run, which holds its
// thread in its loops.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "awt/tests/support/TestSupport.h"
#include "zeno/tests/TemporaryDirectory.h"

class ErrorCodePane;
class Kelvane;

using TempFolder = zeno_test::TemporaryDirectory;

// Headers whose codes cover every mapping case of the main window:
//   NTSTATUS 0x103 and 0xC0000005 map to one Win32 code each, present in winerror.h;
//   0xC000001E, 0xC000001F and 0xC0000022 all map to ERROR_ACCESS_DENIED (5);
//   0xC0000001 maps to ERROR_GEN_FAILURE (31), which winerror.h does not define;
//   0xC0FE0001 has no Win32 counterpart; nothing maps to ERROR_INVALID_FUNCTION (1);
//   ERROR_INVALID_HANDLE and ERROR_KELVANE_HANDLE both name 6.
namespace testheaders {
extern const char* const ntStatusHeader;
extern const char* const win32Header;
// The configuration file text for two header paths, as the program writes it.
std::string configuration(const std::wstring& ntStatusPath, const std::wstring& win32Path);
// Writes ntstatus.h, winerror.h and kelvane.cfg into the folder; returns the configuration path.
std::wstring writeAll(TempFolder& folder);
}  // namespace testheaders

// What the native windows of one pane show.
struct PaneView {
    std::uint32_t currentCode = 0;
    std::wstring name;
    std::wstring decimal;
    std::wstring hex;
    std::wstring message;
    std::vector<std::wstring> rows;
    int selectedRow = -1;
};

PaneView viewOf(ErrorCodePane* pane);
// The system's message text for a code, from the module's message table (L"ntdll.dll") or the
// system's own.
std::wstring systemText(DWORD code, const wchar_t* module = nullptr);
// What the program's error box shows for an exception (an empty message has no line).
std::wstring errorBoxText(const std::wstring& classLine, const std::wstring& message, DWORD code);
// Waits for the program's error box, checks its text, confirms it and returns the settings dialog
// that follows (null when it did not come up).
HWND settingsDialogAfterErrorBox(DWORD processId, const std::wstring& expectedText);

// Runs frame.run() on this thread and the script on a second one; when the script is done, the
// windows it left open are closed until run returns. Returns run's result.
int runScripted(Kelvane& frame, const std::function<void()>& script);

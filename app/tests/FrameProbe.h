#pragma once

// The program's windows as a user sees them, the system's own texts to compare them with, and a
// way to drive Kelvane::run, which holds its thread in its loops.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "awt/tests/support/TestSupport.h"

class ErrorCodePane;
class Kelvane;

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
// The text of the status bar's first part.
std::wstring statusTextOf(Kelvane* frame);

std::wstring systemWin32Text(DWORD code);
std::wstring systemNtStatusText(DWORD code);
// What the program's error box shows for an exception (an empty message has no line).
std::wstring errorBoxText(const std::wstring& classLine, const std::wstring& message, DWORD code);
// Waits for the program's error box, checks its text, confirms it and returns the settings dialog
// that follows (null when it did not come up).
HWND settingsDialogAfterErrorBox(DWORD processId, const std::wstring& expectedText);

// Runs frame.run() on this thread and the script on a second one; when the script is done, the
// windows it left open are closed until run returns. Returns run's result.
int runScripted(Kelvane& frame, const std::function<void()>& script);

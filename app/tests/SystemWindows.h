#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Finding and reading windows of any process by plain Win32 calls: message boxes, dialogs and
// their controls, as a user (or a test of the real program) sees them.

// Polls the condition on the calling thread until it holds or the time is up.
bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

// Waits for a visible top-level window of the process with exactly this title (and class, when
// given); null when none came up in time.
HWND waitForWindowOf(DWORD processId, const std::wstring& title, const wchar_t* className = nullptr,
                     DWORD timeoutMs = 15000);
// Whether the process has a visible top-level window whose title starts with the prefix.
bool hasWindowStartingWith(DWORD processId, const std::wstring& prefix);

// The text of a window of any process (WM_GETTEXT, bounded in time).
std::wstring textOf(HWND window);
// All descendants of the class (any class when null) and with the text (any text when null).
std::vector<HWND> descendants(HWND parent, const wchar_t* className, const std::wstring* text = nullptr);
HWND descendantWithText(HWND parent, const std::wstring& text);
std::wstring messageBoxText(HWND box);

// The system's texts, fetched directly, to compare what the program shows with.
std::wstring systemWin32Text(DWORD code);
std::wstring systemNtStatusText(DWORD code);
// What the program's error box shows for an exception (an empty message has no line).
std::wstring errorBoxText(const std::wstring& classLine, const std::wstring& message, DWORD code);

// Waits for the program's error box, checks its text, confirms it and returns the settings dialog
// that follows (null when it did not come up).
HWND settingsDialogAfterErrorBox(DWORD processId, const std::wstring& expectedText);
// Clicks the dialog's button with this caption.
void clickButton(HWND dialog, const std::wstring& caption);

#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Finding and reading windows of any process by plain Win32 calls: message boxes, dialogs and
// their controls, as a user (or a test of the real program) sees them.

// Polls the condition on the calling thread until it holds or the time is up.
bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

// A visible top-level window of the process with exactly this title (and class, when given).
HWND findWindowOf(DWORD processId, const std::wstring& title, const wchar_t* className = nullptr);
// Waits for such a window; null when none came up in time.
HWND waitForWindowOf(DWORD processId, const std::wstring& title, const wchar_t* className = nullptr,
                     DWORD timeoutMs = 15000);
// Whether the process has any visible top-level window whose title starts with the prefix.
bool hasWindowStartingWith(DWORD processId, const std::wstring& prefix);

// The text of a window of any process (WM_GETTEXT, bounded in time).
std::wstring textOf(HWND window);
// All descendants of a window of the given class, in creation order.
std::vector<HWND> descendantsOfClass(HWND parent, const wchar_t* className);
// The first descendant with exactly this text, or null.
HWND descendantWithText(HWND parent, const std::wstring& text);
// The text that a message box shows.
std::wstring messageBoxText(HWND box);
// The system's text for a Win32 error as a message box shows it (without the final line end).
std::wstring systemTextLine(DWORD code);

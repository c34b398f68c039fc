#pragma once

// Finding and reading windows as a user sees them, of this process or another: top-level
// windows, message boxes, dialogs and their controls.

#include <string>
#include <vector>

#include <windows.h>

namespace test {

// The text of any window (WM_GETTEXT with a time limit, so a hung window gives "").
std::wstring windowText(HWND window);
std::wstring className(HWND window);

// A visible top-level window of the process with this title (or title prefix) and class (any
// when null); null when there is none.
HWND findWindow(const std::wstring& title, const wchar_t* className = nullptr,
                DWORD processId = GetCurrentProcessId(), bool prefixOnly = false);
// From another thread than the window's: waits until findWindow finds it.
HWND waitForWindow(const std::wstring& title, const wchar_t* className = nullptr,
                   DWORD processId = GetCurrentProcessId(), DWORD limitMs = 10000);

// Descendants of the class (any when null) and with the text (any when null), in Z order.
std::vector<HWND> descendants(HWND parent, const wchar_t* className = nullptr, const std::wstring* text = nullptr);
HWND descendantWithText(HWND parent, const std::wstring& text);

// The message of a system message box (its static control 0xFFFF).
std::wstring messageBoxText(HWND box);
// Ends a message box or dialog as its button with this command would.
void dismissBox(HWND box, int command = IDOK);
// Clicks the dialog's button with this caption; false when there is none.
bool clickButton(HWND dialog, const std::wstring& caption);

} // namespace test

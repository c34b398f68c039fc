#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "UiDriver.h"

class Kelvane;

// Runs the real main frame (Kelvane::run on this thread) for one test and hands the script a
// driver once the window is shown and active. Returns run's exit code.
int runFrame(const std::wstring& configPath, const std::function<void(UiDriver&, Kelvane*)>& script);

// Waits (on the driver thread) until the frame's window is shown and is the foreground window.
bool waitShown(UiDriver& ui, Kelvane* frame);

// The window with the keyboard focus on the toolkit's thread, and its selection.
HWND focusedWindow(UiDriver& ui);
bool wholeTextSelected(UiDriver& ui, HWND edit);

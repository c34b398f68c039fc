#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "UiDriver.h"

class ErrorCodePane;
class Kelvane;

// What the native windows of one pane show, read on the toolkit's thread.
struct PaneView {
    std::uint32_t currentCode = 0;
    std::wstring name;
    std::wstring decimal;
    std::wstring hex;
    std::wstring message;
    std::vector<std::wstring> rows;
    int selectedRow = -1;

    std::wstring selectedText() const {
        return selectedRow >= 0 && selectedRow < static_cast<int>(rows.size()) ? rows[selectedRow] : std::wstring();
    }
};

PaneView viewOf(ErrorCodePane* pane);
// The text of the status bar's first part as its window shows it.
std::wstring statusTextOf(Kelvane* frame);

// Runs the real main frame (Kelvane::run on this thread) and hands the script a driver once the
// window is shown and active. Returns run's exit code.
int runFrame(const std::wstring& configPath, const std::function<void(UiDriver&, Kelvane*)>& script);
// Waits (on the driver thread) until the frame's window is shown and is the foreground window.
bool waitShown(UiDriver& ui, Kelvane* frame);

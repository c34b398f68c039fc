#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

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

std::wstring windowText(HWND window);
PaneView viewOf(ErrorCodePane* pane);
// The text of the status bar's first part as its window shows it.
std::wstring statusTextOf(Kelvane* frame);
// The string resource of the program (the test program links the program's resources).
std::wstring resourceString(UINT id);

// The system's own texts, fetched directly, to compare the panes' message areas with.
std::wstring systemNtStatusText(std::uint32_t code);
std::wstring systemWin32Text(std::uint32_t code);
std::uint32_t platformNtStatusToWin32(std::uint32_t code);

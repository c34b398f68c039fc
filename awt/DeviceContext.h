#pragma once

#include <windows.h>

namespace awt {

// The device context of a window (GetDC; a null window gives the screen's).
// Call release() on the normal path: it throws AWTException "::ReleaseDC() failed" (code -1).
// The destructor releases without reporting failures, so unwinding stays silent.
class WindowDC {
public:
    // Throws AWTException "::GetDC() failed".
    explicit WindowDC(HWND window);
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC();

    HDC get() const;
    void release();

private:
    HWND window;
    HDC dc;
};

// Selects an object into a device context and selects the previous one back at the end.
// A null object selects nothing.
class ObjectSelection {
public:
    // Throws AWTException "::SelectObject() failed" when the selection fails with a last error.
    ObjectSelection(HDC dc, HGDIOBJ object);
    ObjectSelection(const ObjectSelection&) = delete;
    ObjectSelection& operator=(const ObjectSelection&) = delete;
    ~ObjectSelection();

    // Selects the previous object back now.
    void restore();

private:
    HDC dc;
    HGDIOBJ previous;
};

} // namespace awt

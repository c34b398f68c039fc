#include "awt/DeviceContext.h"

#include "awt/AWTException.h"

namespace awt {

WindowDC::WindowDC(HWND window) : window(window), dc(GetDC(window)) {
    if (dc == nullptr) {
        throwLastError(L"::GetDC() failed");
    }
}

WindowDC::~WindowDC() {
    if (dc != nullptr) {
        ReleaseDC(window, dc);
    }
}

HDC WindowDC::get() const {
    return dc;
}

void WindowDC::release() {
    HDC released = dc;
    dc = nullptr;
    if (released != nullptr && ReleaseDC(window, released) != 1) {
        throw AWTException(L"::ReleaseDC() failed", zeno::Exception::NO_ERROR_CODE);
    }
}

ObjectSelection::ObjectSelection(HDC dc, HGDIOBJ object) : dc(dc), previous(nullptr) {
    if (object == nullptr) {
        return;
    }
    SetLastError(ERROR_SUCCESS);
    HGDIOBJ old = SelectObject(dc, object);
    if (old == nullptr || old == HGDI_ERROR) {
        DWORD error = GetLastError();
        if (error != ERROR_SUCCESS) {
            throw AWTException(L"::SelectObject() failed", error);
        }
        old = nullptr;
    }
    previous = old;
}

ObjectSelection::~ObjectSelection() {
    restore();
}

void ObjectSelection::restore() {
    if (previous != nullptr) {
        SelectObject(dc, previous);
        previous = nullptr;
    }
}

} // namespace awt

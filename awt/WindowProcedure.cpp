#include "awt/WindowProcedure.h"

#include <exception>

#include "zeno/Exception.h"

#include "awt/AWTException.h"

namespace awt {

namespace {

// The replaced procedure is put back once the object is gone, so a standard control still sees
// its own WM_NCDESTROY and frees its state. Only when nobody subclassed the window after us.
void restoreProcedure(HWND window, WNDPROC previous) {
    auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (current == WindowProcedure::staticWindowProc && previous != nullptr) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
}

} // namespace

WindowProcedure::WindowProcedure() : toolkit(nullptr), hwnd(nullptr), previousProc(DefWindowProcW) {}

WindowProcedure::~WindowProcedure() noexcept(false) {
    if (hwnd == nullptr) {
        return;
    }
    HWND window = hwnd;
    hwnd = nullptr;
    const bool unwinding = std::uncaught_exceptions() > 0;
    // Detached first, so the dying object receives no WM_DESTROY.
    unbind(window);
    if (!DestroyWindow(window) && !unwinding) {
        throwLastError(L"::DestroyWindow() failed");
    }
}

void WindowProcedure::unbind(HWND window) {
    if (reinterpret_cast<WindowProcedure*>(GetWindowLongPtrW(window, GWLP_USERDATA)) == this) {
        detach(window);
        restoreProcedure(window, previousProc);
    }
}

void WindowProcedure::createPeer() {
    if (hwnd != nullptr) {
        return;
    }
    HWND window = createWindow();
    hwnd = window;
    try {
        attach(window, this);
    } catch (...) {
        hwnd = nullptr;
        DestroyWindow(window);
        throw;
    }
}

void WindowProcedure::destroyPeer() {
    if (hwnd == nullptr) {
        return;
    }
    // The WM_DESTROY this sends detaches the object and clears hwnd.
    HWND window = hwnd;
    if (!DestroyWindow(window)) {
        throwLastError(L"::DestroyWindow() failed");
    }
    hwnd = nullptr;
}

Toolkit* WindowProcedure::getToolkit() {
    return toolkit;
}

LRESULT WindowProcedure::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        HWND window = hwnd;
        detach(window);
        LRESULT result = CallWindowProcW(previousProc, window, message, wParam, lParam);
        restoreProcedure(window, previousProc);
        hwnd = nullptr;
        return result;
    }
    return CallWindowProcW(previousProc, hwnd, message, wParam, lParam);
}

void WindowProcedure::attach(HWND window, WindowProcedure* object) {
    zeno::checkNotNull(L"object", object);
    LONG_PTR previous =
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    if (previous != 0) {
        // Leave the window bound to the object it had.
        SetWindowLongPtrW(window, GWLP_USERDATA, previous);
        throw AWTException(L"window user data already set", zeno::Exception::NO_ERROR_CODE);
    }
    auto replaced = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(staticWindowProc)));
    if (replaced != staticWindowProc) {
        object->previousProc = replaced;
    }
}

void WindowProcedure::detach(HWND window) {
    if (SetWindowLongPtrW(window, GWLP_USERDATA, 0) == 0) {
        throw AWTException(L"window user data broken", zeno::Exception::NO_ERROR_CODE);
    }
}

WindowProcedure* WindowProcedure::fromHandle(HWND window) {
    if (window == nullptr) {
        return nullptr;
    }
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) != staticWindowProc) {
        return nullptr;
    }
    return reinterpret_cast<WindowProcedure*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK WindowProcedure::staticWindowProc(HWND window, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
    WindowProcedure* object = fromHandle(window);
    if (object != nullptr) {
        return object->windowProc(message, wParam, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT WindowProcedure::callPreviousProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(previousProc, hwnd, message, wParam, lParam);
}

HWND WindowProcedure::getHWND() const {
    return hwnd;
}

} // namespace awt

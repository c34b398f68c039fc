#pragma once

#include <windows.h>

namespace awt {

class Toolkit;

// Binds an object to a native window: the window's user data holds the object, its window
// procedure is replaced by staticWindowProc, and every message reaches the object's windowProc.
class WindowProcedure {
public:
    WindowProcedure();
    WindowProcedure(const WindowProcedure&) = delete;
    WindowProcedure& operator=(const WindowProcedure&) = delete;
    // Detaches and destroys a remaining native window; throws AWTException "::DestroyWindow()
    // failed" (unless unwinding).
    virtual ~WindowProcedure() noexcept(false);

    // Creates the native window (createWindow) and attaches this object, unless it exists.
    virtual void createPeer();
    // Destroys the native window; throws AWTException "::DestroyWindow() failed".
    virtual void destroyPeer();
    virtual Toolkit* getToolkit();
    virtual HWND createWindow() = 0;
    virtual LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Throws AWTException "window user data already set" when another object is bound.
    static void attach(HWND window, WindowProcedure* object);
    // Throws AWTException "window user data broken" when no object was bound.
    static void detach(HWND window);
    // The bound object, or null for a null window or one that is not a toolkit window.
    static WindowProcedure* fromHandle(HWND window);
    // The bound object as a T (for example awt::Component), or null.
    template <class T>
    static T* fromHandle(HWND window) {
        return dynamic_cast<T*>(fromHandle(window));
    }
    static LRESULT CALLBACK staticWindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam);

    // The window procedure that was replaced, called with this object's window.
    LRESULT callPreviousProc(UINT message, WPARAM wParam, LPARAM lParam);
    HWND getHWND() const;

protected:
    // Detaches this object from the window when it is bound to it and puts back the procedure it
    // replaced, so that a standard control destroyed afterwards still frees its state.
    void unbind(HWND window);

    Toolkit* toolkit;
    HWND hwnd;
    WNDPROC previousProc;
};

} // namespace awt

#include "awt/Window.h"

#include <algorithm>
#include <malloc.h>
#include <memory>

#include "awt/AWTException.h"
#include "awt/ChildrenMonitor.h"
#include "awt/Event.h"
#include "awt/KeyAcceleratorHandler.h"
#include "awt/Listener.h"
#include "awt/MenuBar.h"
#include "awt/Toolkit.h"
#include "zeno/Exception.h"
#include "zeno/Runnable.h"
#include "zeno/Strings.h"

namespace awt {

namespace {

bool isInside(const Component* candidate, const Component* ancestor) {
    for (; candidate != nullptr; candidate = candidate->getParent()) {
        if (candidate == ancestor) {
            return true;
        }
    }
    return false;
}

constexpr Dimension UNSET_SIZE{-1, -1};

// The four low bits of a system command are the system's own.
constexpr WPARAM SYSTEM_COMMAND_MASK = 0xFFF0;


}  // namespace

class Window::PendingTask : public zeno::Runnable {
public:
    using Action = void (*)(Window*);

    PendingTask(Window* window, PendingTask*& slot, Action action)
        : window(window), slot(&slot), action(action) {}

    void run() override {
        std::unique_ptr<PendingTask> self(this);
        if (window == nullptr) {
            return;
        }
        *slot = nullptr;
        action(window);
    }

    // The window is going away.
    void forget() { window = nullptr; }

private:
    Window* window;
    PendingTask** slot;
    Action action;
};

void Window::schedule(PendingTask*& slot, void (*action)(Window*)) {
    if (slot != nullptr) {
        return;  // already queued
    }
    auto* task = new PendingTask(this, slot, action);
    slot = task;
    try {
        getToolkit()->invokeLater(task);
    } catch (...) {
        slot = nullptr;
        delete task;
        throw;
    }
}

Window::Window(Window* owner)
    : menuBar(nullptr), windowFlags(0), minimumSize(UNSET_SIZE), maximumSize(UNSET_SIZE),
      closeOperation(HIDE), mouseOverComponent(nullptr), focusOwner(nullptr),
      childrenMonitor(nullptr), keyAcceleratorHandler(nullptr), pendingFocusRequest(nullptr),
      pendingDeletion(nullptr) {
    parent = owner;
    if (owner != nullptr) {
        owner->ownedWindows.push_back(this);
    }
    flags &= static_cast<std::uint8_t>(~VISIBLE);
    setGroup(true);
    x = CW_USEDEFAULT;
    y = CW_USEDEFAULT;
    width = CW_USEDEFAULT;
    height = CW_USEDEFAULT;
}

Window::~Window() noexcept(false) {
    for (PendingTask* task : {pendingFocusRequest, pendingDeletion}) {
        if (task != nullptr) {
            task->forget();
        }
    }
    // Each owned window takes itself out of the list when it goes.
    while (!ownedWindows.empty()) {
        delete ownedWindows.back();
    }
    if (Window* owner = getOwner()) {
        auto& siblings = owner->ownedWindows;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    // The owner is no container of this window: it must not be told of its deletion as of a child.
    parent = nullptr;
    if (childrenMonitor != nullptr) {
        childrenMonitor->detach(this);
        delete childrenMonitor;
        childrenMonitor = nullptr;
    }
    if (keyAcceleratorHandler != nullptr) {
        if (Toolkit* current = Toolkit::findInstance()) {
            current->removeMessagePreprocessor(keyAcceleratorHandler);
        }
        delete keyAcceleratorHandler;
        keyAcceleratorHandler = nullptr;
    }
    delete menuBar;
    menuBar = nullptr;
}

void Window::setMenuBar(MenuBar* newMenuBar) {
    zeno::checkNotNull(L"menuBar", newMenuBar);
    if (newMenuBar == menuBar) {
        return;
    }
    removeMenuBar();
    menuBar = newMenuBar;
    menuBar->setOwner(this);
    if (hwnd != nullptr) {
        menuBar->attach(hwnd);
    }
    invalidate();
}

void Window::removeMenuBar() {
    if (menuBar == nullptr) {
        return;
    }
    MenuBar* old = menuBar;
    menuBar = nullptr;
    if (hwnd != nullptr) {
        old->detach(hwnd);
    }
    old->setOwner(nullptr);
    // The window owned it, and nobody else does.
    delete old;
    invalidate();
}

void Window::setAlwaysOnTop(bool alwaysOnTop) {
    if (alwaysOnTop == isAlwaysOnTop()) {
        return;
    }
    if (alwaysOnTop) {
        windowFlags |= ALWAYS_ON_TOP;
    } else {
        windowFlags &= static_cast<std::uint8_t>(~ALWAYS_ON_TOP);
    }
    if (hwnd != nullptr &&
        !SetWindowPos(hwnd, alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                      SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER)) {
        throwLastError(L"::SetWindowPos() failed");
    }
}

void Window::setMinimumSize(const Dimension& size) {
    minimumSize = size;
}

void Window::setMaximumSize(const Dimension& size) {
    maximumSize = size;
}

void Window::setDefaultCloseOperation(std::int32_t operation) {
    closeOperation = operation;
}

void Window::toFront() {
    if (hwnd != nullptr && isVisible()) {
        SetForegroundWindow(hwnd);
    }
}

void Window::toBack() {
    if (hwnd != nullptr && isVisible() &&
        !SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE)) {
        throwLastError(L"::SetWindowPos() failed");
    }
}

void Window::dispose() {
    setVisible(false);
    destroyPeer();
}

void Window::createPeer() {
    if (hwnd != nullptr) {
        return;
    }
    toolkit = Toolkit::getInstance();
    Container::createPeer();
    if (menuBar != nullptr) {
        menuBar->attach(hwnd);
    }
    if (childrenMonitor == nullptr) {
        childrenMonitor = new ChildrenMonitor(this);
        childrenMonitor->attach(this);
    }
    for (std::size_t i = 0; i < ownedWindows.size(); ++i) {
        ownedWindows[i]->createPeer();
    }
}

void Window::destroyPeer() {
    for (std::size_t i = 0; i < ownedWindows.size(); ++i) {
        ownedWindows[i]->destroyPeer();
    }
    if (hwnd == nullptr) {
        return;
    }
    setVisible(false);
    if (keyAcceleratorHandler != nullptr) {
        getToolkit()->removeMessagePreprocessor(keyAcceleratorHandler);
    }
    if (menuBar != nullptr) {
        menuBar->detach(hwnd);
    }
    Container::destroyPeer();
    toolkit = nullptr;
}

Toolkit* Window::getToolkit() {
    if (hwnd != nullptr && toolkit != nullptr) {
        return toolkit;
    }
    return Toolkit::getInstance();
}

HWND Window::createWindow() {
    HWND window = Component::createWindow();
    RECT rect;
    if (!GetWindowRect(window, &rect)) {
        const DWORD error = GetLastError();
        DestroyWindow(window);
        throw AWTException(L"::GetWindowRect() failed", error);
    }
    x = rect.left;
    y = rect.top;
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    return window;
}

LRESULT Window::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE: {
        const WORD state = LOWORD(wParam);
        const bool active = state == WA_ACTIVE || state == WA_CLICKACTIVE;
        installAccelerators(active);
        if (fireWindowEvent(active ? &WindowListener::windowActivated
                                   : &WindowListener::windowDeactivated)) {
            return 0;
        }
        break;
    }
    case WM_SETFOCUS:
        requestFocus();
        return 0;
    case WM_CLOSE:
        processClose();
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & SYSTEM_COMMAND_MASK) {
        case SC_CLOSE:
            processClose();
            return 0;
        case SC_MINIMIZE: {
            const bool consumed = fireWindowEvent(&WindowListener::windowIconified);
            // Give the memory freed so far back to the system while the window is put away.
            _heapmin();
            if (consumed) {
                return 0;
            }
            break;
        }
        case SC_RESTORE:
            if (fireWindowEvent(&WindowListener::windowDeiconified)) {
                return 0;
            }
            break;
        default:
            break;
        }
        break;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (minimumSize.width != -1) {
            info->ptMinTrackSize.x = minimumSize.width;
        }
        if (minimumSize.height != -1) {
            info->ptMinTrackSize.y = minimumSize.height;
        }
        if (maximumSize.width != -1) {
            info->ptMaxTrackSize.x = maximumSize.width;
        }
        if (maximumSize.height != -1) {
            info->ptMaxTrackSize.y = maximumSize.height;
        }
        break;
    }
    case WM_ENTERIDLE:
        // A modal menu or dialog loop owns the thread: do the deferred work here.
        getToolkit()->processPending(true);
        break;
    case WM_SIZING:
        processSizing(reinterpret_cast<const RECT*>(lParam));
        break;
    case WM_MENUCOMMAND:
        return processMenuCommand(wParam, reinterpret_cast<HMENU>(lParam));
    default:
        break;
    }
    return Container::windowProc(message, wParam, lParam);
}

void Window::processSizing(const RECT* proposed) {
    BOOL fullDrag = FALSE;
    if (proposed == nullptr || !SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0) ||
        !fullDrag) {
        return;
    }
    const int newWidth = proposed->right - proposed->left;
    const int newHeight = proposed->bottom - proposed->top;
    if (newWidth != width || newHeight != height) {
        width = newWidth;
        height = newHeight;
        invalidate();
    }
    // The layout follows the mouse while the window is dragged.
    getToolkit()->processPending(true);
}

LRESULT Window::processMenuCommand(WPARAM index, HMENU menu) {
    MENUINFO info{};
    // 28 bytes on the 32-bit target; the 64-bit structure is larger.
    info.cbSize = sizeof(info);
    info.fMask = MIM_MENUDATA;
    if (menu == nullptr || !GetMenuInfo(menu, &info) || info.dwMenuData == 0) {
        return 0;
    }
    auto* items = reinterpret_cast<MenuItems*>(info.dwMenuData);
    const int count = items->getItemCount();
    const auto position = static_cast<std::int32_t>(index);
    if (position < 0 || position >= count) {
        throw AWTException(L"bad menu index: " + zeno::toString(position) + L" (0<=index<" +
                               zeno::toString(static_cast<std::int32_t>(count)) + L")",
                           zeno::Exception::NO_ERROR_CODE);
    }
    items->activateItem(position);
    return 0;
}

LPCWSTR Window::getClassName() const {
    return MAKEINTATOM(Toolkit::getWindowClass());
}

DWORD Window::getStyle() const {
    return Container::getStyle() | WS_POPUP;
}

DWORD Window::getExStyle() const {
    return Container::getExStyle() | (isAlwaysOnTop() ? WS_EX_TOPMOST : 0);
}

bool Window::isChild() const {
    return false;
}

Dimension Window::getMinimumSize() const {
    return minimumSize;
}

Dimension Window::getMaximumSize() const {
    return maximumSize;
}

void Window::setVisible(bool visible) {
    if (visible == isVisible()) {
        return;
    }
    if (visible && hwnd == nullptr) {
        createPeer();
    }
    const Dimension laidOut = getSize();
    if (visible) {
        // The window's own tree is laid out before it shows: moving the child windows of a
        // hidden window costs the system no drawing (under Wine, a fifth of the time). Other
        // windows' layouts wait for the loop.
        validate();
        toolkit->validateTree(this);
    }
    Component::setVisible(visible);
    if (visible) {
        // Showing queues the layout just done; only a size changed by showing needs another.
        if (getSize() == laidOut) {
            toolkit->cancelValidate(this);
        }
        fireWindowEvent(&WindowListener::windowShown);
        // The focus is placed after the current message, once the window is active.
        schedule(pendingFocusRequest, [](Window* window) { window->requestFocus(); });
    } else {
        fireWindowEvent(&WindowListener::windowHidden);
    }
}

void Window::setTreeEnabled(bool enabled) {
    if (menuBar != nullptr) {
        menuBar->setItemsEnabled(enabled);
    }
    Container::setTreeEnabled(enabled);
}

void Window::requestFocus() {
    if (focusOwner != nullptr && focusOwner != this) {
        focusOwner->requestFocus();
        return;
    }
    Container::requestFocus();
}

void Window::pack() {
    createPeer();
    const Dimension size = getPreferredSize();
    setSize(size.width, size.height);
}

void Window::center() {
    if (hwnd != nullptr && IsZoomed(hwnd)) {
        return;
    }
    Rectangle reference;
    if (Window* owner = getOwner()) {
        reference = owner->getBounds();
    } else {
        createPeer();
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (!GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &info)) {
            throwLastError(L"::GetMonitorInfo() failed");
        }
        reference = Rectangle{info.rcWork.left, info.rcWork.top,
                              info.rcWork.right - info.rcWork.left,
                              info.rcWork.bottom - info.rcWork.top};
    }
    setLocation(reference.x + (reference.width - width) / 2,
                reference.y + (reference.height - height) / 2);
}

void Window::addKeyAccelerator(const KeyStroke& stroke, KeyListener* listener) {
    zeno::checkNotNull(L"listener", listener);
    if (keyAcceleratorHandler == nullptr) {
        keyAcceleratorHandler = new KeyAcceleratorHandler(this);
        if (hwnd != nullptr && GetForegroundWindow() == hwnd) {
            getToolkit()->addMessagePreprocessor(keyAcceleratorHandler);
        }
    }
    keyAcceleratorHandler->bind(stroke, listener);
}

bool Window::isMaximized() const {
    return hwnd != nullptr && IsZoomed(hwnd);
}

void Window::installAccelerators(bool active) {
    if (keyAcceleratorHandler == nullptr) {
        return;
    }
    if (active) {
        getToolkit()->addMessagePreprocessor(keyAcceleratorHandler);
    } else {
        getToolkit()->removeMessagePreprocessor(keyAcceleratorHandler);
    }
}

void Window::addWindowListener(WindowListener* listener) {
    listeners.add(listener);
}

void Window::removeWindowListener(WindowListener* listener) {
    listeners.remove(listener);
}

Window* Window::getOwner() const {
    return static_cast<Window*>(parent);
}

const std::vector<Window*>& Window::getOwnedWindows() const {
    return ownedWindows;
}

std::int32_t Window::getDefaultCloseOperation() const {
    return closeOperation;
}

bool Window::isAlwaysOnTop() const {
    return (windowFlags & ALWAYS_ON_TOP) != 0;
}

MenuBar* Window::getMenuBar() const {
    return menuBar;
}

Component* Window::getFocusOwner() const {
    return focusOwner;
}

Component* Window::getMouseOverComponent() const {
    return mouseOverComponent;
}

void Window::mouseEnteredComponent(Component* component, int px, int py) {
    Component* previous = mouseOverComponent;
    if (previous != nullptr && previous->getHWND() != nullptr && component->getHWND() != nullptr) {
        // Window coordinates of the new component, through client coordinates, to window
        // coordinates of the previous one.
        const Insets from = component->getFrameInsets();
        POINT point{px - from.left, py - from.top};
        MapWindowPoints(component->getHWND(), previous->getHWND(), &point, 1);
        const Insets to = previous->getFrameInsets();
        previous->notifyMouseExited(point.x + to.left, point.y + to.top);
    }
    mouseOverComponent = component;
}

void Window::componentDeleted(Component* component) {
    if (isInside(mouseOverComponent, component)) {
        mouseOverComponent = nullptr;
    }
    if (isInside(focusOwner, component)) {
        focusOwner = nullptr;
    }
}

bool Window::fireWindowEvent(void (WindowListener::*operation)(WindowEvent*)) {
    WindowEvent event;
    event.source = this;
    listeners.fire(operation, &event);
    return event.consumed;
}

void Window::processClose() {
    if (fireWindowEvent(&WindowListener::windowClosing)) {
        return;
    }
    performCloseOperation();
}

void Window::performCloseOperation() {
    switch (closeOperation) {
    case HIDE:
        setVisible(false);
        break;
    case DISPOSE:
        dispose();
        break;
    case DISPOSE_AND_DELETE: {
        dispose();
        // Deleted by the toolkit once this message has been handled.
        schedule(pendingDeletion, [](Window* window) { delete window; });
        break;
    }
    case EXIT:
        getToolkit()->quit(0);
        break;
    default:
        break;
    }
}

}  // namespace awt

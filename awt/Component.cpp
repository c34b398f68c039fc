#include "awt/Component.h"

#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

#include <windowsx.h>

#include "zeno/Strings.h"

#include "awt/AWTException.h"
#include "awt/Container.h"
#include "awt/DeviceContext.h"
#include "awt/Event.h"
#include "awt/Listener.h"
#include "awt/MouseOverTracker.h"
#include "awt/Toolkit.h"
#include "awt/Window.h"

namespace awt {

namespace {

constexpr UINT MOVE_FLAGS = SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW;
constexpr UINT SIZE_FLAGS = SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW;
constexpr UINT BOUNDS_FLAGS = SWP_NOZORDER | SWP_NOREDRAW;
constexpr UINT UPDATE_FLAGS = RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN | RDW_UPDATENOW |
                              RDW_ERASENOW | RDW_FRAME;
constexpr std::int32_t MAXIMUM_EXTENT = 32000;

constexpr UINT VK_TAB_KEY = 9;
constexpr UINT VK_LEFT_KEY = 37;
constexpr UINT VK_UP_KEY = 38;
constexpr UINT VK_RIGHT_KEY = 39;
constexpr UINT VK_DOWN_KEY = 40;

const Insets UNSET_INSETS{-1, -1, -1, -1};

// Name of a type as the compiler spells it, for messages that name a type.
std::wstring typeName(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return zeno::widen(status == 0 && demangled ? demangled.get() : type.name());
}

bool isCandidate(const Component* component) {
    return component->isFocusable() && component->isShowing() && component->isEnabled();
}

// Scans children from (not including) the start position in the direction; a candidate is the
// result, a container that is no candidate is searched inside.
Component* scanChildren(const Container* container, int start, bool forward) {
    const std::vector<Component*>& children = container->getComponents();
    const int count = static_cast<int>(children.size());
    const int step = forward ? 1 : -1;
    for (int i = start + step; i >= 0 && i < count; i += step) {
        Component* child = children[static_cast<std::size_t>(i)];
        if (isCandidate(child)) {
            return child;
        }
        if (auto* inner = dynamic_cast<const Container*>(child)) {
            if (Component* found = Component::findCandidateInside(inner, forward)) {
                return found;
            }
        }
    }
    return nullptr;
}

} // namespace

Component::Component()
    : x(0),
      y(0),
      width(0),
      height(0),
      flags(VISIBLE | ENABLED),
      foreground(DEFAULT_COLOR),
      background(DEFAULT_COLOR),
      parent(nullptr),
      frameInsets(UNSET_INSETS),
      insideFlag(0) {}

Component::~Component() noexcept(false) {
    // A component deleted while it is queued must not be validated or painted afterwards.
    if (Toolkit* current = Toolkit::findInstance()) {
        current->cancelScheduled(this);
    }
    forgetInTopLevel();
    // Nor may its container keep a pointer to it.
    if (parent != nullptr) {
        parent->forgetChild(this);
    }
}

void Component::forgetInTopLevel() {
    // Deleted directly rather than removed through its container, the component sends no
    // container event, so its top-level window is told here.
    if (auto* tracker = dynamic_cast<MouseOverTracker*>(getTopLevelComponent())) {
        tracker->componentDeleted(this);
    }
}

void Component::destroyPeer() {
    if (hwnd == nullptr) {
        return;
    }
    WindowProcedure::destroyPeer();
    toolkit = nullptr;
    resetFrameInsets();
    backgroundBrush.reset();
}

Toolkit* Component::getToolkit() {
    if (parent == nullptr) {
        return Toolkit::getInstance();
    }
    if (toolkit == nullptr) {
        toolkit = parent->getToolkit();
    }
    return toolkit;
}

HWND Component::createWindow() {
    Point position = toParentClient(x, y);
    HWND parentWindow = parent != nullptr ? parent->getHWND() : nullptr;
    // The virtual calls are made in this order on purpose.
    DWORD style = getStyle();
    LPCWSTR text = getWindowText();
    LPCWSTR className = getClassName();
    DWORD exStyle = getExStyle();
    HWND window = CreateWindowExW(exStyle, className, text, style, position.x, position.y, width,
                                  height, parentWindow, nullptr, Toolkit::getInstanceHandle(),
                                  nullptr);
    if (window == nullptr) {
        throwLastError(L"::CreateWindowEx() failed");
    }
    try {
        applyFont(window);
    } catch (...) {
        DestroyWindow(window);
        throw;
    }
    return window;
}

LRESULT Component::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    switch (message) {
    case WM_MOVE: {
        RECT rect;
        if (!GetWindowRect(hwnd, &rect)) {
            throwLastError(L"::GetWindowRect() failed");
        }
        if (isChild() && parent != nullptr) {
            Point position = parent->screenToWindow(rect.left, rect.top);
            x = position.x;
            y = position.y;
        } else {
            x = rect.left;
            y = rect.top;
        }
        break;
    }
    case WM_SIZE: {
        RECT rect;
        if (!GetWindowRect(hwnd, &rect)) {
            throwLastError(L"::GetWindowRect() failed");
        }
        std::int32_t newWidth = rect.right - rect.left;
        std::int32_t newHeight = rect.bottom - rect.top;
        if (newWidth != width || newHeight != height) {
            width = newWidth;
            height = newHeight;
            invalidate();
        }
        break;
    }
    case WM_SETFOCUS:
        handled = fireFocus(true);
        break;
    case WM_KILLFOCUS:
        handled = fireFocus(false);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        processKey(KeyEvent::PRESSED, static_cast<std::uint32_t>(wParam), &handled);
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        processKey(KeyEvent::RELEASED, static_cast<std::uint32_t>(wParam), &handled);
        break;
    case WM_CHAR:
        processKey(KeyEvent::TYPED, static_cast<std::uint32_t>(wParam), &handled);
        break;
    case WM_MOUSEMOVE:
        if (!(insideFlag & 1)) {
            handled = processMouseEnter(clientToWindow(lParam), false);
        }
        break;
    case WM_NCMOUSEMOVE:
        if (!(insideFlag & 1)) {
            handled = processMouseEnter(screenLParamToWindow(lParam), true);
        }
        break;
    case WM_LBUTTONDOWN:
        handled = processMouseButton(MouseEvent::PRESSED, MouseEvent::LEFT_BUTTON, 1,
                                     clientToWindow(lParam), false);
        break;
    case WM_LBUTTONUP:
        handled = processMouseButton(MouseEvent::RELEASED, MouseEvent::LEFT_BUTTON, 1,
                                     clientToWindow(lParam), false);
        break;
    case WM_LBUTTONDBLCLK:
        handled = processMouseButton(MouseEvent::DOUBLE_CLICKED, MouseEvent::LEFT_BUTTON, 2,
                                     clientToWindow(lParam), false);
        break;
    case WM_RBUTTONDOWN:
        handled = processMouseButton(MouseEvent::PRESSED, MouseEvent::RIGHT_BUTTON, 1,
                                     clientToWindow(lParam), false);
        break;
    case WM_RBUTTONUP:
        handled = processMouseButton(MouseEvent::RELEASED, MouseEvent::RIGHT_BUTTON, 1,
                                     clientToWindow(lParam), false);
        break;
    case WM_RBUTTONDBLCLK:
        handled = processMouseButton(MouseEvent::DOUBLE_CLICKED, MouseEvent::RIGHT_BUTTON, 2,
                                     clientToWindow(lParam), false);
        break;
    case WM_MBUTTONDOWN:
        handled = processMouseButton(MouseEvent::PRESSED, MouseEvent::MIDDLE_BUTTON, 1,
                                     clientToWindow(lParam), false);
        break;
    case WM_MBUTTONUP:
        handled = processMouseButton(MouseEvent::RELEASED, MouseEvent::MIDDLE_BUTTON, 1,
                                     clientToWindow(lParam), false);
        break;
    case WM_MBUTTONDBLCLK:
        handled = processMouseButton(MouseEvent::DOUBLE_CLICKED, MouseEvent::MIDDLE_BUTTON, 2,
                                     clientToWindow(lParam), false);
        break;
    case WM_NCLBUTTONDOWN:
        handled = processMouseButton(MouseEvent::PRESSED, MouseEvent::LEFT_BUTTON, 1,
                                     screenLParamToWindow(lParam), true);
        break;
    case WM_NCLBUTTONUP:
        handled = processMouseButton(MouseEvent::RELEASED, MouseEvent::LEFT_BUTTON, 1,
                                     screenLParamToWindow(lParam), true);
        break;
    case WM_NCLBUTTONDBLCLK:
        handled = processMouseButton(MouseEvent::DOUBLE_CLICKED, MouseEvent::LEFT_BUTTON, 2,
                                     screenLParamToWindow(lParam), true);
        break;
    case WM_NCRBUTTONDOWN:
        handled = processMouseButton(MouseEvent::PRESSED, MouseEvent::RIGHT_BUTTON, 1,
                                     screenLParamToWindow(lParam), true);
        break;
    case WM_NCRBUTTONUP:
        handled = processMouseButton(MouseEvent::RELEASED, MouseEvent::RIGHT_BUTTON, 1,
                                     screenLParamToWindow(lParam), true);
        break;
    case WM_NCRBUTTONDBLCLK:
        handled = processMouseButton(MouseEvent::DOUBLE_CLICKED, MouseEvent::RIGHT_BUTTON, 2,
                                     screenLParamToWindow(lParam), true);
        break;
    case WM_NCMBUTTONDOWN:
        handled = processMouseButton(MouseEvent::PRESSED, MouseEvent::MIDDLE_BUTTON, 1,
                                     screenLParamToWindow(lParam), true);
        break;
    case WM_NCMBUTTONUP:
        handled = processMouseButton(MouseEvent::RELEASED, MouseEvent::MIDDLE_BUTTON, 1,
                                     screenLParamToWindow(lParam), true);
        break;
    case WM_NCMBUTTONDBLCLK:
        handled = processMouseButton(MouseEvent::DOUBLE_CLICKED, MouseEvent::MIDDLE_BUTTON, 2,
                                     screenLParamToWindow(lParam), true);
        break;
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
        handled = processMouseLeave();
        break;
    default:
        break;
    }
    if (handled) {
        return 0;
    }
    return WindowProcedure::windowProc(message, wParam, lParam);
}

LPCWSTR Component::getWindowText() const {
    return nullptr;
}

DWORD Component::getStyle() const {
    DWORD style = WS_CLIPSIBLINGS;
    if (isChild()) {
        style |= WS_CHILD;
    }
    if (isVisible()) {
        style |= WS_VISIBLE;
    }
    if (!isEnabled()) {
        style |= WS_DISABLED;
    }
    return style;
}

DWORD Component::getExStyle() const {
    return WS_EX_NOPARENTNOTIFY;
}

void Component::applyFont(HWND window) {
    HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    if (font != nullptr) {
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    }
}

LRESULT Component::processCommand(UINT, WPARAM, bool*) {
    return 0;
}

LRESULT Component::processNotify(UINT, NMHDR*, bool*) {
    return 0;
}

LRESULT Component::processScroll(WPARAM, int, bool*) {
    return 0;
}

bool Component::isChild() const {
    return true;
}

void Component::setLocation(int newX, int newY) {
    if (newX == x && newY == y) {
        return;
    }
    const int oldX = x;
    const int oldY = y;
    x = newX;
    y = newY;
    if (hwnd == nullptr) {
        return;
    }
    Point position = toParentClient(x, y);
    if (!SetWindowPos(hwnd, nullptr, position.x, position.y, 0, 0, MOVE_FLAGS)) {
        throwLastError(L"::SetWindowPos() failed");
    }
    repaintParent(oldX, oldY, width, height);
    repaintAll();
}

void Component::setSize(int newWidth, int newHeight) {
    if (newWidth == width && newHeight == height) {
        return;
    }
    const int oldWidth = width;
    const int oldHeight = height;
    width = newWidth;
    height = newHeight;
    if (hwnd == nullptr) {
        return;
    }
    if (!SetWindowPos(hwnd, nullptr, 0, 0, width, height, SIZE_FLAGS)) {
        throwLastError(L"::SetWindowPos() failed");
    }
    if (width < oldWidth) {
        repaintParent(x + width, y, oldWidth - width, height);
    }
    if (height < oldHeight) {
        repaintParent(x, y + height, width, oldHeight - height);
    }
    invalidate();
    repaintGrownStrips(oldWidth, oldHeight);
}

void Component::setBounds(int newX, int newY, int newWidth, int newHeight) {
    const bool moved = newX != x || newY != y;
    const bool resized = newWidth != width || newHeight != height;
    if (!moved && !resized) {
        return;
    }
    const Rectangle old = getBounds();
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    if (hwnd == nullptr) {
        return;
    }
    Point position = toParentClient(x, y);
    if (!SetWindowPos(hwnd, nullptr, position.x, position.y, width, height, BOUNDS_FLAGS)) {
        throwLastError(L"::SetWindowPos() failed");
    }
    repaintParent(old.x, old.y, old.width, old.height);
    if (resized) {
        invalidate();
    }
    if (moved) {
        repaintAll();
    } else {
        repaintGrownStrips(old.width, old.height);
    }
}

Dimension Component::getMinimumSize() const {
    return Dimension{0, 0};
}

Dimension Component::getMaximumSize() const {
    return Dimension{MAXIMUM_EXTENT, MAXIMUM_EXTENT};
}

void Component::setVisible(bool visible) {
    if (visible == isVisible()) {
        return;
    }
    if (visible) {
        flags |= VISIBLE;
    } else {
        flags &= static_cast<std::uint8_t>(~VISIBLE);
    }
    if (hwnd != nullptr) {
        if (visible) {
            ShowWindow(hwnd, SW_SHOW);
            invalidate();
            repaintAll();
        } else {
            ShowWindow(hwnd, SW_HIDE);
        }
    }
    if (parent != nullptr && isChild()) {
        parent->invalidate();
    }
}

void Component::setEnabled(bool enabled) {
    if (enabled == isEnabled()) {
        return;
    }
    if (enabled) {
        flags |= ENABLED;
    } else {
        flags &= static_cast<std::uint8_t>(~ENABLED);
    }
    if (hwnd != nullptr) {
        EnableWindow(hwnd, enabled ? TRUE : FALSE);
    }
}

void Component::setTreeEnabled(bool enabled) {
    setEnabled(enabled);
}

void Component::setForeground(COLORREF color) {
    if (color == foreground) {
        return;
    }
    foreground = color;
    repaintAll();
}

void Component::setBackground(COLORREF color) {
    if (color == background) {
        return;
    }
    background = color;
    backgroundBrush.reset();
    repaintAll();
}

bool Component::isFocusable() const {
    return hwnd != nullptr && (getWindowStyle() & WS_TABSTOP) != 0;
}

void Component::requestFocus() {
    if (hwnd != nullptr) {
        SetFocus(hwnd);
    }
}

void Component::validate() {
    resetFrameInsets();
}

void Component::repaint(int left, int top, int w, int h) {
    if (hwnd == nullptr || !isVisible()) {
        return;
    }
    Insets insets = getFrameInsets();
    RECT rect;
    rect.left = left - insets.left;
    rect.top = top - insets.top;
    rect.right = rect.left + w;
    rect.bottom = rect.top + h;
    if (!InvalidateRect(hwnd, &rect, TRUE)) {
        throwLastError(L"::InvalidateRect() failed");
    }
    // InvalidateRect leaves the frame out: a child with a border (an edit's client edge) that
    // was moved or sized without redrawing would never get its border drawn again.
    const bool reachesFrame = rect.left < 0 || rect.top < 0 ||
                              rect.right > width - insets.left - insets.right ||
                              rect.bottom > height - insets.top - insets.bottom;
    if (reachesFrame && insets != Insets{} &&
        !RedrawWindow(hwnd, &rect, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN)) {
        throwLastError(L"::RedrawWindow() failed");
    }
    getToolkit()->scheduleRepaint(this);
}

void Component::update() {
    if (hwnd == nullptr) {
        return;
    }
    GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    if (!region) {
        throwLastError(L"::CreateRectRgn() failed");
    }
    int kind = GetUpdateRgn(hwnd, region.get(), FALSE);
    if (kind == ERROR) {
        throwLastError(L"::GetUpdateRgn() failed");
    }
    if (kind != NULLREGION && !RedrawWindow(hwnd, nullptr, region.get(), UPDATE_FLAGS)) {
        throwLastError(L"::RedrawWindow() failed");
    }
    region.reset();
}

Point Component::getLocation() const {
    return Point{x, y};
}

Dimension Component::getSize() const {
    return Dimension{width, height};
}

Rectangle Component::getBounds() const {
    return Rectangle{x, y, width, height};
}

Container* Component::getParent() const {
    return parent;
}

bool Component::isVisible() const {
    return (flags & VISIBLE) != 0;
}

bool Component::isEnabled() const {
    return (flags & ENABLED) != 0;
}

COLORREF Component::getForeground() const {
    return foreground;
}

COLORREF Component::getBackground() const {
    return background;
}

bool Component::isShowing() const {
    if (hwnd == nullptr || !IsWindowVisible(hwnd)) {
        return false;
    }
    POINT origin{0, 0};
    if (!ClientToScreen(hwnd, &origin)) {
        return false;
    }
    return WindowFromPoint(origin) == hwnd;
}

Component* Component::getTopLevelComponent() const {
    const Component* component = this;
    while (component->isChild()) {
        component = component->parent;
        if (component == nullptr) {
            return nullptr;
        }
    }
    return const_cast<Component*>(component);
}

Window* Component::getTopLevelWindow() const {
    return dynamic_cast<Window*>(getTopLevelComponent());
}

Insets Component::getFrameInsets() const {
    if (hwnd == nullptr) {
        return Insets{};
    }
    if (frameInsets.top == -1) {
        RECT windowRect;
        if (!GetWindowRect(hwnd, &windowRect)) {
            throwLastError(L"::GetWindowRect() failed");
        }
        POINT corner{windowRect.left, windowRect.top};
        if (!ScreenToClient(hwnd, &corner)) {
            throwLastError(L"::ScreenToClient() failed");
        }
        RECT clientRect;
        if (!GetClientRect(hwnd, &clientRect)) {
            throwLastError(L"::GetClientRect() failed");
        }
        Insets insets;
        insets.top = -corner.y;
        insets.left = -corner.x;
        insets.bottom = (windowRect.bottom - windowRect.top) - insets.top - clientRect.bottom;
        insets.right = (windowRect.right - windowRect.left) - insets.left - clientRect.right;
        frameInsets = insets;
    }
    return frameInsets;
}

Insets Component::getStyleInsets() const {
    RECT rect{0, 0, 0, 0};
    if (!AdjustWindowRectEx(&rect, getStyle(), FALSE, getExStyle())) {
        throwLastError(typeName(typeid(const Component*)) + L"::adjustWindowRectEx() failed");
    }
    return Insets{-rect.top, -rect.left, rect.bottom, rect.right};
}

Point Component::screenToWindow(int screenX, int screenY) const {
    POINT point{screenX, screenY};
    if (hwnd != nullptr && !ScreenToClient(hwnd, &point)) {
        throwLastError(L"::ScreenToClient() failed");
    }
    Insets insets = getFrameInsets();
    return Point{point.x + insets.left, point.y + insets.top};
}

void Component::invalidate() {
    if (hwnd == nullptr || !isVisible()) {
        return;
    }
    getToolkit()->scheduleValidate(this);
    repaintAll();
}

void Component::repaintAll() {
    repaint(0, 0, width, height);
}

void Component::setText(const std::wstring& text) {
    if (hwnd != nullptr && !SetWindowTextW(hwnd, text.c_str())) {
        throwLastError(L"::SetWindowText() failed");
    }
}

HFONT Component::getFont() const {
    if (hwnd == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
}

Dimension Component::getTextExtent(const std::wstring& text) const {
    std::vector<Dimension> extents;
    measureTexts(std::vector<std::wstring>{text}, &extents, nullptr);
    return extents.front();
}

TEXTMETRICW Component::getTextMetrics() const {
    TEXTMETRICW metrics{};
    measureTexts(std::vector<std::wstring>(), nullptr, &metrics);
    return metrics;
}

void Component::measureTexts(const std::vector<std::wstring>& texts,
                             std::vector<Dimension>* extents, TEXTMETRICW* metrics) const {
    // Without a window, measure what the window would get: the stock GUI font on the screen.
    HGDIOBJ font = hwnd != nullptr ? static_cast<HGDIOBJ>(getFont()) : GetStockObject(DEFAULT_GUI_FONT);
    WindowDC dc(hwnd);
    {
        ObjectSelection selection(dc.get(), font);
        if (extents != nullptr) {
            extents->clear();
            for (const std::wstring& text : texts) {
                SIZE size{0, 0};
                if (!GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()),
                                           &size)) {
                    throwLastError(L"::GetTextExtentPoint32() failed");
                }
                extents->push_back(Dimension{size.cx, size.cy});
            }
        }
        if (metrics != nullptr && !GetTextMetricsW(dc.get(), metrics)) {
            throwLastError(L"::GetTextMetrics() failed");
        }
        selection.restore();
    }
    dc.release();
}

DWORD Component::getWindowStyle() const {
    if (hwnd == nullptr) {
        return 0;
    }
    return static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
}

void Component::addStyle(DWORD bits) {
    if (hwnd != nullptr) {
        SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>(getWindowStyle() | bits));
    }
}

void Component::removeStyle(DWORD bits) {
    if (hwnd != nullptr) {
        SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>(getWindowStyle() & ~bits));
    }
}

void Component::replaceStyle(DWORD mask, DWORD bits) {
    if (hwnd != nullptr) {
        SetWindowLongPtrW(hwnd, GWL_STYLE,
                          static_cast<LONG_PTR>((getWindowStyle() & ~mask) | bits));
    }
}

LRESULT Component::processControlColor(UINT message, HDC dc, bool* handled) {
    if (background != DEFAULT_COLOR) {
        if (foreground != DEFAULT_COLOR) {
            SetTextColor(dc, foreground);
        }
        SetBkColor(dc, background);
        if (!backgroundBrush) {
            HBRUSH brush = CreateSolidBrush(background);
            if (brush == nullptr) {
                throwLastError(L"::CreateSolidBrush() failed");
            }
            backgroundBrush.reset(brush);
        }
        *handled = true;
        return reinterpret_cast<LRESULT>(backgroundBrush.get());
    }
    if (foreground != DEFAULT_COLOR) {
        LRESULT brush = 0;
        if (parent != nullptr) {
            brush = parent->callPreviousProc(message, reinterpret_cast<WPARAM>(dc),
                                             reinterpret_cast<LPARAM>(hwnd));
        }
        SetTextColor(dc, foreground);
        *handled = true;
        return brush;
    }
    return 0;
}

bool Component::transferFocus(bool forward, bool wrap) {
    Component* found = findFocusCandidate(forward, wrap);
    if (found == nullptr) {
        return false;
    }
    found->requestFocus();
    return true;
}

Component* Component::findCandidateInside(const Container* container, bool forward) {
    const int start = forward ? -1 : container->getComponentCount();
    return scanChildren(container, start, forward);
}

Component* Component::findFocusCandidate(bool forward, bool wrap) const {
    if (auto* self = dynamic_cast<const Container*>(this)) {
        if (Component* found = findCandidateInside(self, forward)) {
            return found;
        }
    }
    const Component* current = this;
    while (current->isChild() && current->parent != nullptr) {
        const Container* container = current->parent;
        if (Component* found = scanChildren(container, container->indexOf(current), forward)) {
            return found;
        }
        if (!wrap && container->isGroup()) {
            return nullptr;
        }
        current = container;
    }
    if (wrap) {
        if (auto* top = dynamic_cast<const Container*>(getTopLevelComponent())) {
            return findCandidateInside(top, forward);
        }
    }
    return nullptr;
}

Component* Component::getFocusedComponent() {
    HWND focus = GetFocus();
    if (focus == nullptr) {
        return nullptr;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(focus, &processId);
    if (processId != GetCurrentProcessId()) {
        return nullptr;
    }
    return fromHandle<Component>(focus);
}

void Component::notifyMouseExited(int exitX, int exitY) {
    if (!(insideFlag & 1)) {
        return;
    }
    insideFlag = 0;
    fireMouse(MouseEvent::EXITED, MouseEvent::NO_BUTTON, 0, Point{exitX, exitY});
}

bool Component::isMouseInside() const {
    return (insideFlag & 1) != 0;
}

void Component::addMouseListener(MouseListener* listener) {
    listeners.add(listener);
}

void Component::removeMouseListener(MouseListener* listener) {
    listeners.remove(listener);
}

void Component::addKeyListener(KeyListener* listener) {
    listeners.add(listener);
}

void Component::removeKeyListener(KeyListener* listener) {
    listeners.remove(listener);
}

void Component::addFocusListener(FocusListener* listener) {
    listeners.add(listener);
}

void Component::removeFocusListener(FocusListener* listener) {
    listeners.remove(listener);
}

ListenerRegistry& Component::getListenerRegistry() {
    return listeners;
}

Point Component::toParentClient(int windowX, int windowY) const {
    Insets insets = parentFrameInsets();
    return Point{windowX - insets.left, windowY - insets.top};
}

Insets Component::parentFrameInsets() const {
    if (isChild() && parent != nullptr) {
        return parent->getFrameInsets();
    }
    return Insets{};
}

LRESULT Component::processKey(std::int32_t id, std::uint32_t keyCode, bool* handled) {
    KeyEvent event;
    event.source = this;
    event.id = id;
    event.keyCode = keyCode;
    event.modifiers = getModifiers();
    if (id == KeyEvent::PRESSED) {
        listeners.fire(&KeyListener::keyPressed, &event);
    } else if (id == KeyEvent::RELEASED) {
        listeners.fire(&KeyListener::keyReleased, &event);
    } else {
        listeners.fire(&KeyListener::keyTyped, &event);
    }
    if (event.consumed) {
        *handled = true;
        return 0;
    }
    KeyEvent fresh;
    fresh.source = this;
    fresh.id = event.id;
    fresh.keyCode = event.keyCode;
    fresh.modifiers = event.modifiers;
    processKeyDefault(&fresh);
    *handled = fresh.consumed;
    return 0;
}

void Component::processKeyDefault(KeyEvent* event) {
    const bool pressed = event->id == KeyEvent::PRESSED;
    switch (event->keyCode) {
    case VK_TAB_KEY:
        if (wantsKeys(DLGC_WANTTAB)) {
            return;
        }
        if (event->modifiers == 0) {
            if (pressed) {
                transferFocus(true, true);
            }
            event->consumed = true;
        } else if (event->modifiers == KeyEvent::SHIFT) {
            if (pressed) {
                transferFocus(false, true);
            }
            event->consumed = true;
        }
        return;
    case VK_LEFT_KEY:
    case VK_UP_KEY:
    case VK_RIGHT_KEY:
    case VK_DOWN_KEY:
        if (event->modifiers != 0 || wantsKeys(DLGC_WANTARROWS)) {
            return;
        }
        if (pressed) {
            const bool forward = event->keyCode == VK_RIGHT_KEY || event->keyCode == VK_DOWN_KEY;
            transferFocus(forward, false);
        }
        event->consumed = true;
        return;
    default:
        return;
    }
}

bool Component::processMouseButton(std::int32_t id, std::int32_t button, std::int32_t clickCount,
                                   Point at, bool nonClient) {
    if (!(insideFlag & 1)) {
        processMouseEnter(at, nonClient);
    }
    return fireMouse(id, button, clickCount, at);
}

bool Component::processMouseEnter(Point at, bool nonClient) {
    // The window hears of the entry before the flag is set, so its notice to the component that
    // had the mouse cannot clear the flag of this one when it is the same component.
    Component* top = getTopLevelComponent();
    if (auto* tracker = dynamic_cast<MouseOverTracker*>(top)) {
        tracker->mouseEnteredComponent(this, at.x, at.y);
    }
    insideFlag = 1;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE | (nonClient ? TME_NONCLIENT : 0);
    track.hwndTrack = hwnd;
    track.dwHoverTime = HOVER_DEFAULT;
    if (!TrackMouseEvent(&track)) {
        throwLastError(L"::TrackMouseEvent() failed");
    }
    return fireMouse(MouseEvent::ENTERED, MouseEvent::NO_BUTTON, 0, at);
}

bool Component::processMouseLeave() {
    if (!(insideFlag & 1)) {
        return false;
    }
    DWORD position = GetMessagePos();
    POINT cursor{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    HWND container = GetAncestor(hwnd, GA_PARENT);
    if (container == nullptr) {
        container = GetDesktopWindow();
    }
    POINT local = cursor;
    ScreenToClient(container, &local);
    if (ChildWindowFromPointEx(container, local, CWP_SKIPINVISIBLE) == hwnd) {
        return false;
    }
    insideFlag = 0;
    return fireMouse(MouseEvent::EXITED, MouseEvent::NO_BUTTON, 0,
                     screenToWindow(cursor.x, cursor.y));
}

bool Component::fireMouse(std::int32_t id, std::int32_t button, std::int32_t clickCount,
                          Point at) {
    MouseEvent event;
    event.source = this;
    event.id = id;
    event.button = button;
    event.x = at.x;
    event.y = at.y;
    event.clickCount = clickCount;
    switch (id) {
    case MouseEvent::ENTERED:
        listeners.fire(&MouseListener::mouseEntered, &event);
        break;
    case MouseEvent::EXITED:
        listeners.fire(&MouseListener::mouseExited, &event);
        break;
    case MouseEvent::PRESSED:
        listeners.fire(&MouseListener::mousePressed, &event);
        break;
    case MouseEvent::RELEASED:
        listeners.fire(&MouseListener::mouseReleased, &event);
        break;
    default:
        listeners.fire(&MouseListener::mouseDoubleClicked, &event);
        break;
    }
    return event.consumed;
}

bool Component::fireFocus(bool gained) {
    FocusEvent event;
    event.source = this;
    if (gained) {
        listeners.fire(&FocusListener::focusGained, &event);
    } else {
        listeners.fire(&FocusListener::focusLost, &event);
    }
    return event.consumed;
}

Point Component::clientToWindow(LPARAM lParam) const {
    Insets insets = getFrameInsets();
    return Point{GET_X_LPARAM(lParam) + insets.left, GET_Y_LPARAM(lParam) + insets.top};
}

Point Component::screenLParamToWindow(LPARAM lParam) const {
    return screenToWindow(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

bool Component::wantsKeys(LRESULT dialogCodeBit) const {
    LRESULT code = SendMessageW(hwnd, WM_GETDLGCODE, 0, 0);
    return (code & (DLGC_WANTALLKEYS | dialogCodeBit)) != 0;
}

void Component::resetFrameInsets() {
    frameInsets = UNSET_INSETS;
}

void Component::repaintParent(int left, int top, int w, int h) {
    if (parent != nullptr && isChild()) {
        parent->repaint(left, top, w, h);
    }
}

void Component::repaintGrownStrips(int oldWidth, int oldHeight) {
    if (width > oldWidth) {
        repaint(oldWidth, 0, width - oldWidth, height);
    }
    if (height > oldHeight) {
        repaint(0, oldHeight, width, height - oldHeight);
    }
}

} // namespace awt

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

#include "awt/GdiObject.h"
#include "awt/Geometry.h"
#include "awt/ListenerRegistry.h"
#include "awt/WindowProcedure.h"

namespace awt {

class Container;
class FocusListener;
class KeyListener;
class MouseListener;
class Window;
struct KeyEvent;

// The base of every element of the toolkit. A component exists without a native window; its
// bounds, visibility, enabled state and colours are applied when createPeer creates one. It turns
// native messages into listener calls, queues layout and repaint on its toolkit and moves the
// keyboard focus between components.
//
// Coordinates: x and y are relative to the top-left corner of the parent's window rectangle
// (border and caption included); for a window they are screen coordinates. Sizes are full
// window sizes.
class Component : public WindowProcedure {
public:
    // Colour value meaning "the system's default".
    static constexpr COLORREF DEFAULT_COLOR = 0xFFFFFFFF;

    Component();
    // Frees the registry and the brush; the native window goes with WindowProcedure.
    ~Component() noexcept(false) override;

    // Slots 1 to 5 (WindowProcedure).
    void destroyPeer() override;
    Toolkit* getToolkit() override;
    // Creates the native window from the style, text, class and extended style; throws
    // AWTException "::CreateWindowEx() failed".
    HWND createWindow() override;
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Slots 6 to 30.
    virtual LPCWSTR getClassName() const = 0;
    // Null: no text.
    virtual LPCWSTR getWindowText() const;
    // WS_CLIPSIBLINGS, WS_CHILD for a child, WS_VISIBLE when visible, WS_DISABLED when disabled.
    virtual DWORD getStyle() const;
    // WS_EX_NOPARENTNOTIFY.
    virtual DWORD getExStyle() const;
    // Sets the stock DEFAULT_GUI_FONT on the new window.
    virtual void applyFont(HWND window);
    // WM_COMMAND, WM_NOTIFY and scroll notifications of this component's window, routed here by
    // the parent container. Set *handled to return the result instead of the default handling.
    virtual LRESULT processCommand(UINT notificationCode, WPARAM wParam, bool* handled);
    virtual LRESULT processNotify(UINT code, NMHDR* header, bool* handled);
    virtual LRESULT processScroll(WPARAM wParam, int position, bool* handled);
    virtual bool isChild() const;
    virtual void setLocation(int x, int y);
    virtual void setSize(int width, int height);
    virtual void setBounds(int x, int y, int width, int height);
    virtual Dimension getMinimumSize() const;
    virtual Dimension getPreferredSize() const = 0;
    virtual Dimension getMaximumSize() const;
    virtual void setVisible(bool visible);
    virtual void setEnabled(bool enabled);
    virtual void setTreeEnabled(bool enabled);
    virtual void setForeground(COLORREF color);
    virtual void setBackground(COLORREF color);
    // A window exists and has WS_TABSTOP.
    virtual bool isFocusable() const;
    virtual void requestFocus();
    virtual void validate();
    // Invalidates the rectangle (window coordinates) and queues an update.
    virtual void repaint(int x, int y, int width, int height);
    // Redraws the invalid region now.
    virtual void update();

    Point getLocation() const;
    Dimension getSize() const;
    Rectangle getBounds() const;
    Container* getParent() const;
    bool isVisible() const;
    bool isEnabled() const;
    COLORREF getForeground() const;
    COLORREF getBackground() const;
    // A window exists, is visible and is the window at the screen position of its client origin.
    bool isShowing() const;
    // The component itself if it is no child, else the nearest ancestor that is no child (null
    // when there is none).
    Component* getTopLevelComponent() const;
    // The same as a window (null when it is no awt::Window).
    Window* getTopLevelWindow() const;
    // Widths of the native window's frame around its client area (zeros without a window).
    Insets getFrameInsets() const;
    // The frame that AdjustWindowRectEx gives for getStyle and getExStyle, not cached.
    Insets getStyleInsets() const;
    // Screen point to this component's window coordinates.
    Point screenToWindow(int x, int y) const;
    // Queues a validation and a repaint of the whole component (with a window, when visible).
    void invalidate();
    void repaintAll();
    // Sets the native window's text (with a window); throws AWTException "::SetWindowText() failed".
    void setText(const std::wstring& text);
    // The native window's font (WM_GETFONT); null without a window or with the system font.
    HFONT getFont() const;

    // Text measurement in the window's current font, selected into its device context.
    Dimension getTextExtent(const std::wstring& text) const;
    TEXTMETRICW getTextMetrics() const;
    // Extents of several texts and the font's metrics with one device context (either may be null).
    void measureTexts(const std::vector<std::wstring>& texts, std::vector<Dimension>* extents,
                      TEXTMETRICW* metrics) const;

    // Style bits of the native window (GWL_STYLE); nothing without a window.
    DWORD getWindowStyle() const;
    void addStyle(DWORD bits);
    void removeStyle(DWORD bits);
    void replaceStyle(DWORD mask, DWORD bits);

    // Control colours, asked for by the parent container for WM_CTLCOLOR* messages of this
    // component's window.
    LRESULT processControlColor(UINT message, HDC dc, bool* handled);

    // Moves the focus to the next (forward) or previous candidate: a focusable, showing, enabled
    // component. Without wrap the search stops at a group boundary. Returns false when none.
    bool transferFocus(bool forward, bool wrap);
    Component* findFocusCandidate(bool forward, bool wrap) const;
    // The first candidate inside the container, searched forward or backward.
    static Component* findCandidateInside(const Container* container, bool forward);
    // The component bound to the window with the keyboard focus, or null.
    static Component* getFocusedComponent();

    // Called by the top-level window (MouseOverTracker): if the mouse is inside, clears the flag
    // and fires mouseExited at the point (window coordinates).
    void notifyMouseExited(int x, int y);
    bool isMouseInside() const;

    void addMouseListener(MouseListener* listener);
    void removeMouseListener(MouseListener* listener);
    void addKeyListener(KeyListener* listener);
    void removeKeyListener(KeyListener* listener);
    void addFocusListener(FocusListener* listener);
    void removeFocusListener(FocusListener* listener);
    ListenerRegistry& getListenerRegistry();

protected:
    static constexpr std::uint8_t VISIBLE = 1;
    static constexpr std::uint8_t ENABLED = 2;

    // Window coordinates to the parent's client coordinates (unchanged for a window).
    Point toParentClient(int x, int y) const;
    // Frame insets of the parent for a child, zeros otherwise.
    Insets parentFrameInsets() const;
    // Runs the default key processing (focus traversal keys); sets event->consumed.
    void processKeyDefault(KeyEvent* event);

    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
    std::uint8_t flags;
    COLORREF foreground;
    COLORREF background;
    Container* parent;
    GdiObject<HBRUSH> backgroundBrush;
    mutable Insets frameInsets;
    ListenerRegistry listeners;
    std::uint8_t insideFlag;

private:
    friend class Container;

    LRESULT processKey(std::int32_t id, std::uint32_t keyCode, bool* handled);
    bool processMouseButton(std::int32_t id, std::int32_t button, std::int32_t clickCount,
                            Point at, bool nonClient);
    bool processMouseEnter(Point at, bool nonClient);
    bool processMouseLeave();
    bool fireMouse(std::int32_t id, std::int32_t button, std::int32_t clickCount, Point at);
    bool fireFocus(bool gained);
    Point clientToWindow(LPARAM lParam) const;
    Point screenLParamToWindow(LPARAM lParam) const;
    bool wantsKeys(LRESULT dialogCodeBit) const;
    void resetFrameInsets();
    void forgetInTopLevel();
    void repaintParent(int x, int y, int width, int height);
    void repaintGrownStrips(int oldWidth, int oldHeight);
};

} // namespace awt

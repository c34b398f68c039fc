#pragma once

#include <cstdint>
#include <vector>

#include <windows.h>

#include "awt/Container.h"
#include "awt/Event.h"
#include "awt/Geometry.h"
#include "awt/MouseOverTracker.h"

namespace awt {

class KeyListener;
class MenuBar;
class WindowListener;
struct KeyStroke;

// A top-level window: a native popup window with an optional owner. Its native window is made
// on first show; the position and size the system chose are read back. It reports the window
// event protocol to window listeners, closes by its default close operation, keeps minimum and
// maximum track sizes, owns the windows it owns, dispatches key accelerators while active and
// remembers the descendant that last had the focus.
class Window : public Container, public MouseOverTracker {
public:
    // Default close operations.
    static constexpr std::int32_t DO_NOTHING = 0;
    static constexpr std::int32_t HIDE = 1;
    static constexpr std::int32_t DISPOSE = 2;
    // Disposes, then deletes the window once the current message has been handled.
    static constexpr std::int32_t DISPOSE_AND_DELETE = 3;
    // Ends the toolkit's loop with 0.
    static constexpr std::int32_t EXIT = 4;

    class KeyAcceleratorHandler;
    class ChildrenMonitor;

    // The window is owned (and deleted) by the owner, which may be null.
    explicit Window(Window* owner);
    ~Window() noexcept(false) override;

    // Slots 35 to 42. The window owns the menu bar; a replaced one is deleted. Null fails
    // zeno::checkNotNull "menuBar".
    virtual void setMenuBar(MenuBar* menuBar);
    virtual void setAlwaysOnTop(bool alwaysOnTop);
    // Track sizes applied while the user resizes; -1 leaves a value to the system.
    virtual void setMinimumSize(const Dimension& size);
    virtual void setMaximumSize(const Dimension& size);
    virtual void setDefaultCloseOperation(std::int32_t operation);
    virtual void toFront();
    virtual void toBack();
    // Hides the window and destroys the native windows of it, its children and its owned
    // windows; the object stays usable.
    virtual void dispose();

    // Overrides.
    void createPeer() override;
    void destroyPeer() override;
    Toolkit* getToolkit() override;
    HWND createWindow() override;
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LPCWSTR getClassName() const override;
    DWORD getStyle() const override;
    DWORD getExStyle() const override;
    bool isChild() const override;
    Dimension getMinimumSize() const override;
    Dimension getMaximumSize() const override;
    void setVisible(bool visible) override;
    void setTreeEnabled(bool enabled) override;
    void requestFocus() override;

    // Creates the native window and gives it its preferred size.
    void pack();
    // Centres the window on its owner, or without owner on the work area of its monitor.
    void center();
    // Binds the stroke to the listener's keyPressed (replacing an earlier binding); the
    // listener is not owned. Bindings fire only while this window is active.
    void addKeyAccelerator(const KeyStroke& stroke, KeyListener* listener);
    bool isMaximized() const;

    void addWindowListener(WindowListener* listener);
    void removeWindowListener(WindowListener* listener);

    Window* getOwner() const;
    const std::vector<Window*>& getOwnedWindows() const;
    std::int32_t getDefaultCloseOperation() const;
    bool isAlwaysOnTop() const;
    MenuBar* getMenuBar() const;
    Component* getFocusOwner() const;
    Component* getMouseOverComponent() const;

    // MouseOverTracker: a descendant that the mouse entered.
    void mouseEnteredComponent(Component* component, int x, int y) override;
    // A descendant deleted by any path is no longer the focus owner or under the mouse.
    void componentDeleted(Component* component) override;

protected:
    // Fires one window event; returns whether a listener consumed it.
    bool fireWindowEvent(void (WindowListener::*operation)(WindowEvent*));
    // Runs the default close operation.
    void performCloseOperation();
    // WM_CLOSE and SC_CLOSE: windowClosing, then the close operation unless consumed.
    void processClose();

private:
    friend class ChildrenMonitor;

    static constexpr std::uint8_t ALWAYS_ON_TOP = 1;

    // Work queued on the toolkit for this window (the focus request after showing, the
    // deletion after closing); a window deleted before it runs makes it do nothing.
    class PendingTask;
    void schedule(PendingTask*& slot, void (*action)(Window*));

    void removeMenuBar();
    void installAccelerators(bool active);
    void processSizing(const RECT* proposed);
    LRESULT processMenuCommand(WPARAM index, HMENU menu);

    MenuBar* menuBar;
    std::uint8_t windowFlags;
    std::vector<Window*> ownedWindows;
    Dimension minimumSize;
    Dimension maximumSize;
    std::int32_t closeOperation;
    Component* mouseOverComponent;
    Component* focusOwner;
    ChildrenMonitor* childrenMonitor;
    KeyAcceleratorHandler* keyAcceleratorHandler;
    PendingTask* pendingFocusRequest;
    PendingTask* pendingDeletion;
};

}  // namespace awt

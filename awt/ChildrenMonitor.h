#pragma once

#include "awt/Listener.h"
#include "awt/RecursiveListener.h"
#include "awt/Window.h"

namespace awt {

// Follows the window's component tree: every descendant gets the monitor as focus listener,
// so the window knows which descendant had the focus last; a descendant that leaves the tree
// is forgotten as focus owner and as the component under the mouse.
class Window::ChildrenMonitor : public RecursiveListener, public FocusListener {
public:
    explicit ChildrenMonitor(Window* window);

    void componentAttached(Component* component) override;
    void componentDetached(Component* component) override;
    void focusGained(FocusEvent* event) override;
    void focusLost(FocusEvent* event) override;

private:
    Window* window;
};

}  // namespace awt

#include "awt/ChildrenMonitor.h"

#include "awt/Component.h"

namespace awt {

Window::ChildrenMonitor::ChildrenMonitor(Window* window) : window(window) {}

void Window::ChildrenMonitor::componentAttached(Component* component) {
    component->addFocusListener(this);
}

void Window::ChildrenMonitor::componentDetached(Component* component) {
    if (window->mouseOverComponent == component) {
        window->mouseOverComponent = nullptr;
    }
    if (window->focusOwner == component) {
        window->focusOwner = nullptr;
    }
    component->removeFocusListener(this);
}

void Window::ChildrenMonitor::focusGained(FocusEvent* event) {
    if (event->source != window) {
        window->focusOwner = event->source;
    }
}

void Window::ChildrenMonitor::focusLost(FocusEvent*) {}

}  // namespace awt

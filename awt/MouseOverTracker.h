#pragma once

namespace awt {

class Component;

// Implemented by the top-level window: a component that the mouse entered reports itself, with
// the entry point in its own window coordinates, before it fires mouseEntered. The tracker tells
// the component that had the mouse before (it may be the same one) with
// Component::notifyMouseExited at that point mapped into its window, then remembers the new one.
class MouseOverTracker {
public:
    virtual void mouseEnteredComponent(Component* component, int x, int y) = 0;
    // A component of the window is being deleted, with its descendants still attached to it:
    // the tracker must not keep a pointer to any of them.
    virtual void componentDeleted(Component*) {}

protected:
    ~MouseOverTracker() = default;
};

} // namespace awt

#pragma once

#include "awt/Listener.h"

namespace awt {

class Component;

// A container listener that follows a whole component tree: attached to a component it
// reports that component and every descendant (parents first), and keeps following children
// that are added or removed anywhere in the tree later.
class RecursiveListener : public ContainerListener {
public:
    ~RecursiveListener() override = default;
    void componentAdded(ContainerEvent* event) override;
    void componentRemoved(ContainerEvent* event) override;
    virtual void componentAttached(Component* component) = 0;
    virtual void componentDetached(Component* component) = 0;

    void attach(Component* component);
    void detach(Component* component);
};

}  // namespace awt

#include "awt/RecursiveListener.h"

#include "awt/Container.h"

namespace awt {

void RecursiveListener::componentAdded(ContainerEvent* event) {
    attach(event->child);
}

void RecursiveListener::componentRemoved(ContainerEvent* event) {
    detach(event->child);
}

void RecursiveListener::attach(Component* component) {
    componentAttached(component);
    if (auto* container = dynamic_cast<Container*>(component)) {
        container->addContainerListener(this);
        for (Component* child : container->getComponents()) {
            attach(child);
        }
    }
}

void RecursiveListener::detach(Component* component) {
    componentDetached(component);
    if (auto* container = dynamic_cast<Container*>(component)) {
        container->removeContainerListener(this);
        for (Component* child : container->getComponents()) {
            detach(child);
        }
    }
}

}  // namespace awt

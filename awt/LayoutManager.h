#pragma once

#include "awt/Geometry.h"

namespace awt {

class Component;
class Container;

// Places the children of a container. Pure computation: reads the children's visibility and
// preferred sizes, the container's size and insets, and calls the children's setBounds.
class LayoutManager {
public:
    // A placement tag, compared by identity (address), never by value. Callers with nothing to
    // say pass a default-constructed local Constraints.
    class Constraints {
    public:
        virtual ~Constraints() = default;
    };

    virtual ~LayoutManager() = default;
    virtual void addLayoutComponent(Component* component, const Constraints& constraints) = 0;
    virtual void removeLayoutComponent(Component* component) = 0;
    virtual Dimension preferredLayoutSize(const Container* parent) = 0;
    virtual void layoutContainer(Container* parent) = 0;
};

} // namespace awt

#pragma once

#include "awt/LayoutManager.h"

namespace awt {

// Places nothing: children keep the bounds set on them directly. The default of every container.
class NullLayout : public LayoutManager {
public:
    // The shared instance every container starts with.
    static NullLayout instance;

    void addLayoutComponent(Component* component, const Constraints& constraints) override;
    void removeLayoutComponent(Component* component) override;
    // The container's insets alone: (left + right, top + bottom).
    Dimension preferredLayoutSize(const Container* parent) override;
    void layoutContainer(Container* parent) override;
};

} // namespace awt

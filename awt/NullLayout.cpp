#include "awt/NullLayout.h"

#include "awt/Container.h"

namespace awt {

NullLayout NullLayout::instance;

void NullLayout::addLayoutComponent(Component*, const Constraints&) {}

void NullLayout::removeLayoutComponent(Component*) {}

Dimension NullLayout::preferredLayoutSize(const Container* parent) {
    Insets insets = parent->getInsets();
    return Dimension{insets.left + insets.right, insets.top + insets.bottom};
}

void NullLayout::layoutContainer(Container*) {}

} // namespace awt

#pragma once

#include "awt/Geometry.h"

namespace awt {

// The room a layout keeps free around its children: the container's insets plus the
// layout's own margin.
inline Insets totalInsets(const Insets& container, const Insets& margin) {
    return Insets{container.top + margin.top, container.left + margin.left,
                  container.bottom + margin.bottom, container.right + margin.right};
}

// Finishes a preferred size: the container's insets first, then the margin.
inline Dimension addInsets(Dimension size, const Insets& container, const Insets& margin) {
    size.width += container.left + container.right;
    size.width += margin.left + margin.right;
    size.height += container.top + container.bottom;
    size.height += margin.top + margin.bottom;
    return size;
}

}  // namespace awt

#include "awt/ButtonsLayout.h"

#include <algorithm>

#include "awt/Component.h"
#include "awt/Container.h"
#include "awt/DefaultGaps.h"
#include "awt/LayoutInsets.h"

namespace awt {

ButtonsLayout::ButtonsLayout(Alignment alignment)
    : alignment(alignment), hgap(0), vgap(0), margin{0, 0, 0, 0} {
    getDefaultGaps(hgap, vgap);
}

void ButtonsLayout::setGaps(int horizontal, int vertical) {
    hgap = horizontal;
    vgap = vertical;
}

void ButtonsLayout::setMargin(const Insets& insets) {
    margin = insets;
}

void ButtonsLayout::addLayoutComponent(Component*, const Constraints&) {}

void ButtonsLayout::removeLayoutComponent(Component*) {}

ButtonsLayout::Cells ButtonsLayout::measure(const Container* parent) {
    Cells cells{0, 0, 0};
    const int count = parent->getComponentCount();
    for (int i = 0; i < count; ++i) {
        Component* child = parent->getComponent(i);
        if (child->isVisible()) {
            const Dimension p = child->getPreferredSize();
            ++cells.count;
            cells.width = std::max(cells.width, p.width);
            cells.height = std::max(cells.height, p.height);
        }
    }
    return cells;
}

int ButtonsLayout::rowWidth(const Cells& cells) const {
    int width = cells.count * cells.width;
    if (cells.count >= 2) {
        width += (cells.count - 1) * hgap;
    }
    return width;
}

Dimension ButtonsLayout::preferredLayoutSize(const Container* parent) {
    const Cells cells = measure(parent);
    return addInsets(Dimension{rowWidth(cells), cells.height}, parent->getInsets(), margin);
}

void ButtonsLayout::layoutContainer(Container* parent) {
    const Cells cells = measure(parent);
    if (cells.count == 0) {
        return;
    }
    const Dimension size = parent->getSize();
    const Insets insets = totalInsets(parent->getInsets(), margin);
    const int total = rowWidth(cells);
    int x = insets.left;
    if (alignment == RIGHT) {
        x = size.width - insets.right - total;
    } else if (alignment == CENTER) {
        x = insets.left + (size.width - insets.right - insets.left - total) / 2;
    }
    const int count = parent->getComponentCount();
    for (int i = 0; i < count; ++i) {
        Component* child = parent->getComponent(i);
        if (child->isVisible()) {
            child->setBounds(x, insets.top, cells.width, cells.height);
            x += cells.width + hgap;
        }
    }
}

}  // namespace awt

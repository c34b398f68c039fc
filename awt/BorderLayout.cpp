#include "awt/BorderLayout.h"

#include <algorithm>

#include "awt/Component.h"
#include "awt/Container.h"
#include "awt/DefaultGaps.h"
#include "awt/LayoutInsets.h"
#include "zeno/Exception.h"

namespace awt {

LayoutManager::Constraints BorderLayout::NORTH;
LayoutManager::Constraints BorderLayout::SOUTH;
LayoutManager::Constraints BorderLayout::EAST;
LayoutManager::Constraints BorderLayout::WEST;
LayoutManager::Constraints BorderLayout::CENTER;

namespace {

bool isPlaced(Component* component) {
    return component != nullptr && component->isVisible();
}

Dimension preferredSizeOf(Component* component) {
    return isPlaced(component) ? component->getPreferredSize() : Dimension{0, 0};
}

}  // namespace

BorderLayout::BorderLayout()
    : hgap(0), vgap(0), margin{0, 0, 0, 0},
      north(nullptr), south(nullptr), east(nullptr), west(nullptr), center(nullptr) {}

void BorderLayout::setDefaultGaps() {
    getDefaultGaps(hgap, vgap);
}

void BorderLayout::setGaps(int horizontal, int vertical) {
    hgap = horizontal;
    vgap = vertical;
}

void BorderLayout::setMargin(const Insets& insets) {
    margin = insets;
}

void BorderLayout::addLayoutComponent(Component* component, const Constraints& constraints) {
    if (&constraints == &NORTH) {
        north = component;
    } else if (&constraints == &SOUTH) {
        south = component;
    } else if (&constraints == &EAST) {
        east = component;
    } else if (&constraints == &WEST) {
        west = component;
    } else if (&constraints == &CENTER) {
        center = component;
    } else {
        throw zeno::IllegalArgumentException(L"constraints");
    }
}

void BorderLayout::removeLayoutComponent(Component* component) {
    for (Component** region : {&north, &south, &east, &west, &center}) {
        if (*region == component) {
            *region = nullptr;
            return;
        }
    }
}

Dimension BorderLayout::preferredLayoutSize(const Container* parent) {
    const Dimension n = preferredSizeOf(north);
    const Dimension s = preferredSizeOf(south);
    const Dimension e = preferredSizeOf(east);
    const Dimension w = preferredSizeOf(west);
    const Dimension c = preferredSizeOf(center);

    Dimension size{std::max({n.width, s.width, c.width + e.width + w.width}),
                   std::max({e.height, w.height, c.height}) + s.height + n.height};
    const int filledColumns = (e.width > 0) + (c.width > 0) + (w.width > 0);
    if (filledColumns >= 2) {
        size.width += (filledColumns - 1) * hgap;
    }
    const int filledRows = (n.height > 0) + (w.height + c.height + e.height > 0) + (s.height > 0);
    if (filledRows >= 2) {
        size.height += (filledRows - 1) * vgap;
    }
    return addInsets(size, parent->getInsets(), margin);
}

void BorderLayout::layoutContainer(Container* parent) {
    const Insets insets = totalInsets(parent->getInsets(), margin);
    const Dimension size = parent->getSize();
    int top = insets.top;
    int bottom = size.height - insets.bottom;
    int left = insets.left;
    int right = size.width - insets.right;

    if (isPlaced(north)) {
        const Dimension p = north->getPreferredSize();
        north->setBounds(left, top, right - left, p.height);
        top += p.height + vgap;
    }
    if (isPlaced(south)) {
        const Dimension p = south->getPreferredSize();
        south->setBounds(left, bottom - p.height, right - left, p.height);
        bottom -= p.height + vgap;
    }
    if (isPlaced(west)) {
        const Dimension p = west->getPreferredSize();
        west->setBounds(left, top, p.width, bottom - top);
        left += p.width + hgap;
    }
    if (isPlaced(east)) {
        const Dimension p = east->getPreferredSize();
        east->setBounds(right - p.width, top, p.width, bottom - top);
        right -= p.width + hgap;
    }
    if (isPlaced(center)) {
        center->setBounds(left, top, right - left, bottom - top);
    }
}

}  // namespace awt

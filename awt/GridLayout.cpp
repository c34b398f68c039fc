#include "awt/GridLayout.h"

#include <algorithm>

#include "awt/Component.h"
#include "awt/Container.h"
#include "awt/DefaultGaps.h"
#include "awt/LayoutInsets.h"

namespace awt {

namespace {

// Total width of the gaps between `count` cells; an empty grid has none.
int gapsBetween(int count, int gap) {
    return count > 1 ? (count - 1) * gap : 0;
}

}  // namespace

GridLayout::GridLayout() : rows(1), cols(1), hgap(0), vgap(0), margin{0, 0, 0, 0} {}

void GridLayout::setRowsAndCols(int newRows, int newCols) {
    GridShape::check(newRows, newCols);
    rows = newRows;
    cols = newCols;
}

void GridLayout::setDefaultGaps() {
    getDefaultGaps(hgap, vgap);
}

void GridLayout::setGaps(int horizontal, int vertical) {
    hgap = horizontal;
    vgap = vertical;
}

void GridLayout::setMargin(const Insets& insets) {
    margin = insets;
}

void GridLayout::addLayoutComponent(Component*, const Constraints&) {}

void GridLayout::removeLayoutComponent(Component*) {}

Dimension GridLayout::preferredLayoutSize(const Container* parent) {
    const int count = parent->getComponentCount();
    const GridShape shape = GridShape{rows, cols}.effective(count);
    int maxWidth = 0;
    int maxHeight = 0;
    for (int i = 0; i < count; ++i) {
        Component* child = parent->getComponent(i);
        if (child->isVisible()) {
            const Dimension p = child->getPreferredSize();
            maxWidth = std::max(maxWidth, p.width);
            maxHeight = std::max(maxHeight, p.height);
        }
    }
    const Dimension size{shape.cols * maxWidth + gapsBetween(shape.cols, hgap),
                         shape.rows * maxHeight + gapsBetween(shape.rows, vgap)};
    return addInsets(size, parent->getInsets(), margin);
}

void GridLayout::layoutContainer(Container* parent) {
    const int count = parent->getComponentCount();
    const GridShape shape = GridShape{rows, cols}.effective(count);
    if (shape.rows <= 0 || shape.cols <= 0) {
        return;  // no cells: an empty container with a derived count
    }
    const Dimension size = parent->getSize();
    const Insets insets = totalInsets(parent->getInsets(), margin);
    const int availWidth = size.width - (shape.cols - 1) * hgap - insets.left - insets.right;
    const int availHeight = size.height - (shape.rows - 1) * vgap - insets.top - insets.bottom;
    for (int r = 0; r < shape.rows; ++r) {
        const int cellTop = (r * availHeight) / shape.rows;
        const int cellBottom = ((r + 1) * availHeight) / shape.rows;
        for (int c = 0; c < shape.cols; ++c) {
            const int i = r * shape.cols + c;
            if (i >= count) {
                return;
            }
            Component* child = parent->getComponent(i);
            if (!child->isVisible()) {
                continue;
            }
            const int cellLeft = (c * availWidth) / shape.cols;
            const int cellRight = ((c + 1) * availWidth) / shape.cols;
            child->setBounds(insets.left + c * hgap + cellLeft, insets.top + r * vgap + cellTop,
                             cellRight - cellLeft, cellBottom - cellTop);
        }
    }
}

}  // namespace awt

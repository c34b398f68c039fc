#include "awt/GridFlowLayout.h"

#include <algorithm>
#include <cstdint>

#include "awt/Component.h"
#include "awt/Container.h"
#include "awt/DefaultGaps.h"
#include "awt/LayoutInsets.h"

namespace awt {

GridFlowLayout::GridFlowLayout()
    : rows(1), cols(1),
      gridHorizontalAlignment(FILL), gridVerticalAlignment(FILL),
      cellHorizontalAlignment(FILL), cellVerticalAlignment(FILL),
      hgap(0), vgap(0), margin{0, 0, 0, 0} {}

void GridFlowLayout::setRowsAndCols(int newRows, int newCols) {
    GridShape::check(newRows, newCols);
    rows = newRows;
    cols = newCols;
}

void GridFlowLayout::setDefaultGaps() {
    getDefaultGaps(hgap, vgap);
}

void GridFlowLayout::setHorizontalGap(int gap) {
    hgap = gap;
}

void GridFlowLayout::setVerticalGap(int gap) {
    vgap = gap;
}

void GridFlowLayout::setMargin(const Insets& insets) {
    margin = insets;
}

void GridFlowLayout::setGridAlignment(int horizontal, int vertical) {
    gridHorizontalAlignment = horizontal;
    gridVerticalAlignment = vertical;
}

void GridFlowLayout::setCellHorizontalAlignment(int alignment) {
    cellHorizontalAlignment = alignment;
}

void GridFlowLayout::setCellVerticalAlignment(int alignment) {
    cellVerticalAlignment = alignment;
}

void GridFlowLayout::addLayoutComponent(Component*, const Constraints&) {}

void GridFlowLayout::removeLayoutComponent(Component*) {}

int GridFlowLayout::gapSum(const std::vector<int>& sizes, int gap) {
    int sum = 0;
    for (int size : sizes) {
        if (size > 0) {
            if (sum > 0) {
                sum += gap;
            }
            sum += size;
        }
    }
    return sum;
}

void GridFlowLayout::stretch(std::vector<int>& sizes, int gap, int length) {
    int avail = length;
    int sum = 0;
    for (int size : sizes) {
        if (size > 0) {
            if (sum > 0) {
                avail -= gap;
            }
            sum += size;
        }
    }
    if (sum == 0 || sum == avail) {
        return;
    }
    int total = 0;
    for (int& size : sizes) {
        // widened so that large sizes cannot overflow before the division
        size = static_cast<int>(static_cast<std::int64_t>(size) * avail / sum);
        total += size;
    }
    // Only non-empty entries take a share of the remainder: an empty column that grew to
    // one pixel would count as non-empty and draw a gap.
    int remainder = avail - total;
    for (int& size : sizes) {
        if (remainder <= 0) {
            break;
        }
        if (size > 0) {
            size += 1;
            remainder -= 1;
        }
    }
}

GridFlowLayout::Measure GridFlowLayout::measure(const Container* parent) const {
    const int count = parent->getComponentCount();
    Measure m{GridShape{rows, cols}.effective(count), {}, {}, {0, 0}};
    m.colWidth.assign(std::max(m.shape.cols, 0), 0);
    m.rowHeight.assign(std::max(m.shape.rows, 0), 0);
    int i = 0;
    for (int r = 0; r < m.shape.rows && i < count; ++r) {
        for (int c = 0; c < m.shape.cols && i < count; ++c, ++i) {
            Component* child = parent->getComponent(i);
            if (child->isVisible()) {
                const Dimension p = child->getPreferredSize();
                m.colWidth[c] = std::max(m.colWidth[c], p.width);
                m.rowHeight[r] = std::max(m.rowHeight[r], p.height);
            }
        }
    }
    m.preferred = addInsets(Dimension{gapSum(m.colWidth, hgap), gapSum(m.rowHeight, vgap)},
                            parent->getInsets(), margin);
    return m;
}

Dimension GridFlowLayout::preferredLayoutSize(const Container* parent) {
    return measure(parent).preferred;
}

void GridFlowLayout::layoutContainer(Container* parent) {
    Measure m = measure(parent);
    const Dimension size = parent->getSize();
    const Insets insets = totalInsets(parent->getInsets(), margin);

    int x0 = insets.left;
    switch (gridHorizontalAlignment) {
    case FILL:
        stretch(m.colWidth, hgap, size.width - insets.right - insets.left);
        break;
    case RIGHT:
        x0 = insets.left + size.width - m.preferred.width;
        break;
    case CENTER:
        x0 = insets.left + (size.width - m.preferred.width) / 2;
        break;
    default:  // LEFT, and values that mean nothing horizontally
        break;
    }
    int y0 = insets.top;
    switch (gridVerticalAlignment) {
    case FILL:
        stretch(m.rowHeight, vgap, size.height - insets.top - insets.bottom);
        break;
    case BOTTOM:
        y0 = insets.top + size.height - m.preferred.height;
        break;
    case CENTER:
        y0 = insets.top + (size.height - m.preferred.height) / 2;
        break;
    default:  // TOP, and values that mean nothing vertically
        break;
    }

    const int count = parent->getComponentCount();
    int i = 0;
    int y = y0;
    for (int r = 0; r < m.shape.rows && i < count; ++r) {
        const int rowHeight = m.rowHeight[r];
        if (rowHeight > 0 && y > y0) {
            y += vgap;
        }
        int x = x0;
        for (int c = 0; c < m.shape.cols && i < count; ++c, ++i) {
            const int colWidth = m.colWidth[c];
            // The gap is counted for hidden cells as well, so that a row with a hidden
            // child keeps its later columns in line with the other rows.
            if (colWidth > 0 && x > x0) {
                x += hgap;
            }
            Component* child = parent->getComponent(i);
            if (child->isVisible()) {
                const Dimension p = child->getPreferredSize();
                int cx = x;
                int width = colWidth;
                switch (cellHorizontalAlignment) {
                case FILL:
                    break;
                case RIGHT:
                    cx = x + colWidth - p.width;
                    width = p.width;
                    break;
                case CENTER:
                    cx = x + (colWidth - p.width) / 2;
                    width = p.width;
                    break;
                default:  // LEFT
                    width = p.width;
                    break;
                }
                int cy = y;
                int height = rowHeight;
                switch (cellVerticalAlignment) {
                case FILL:
                    break;
                case BOTTOM:
                    cy = y + rowHeight - p.height;
                    height = p.height;
                    break;
                case CENTER:
                    cy = y + (rowHeight - p.height) / 2;
                    height = p.height;
                    break;
                default:  // TOP
                    height = p.height;
                    break;
                }
                child->setBounds(cx, cy, width, height);
            }
            x += colWidth;
        }
        y += rowHeight;
    }
}

}  // namespace awt

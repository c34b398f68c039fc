#pragma once

#include <vector>

#include "awt/Geometry.h"
#include "awt/GridShape.h"
#include "awt/LayoutManager.h"

namespace awt {

class Component;
class Container;

// A grid whose columns are as wide as their widest child and whose rows are as tall as
// their tallest child. The grid as a whole is aligned (or stretched) inside the container,
// and each child inside its cell. Gaps lie only between non-empty columns and rows.
class GridFlowLayout : public LayoutManager {
public:
    enum Alignment { FILL = 0, TOP = 1, BOTTOM = 2, LEFT = 3, RIGHT = 4, CENTER = 5 };

    GridFlowLayout();

    void setRowsAndCols(int rows, int cols);
    void setDefaultGaps();
    void setHorizontalGap(int hgap);
    void setVerticalGap(int vgap);
    void setMargin(const Insets& margin);
    void setGridAlignment(int horizontal, int vertical);
    void setCellHorizontalAlignment(int alignment);
    void setCellVerticalAlignment(int alignment);

    void addLayoutComponent(Component* component, const Constraints& constraints) override;
    void removeLayoutComponent(Component* component) override;
    Dimension preferredLayoutSize(const Container* parent) override;
    void layoutContainer(Container* parent) override;

    // Scales the positive entries of `sizes` so that they and the gaps between them fill
    // `length`; grows or shrinks, and spreads the rounding remainder over the first entries.
    static void stretch(std::vector<int>& sizes, int gap, int length);

    // Sum of the positive entries with one gap between neighbouring positive entries.
    static int gapSum(const std::vector<int>& sizes, int gap);

private:
    struct Measure {
        GridShape shape;
        std::vector<int> colWidth;
        std::vector<int> rowHeight;
        Dimension preferred;
    };

    Measure measure(const Container* parent) const;

    int rows;
    int cols;
    int gridHorizontalAlignment;
    int gridVerticalAlignment;
    int cellHorizontalAlignment;
    int cellVerticalAlignment;
    int hgap;
    int vgap;
    Insets margin;
};

}  // namespace awt

#pragma once

#include "awt/Geometry.h"
#include "awt/GridShape.h"
#include "awt/LayoutManager.h"

namespace awt {

class Component;
class Container;

// All cells the same size: the inner area is divided evenly, the remainder of the division
// spread over the cells so that the last one ends exactly at the inner edge. Children fill
// the grid row by row; a hidden child leaves its cell empty.
class GridLayout : public LayoutManager {
public:
    GridLayout();

    void setRowsAndCols(int rows, int cols);
    void setDefaultGaps();
    void setGaps(int hgap, int vgap);
    void setMargin(const Insets& margin);

    void addLayoutComponent(Component* component, const Constraints& constraints) override;
    void removeLayoutComponent(Component* component) override;
    Dimension preferredLayoutSize(const Container* parent) override;
    void layoutContainer(Container* parent) override;

private:
    int rows;
    int cols;
    int hgap;
    int vgap;
    Insets margin;
};

}  // namespace awt

#pragma once

#include "awt/Geometry.h"
#include "awt/LayoutManager.h"

namespace awt {

class Component;
class Container;

// Five regions: north and south take the full inner width at the top and bottom, west and
// east the height left between them, the centre whatever remains. An empty or hidden region
// takes no space and adds no gap.
class BorderLayout : public LayoutManager {
public:
    static Constraints NORTH;
    static Constraints SOUTH;
    static Constraints EAST;
    static Constraints WEST;
    static Constraints CENTER;

    BorderLayout();

    void setDefaultGaps();
    void setGaps(int hgap, int vgap);
    void setMargin(const Insets& margin);

    void addLayoutComponent(Component* component, const Constraints& constraints) override;
    void removeLayoutComponent(Component* component) override;
    Dimension preferredLayoutSize(const Container* parent) override;
    void layoutContainer(Container* parent) override;

private:
    int hgap;
    int vgap;
    Insets margin;
    Component* north;
    Component* south;
    Component* east;
    Component* west;
    Component* center;
};

}  // namespace awt

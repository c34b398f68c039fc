#pragma once

#include "awt/Geometry.h"
#include "awt/LayoutManager.h"

namespace awt {

class Component;
class Container;

// One row of equal cells, each as wide as the widest and as tall as the tallest visible
// child, placed as a block at the left, the right or the centre of the inner area.
// Hidden children take no cell.
class ButtonsLayout : public LayoutManager {
public:
    enum Alignment { LEFT = 0, RIGHT = 1, CENTER = 2 };

    // The gaps come from getDefaultGaps.
    explicit ButtonsLayout(Alignment alignment = RIGHT);

    void setGaps(int hgap, int vgap);
    void setMargin(const Insets& margin);

    void addLayoutComponent(Component* component, const Constraints& constraints) override;
    void removeLayoutComponent(Component* component) override;
    Dimension preferredLayoutSize(const Container* parent) override;
    void layoutContainer(Container* parent) override;

private:
    struct Cells {
        int count;
        int width;
        int height;
    };

    static Cells measure(const Container* parent);
    int rowWidth(const Cells& cells) const;

    Alignment alignment;
    int hgap;
    int vgap;
    Insets margin;
};

}  // namespace awt

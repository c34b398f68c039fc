#include <gtest/gtest.h>

#include "awt/ButtonsLayout.h"
#include "awt/DefaultGaps.h"
#include "LayoutTestComponents.h"

using awt::ButtonsLayout;
using awt::Dimension;
using awt::Insets;

namespace {

TEST(ButtonsLayout, RightAlignedRowEndsAtTheInnerRightEdge) {
    ButtonsLayout layout;
    layout.setGaps(8, 0);
    InsetContainer container(Insets{0, 0, 0, 10});
    container.setLayout(&layout);
    FixedComponent* ok = container.addFixed(60, 20);
    FixedComponent* cancel = container.addFixed(80, 24);
    container.setSize(310, 50);

    layout.layoutContainer(&container);

    EXPECT_EQ(L"132,0,80,24", ok->bounds());
    EXPECT_EQ(L"220,0,80,24", cancel->bounds());
    EXPECT_EQ((Dimension{2 * 80 + 8 + 10, 24}), layout.preferredLayoutSize(&container));
}

TEST(ButtonsLayout, LeftAndCentreAlignmentAndHiddenChildrenTakeNoCell) {
    ButtonsLayout left(ButtonsLayout::LEFT);
    ButtonsLayout centre(ButtonsLayout::CENTER);
    for (ButtonsLayout* layout : {&left, &centre}) {
        layout->setGaps(4, 0);
        layout->setMargin(Insets{1, 2, 3, 4});
    }
    InsetContainer container(Insets{5, 6, 7, 8});
    container.setLayout(&left);
    // Empty: nothing placed, the insets preferred.
    container.setSize(200, 100);
    left.layoutContainer(&container);
    EXPECT_EQ((Dimension{20, 16}), left.preferredLayoutSize(&container));
    FixedComponent* a = container.addFixed(30, 10);
    FixedComponent* hidden = container.addFixed(90, 90);
    FixedComponent* b = container.addFixed(20, 12);
    FixedComponent* c = container.addFixed(25, 11);
    hidden->setVisible(false);

    left.layoutContainer(&container);
    // Total insets: top 6, left 8, bottom 10, right 12.
    EXPECT_EQ(L"8,6,30,12", a->bounds());
    EXPECT_EQ(L"42,6,30,12", b->bounds());
    EXPECT_EQ(L"76,6,30,12", c->bounds());
    EXPECT_EQ(L"0,0,0,0", hidden->bounds());
    EXPECT_EQ((Dimension{3 * 30 + 2 * 4 + 20, 12 + 16}), left.preferredLayoutSize(&container));

    container.setLayout(&centre);
    centre.layoutContainer(&container);
    // Row of 3 * 30 + 2 * 4 = 98 in an inner width of 180: starts at 8 + 41.
    EXPECT_EQ(L"49,6,30,12", a->bounds());
    EXPECT_EQ(L"117,6,30,12", c->bounds());
}

TEST(ButtonsLayout, StartsWithTheDefaultGaps) {
    int hgap = 0;
    int vgap = 0;
    awt::getDefaultGaps(hgap, vgap);
    ButtonsLayout layout(ButtonsLayout::LEFT);
    InsetContainer container;
    container.setLayout(&layout);
    FixedComponent* only = container.addFixed(10, 10);
    container.setSize(100, 100);
    layout.layoutContainer(&container);
    EXPECT_EQ(10, layout.preferredLayoutSize(&container).width);  // one button, no gap
    FixedComponent* second = container.addFixed(10, 10);

    layout.layoutContainer(&container);

    EXPECT_EQ(L"0,0,10,10", only->bounds());
    EXPECT_EQ(10 + hgap, second->getLocation().x);
    EXPECT_EQ(20 + hgap, layout.preferredLayoutSize(&container).width);
}

}  // namespace

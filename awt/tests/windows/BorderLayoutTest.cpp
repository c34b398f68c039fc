#include <gtest/gtest.h>

#include <memory>

#include <windows.h>

#include "awt/BorderLayout.h"
#include "awt/DefaultGaps.h"
#include "LayoutTestComponents.h"
#include "zeno/Exception.h"

using awt::BorderLayout;
using awt::Dimension;
using awt::Insets;

namespace {

struct BorderLayoutTest : ::testing::Test {
    BorderLayout layout;
    // Held by pointer: a component's destructor may throw, a fixture's may not.
    std::unique_ptr<InsetContainer> holder = std::make_unique<InsetContainer>(Insets{3, 4, 5, 6});
    InsetContainer& container = *holder;

    void SetUp() override {
        container.setLayout(&layout);
        layout.setGaps(7, 9);
    }
};

TEST_F(BorderLayoutTest, FiveRegionsShareTheInnerArea) {
    layout.setMargin(Insets{1, 2, 3, 4});
    FixedComponent* north = container.addFixed(50, 20, BorderLayout::NORTH);
    FixedComponent* south = container.addFixed(60, 30, BorderLayout::SOUTH);
    FixedComponent* west = container.addFixed(40, 11, BorderLayout::WEST);
    FixedComponent* east = container.addFixed(35, 12, BorderLayout::EAST);
    FixedComponent* center = container.addFixed(10, 10, BorderLayout::CENTER);
    container.setSize(400, 300);

    layout.layoutContainer(&container);

    // Total insets: top 4, left 6, bottom 8, right 10; middle row from y 33 to 253.
    EXPECT_EQ(L"6,4,384,20", north->bounds());
    EXPECT_EQ(L"6,262,384,30", south->bounds());
    EXPECT_EQ(L"6,33,40,220", west->bounds());
    EXPECT_EQ(L"355,33,35,220", east->bounds());
    EXPECT_EQ(L"53,33,295,220", center->bounds());
    // Width: 10 + 35 + 40 and 2 gaps; height: 12 + 30 + 20 and 2 gaps; then insets and margin.
    EXPECT_EQ((Dimension{85 + 14 + 10 + 6, 62 + 18 + 8 + 4}), container.getPreferredSize());
}

TEST_F(BorderLayoutTest, HiddenNorthTakesNoGapButAZeroHighOneDoesInTheLayout) {
    FixedComponent* north = container.addFixed(50, 20, BorderLayout::NORTH);
    FixedComponent* center = container.addFixed(25, 15, BorderLayout::CENTER);
    north->setVisible(false);
    container.setSize(200, 100);

    layout.layoutContainer(&container);
    // A lone centre takes the whole inner area.
    EXPECT_EQ(L"4,3,190,92", center->bounds());
    EXPECT_EQ((Dimension{25 + 10, 15 + 8}), layout.preferredLayoutSize(&container));

    north->setVisible(true);
    north->setPreferredSize(50, 0);
    layout.layoutContainer(&container);
    EXPECT_EQ(L"4,3,190,0", north->bounds());
    EXPECT_EQ(L"4,12,190,83", center->bounds());
    EXPECT_EQ(15 + 8, layout.preferredLayoutSize(&container).height);
}

TEST_F(BorderLayoutTest, WideNorthStillReceivesTheMiddleRowGaps) {
    InsetContainer plain;
    plain.setLayout(&layout);
    layout.setGaps(5, 0);
    plain.addFixed(100, 1, BorderLayout::NORTH);
    plain.addFixed(10, 1, BorderLayout::CENTER);
    plain.addFixed(10, 1, BorderLayout::EAST);
    plain.addFixed(10, 1, BorderLayout::WEST);
    EXPECT_EQ(110, layout.preferredLayoutSize(&plain).width);
}

TEST_F(BorderLayoutTest, ConstraintsAreRegionTagsAndRemovingFreesOnlyThatRegion) {
    FixedComponent first(1, 1);
    FixedComponent second(2, 2);
    FixedComponent west(10, 10);
    awt::LayoutManager::Constraints unknown;
    try {
        layout.addLayoutComponent(&first, unknown);
        FAIL() << "a constraints object that names no region was accepted";
    } catch (const zeno::IllegalArgumentException& e) {
        EXPECT_EQ(L"constraints", e.getMessage());
    }
    layout.setGaps(0, 0);
    layout.addLayoutComponent(&first, BorderLayout::CENTER);
    layout.addLayoutComponent(&second, BorderLayout::CENTER);
    layout.addLayoutComponent(&west, BorderLayout::WEST);
    InsetContainer empty;
    layout.removeLayoutComponent(&first);  // no longer in a region: changes nothing
    EXPECT_EQ(12, layout.preferredLayoutSize(&empty).width);
    layout.removeLayoutComponent(&west);

    empty.setSize(30, 40);
    layout.layoutContainer(&empty);
    EXPECT_EQ(L"0,0,30,40", second.bounds());
    EXPECT_EQ(L"0,0,0,0", first.bounds());
}

TEST(DefaultGaps, ComeFromTheDefaultGuiFont) {
    HDC dc = ::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, dc);
    HGDIOBJ previous = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    ASSERT_TRUE(::GetTextMetricsW(dc, &metrics));
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);

    int hgap = -2;
    int vgap = -2;
    awt::getDefaultGaps(hgap, vgap);
    EXPECT_GT(hgap, 0);
    EXPECT_EQ(metrics.tmAveCharWidth, hgap);
    EXPECT_EQ(metrics.tmHeight / 2, vgap);
}

}  // namespace

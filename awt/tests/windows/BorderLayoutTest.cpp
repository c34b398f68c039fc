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

    void SetUp() override { container.setLayout(&layout); }
};

TEST_F(BorderLayoutTest, FiveRegionsShareTheInnerArea) {
    layout.setGaps(7, 9);
    layout.setMargin(Insets{1, 2, 3, 4});
    FixedComponent* north = container.addFixed(50, 20, BorderLayout::NORTH);
    FixedComponent* south = container.addFixed(60, 30, BorderLayout::SOUTH);
    FixedComponent* west = container.addFixed(40, 11, BorderLayout::WEST);
    FixedComponent* east = container.addFixed(35, 12, BorderLayout::EAST);
    FixedComponent* center = container.addFixed(10, 10, BorderLayout::CENTER);
    container.setSize(400, 300);

    layout.layoutContainer(&container);

    // Total insets: top 4, left 6, bottom 8, right 10.
    EXPECT_EQ(L"6,4,384,20", north->bounds());
    EXPECT_EQ(L"6,262,384,30", south->bounds());
    // Middle row from y 4 + 20 + 9 = 33 to 262 - 9 = 253.
    EXPECT_EQ(L"6,33,40,220", west->bounds());
    EXPECT_EQ(L"355,33,35,220", east->bounds());
    EXPECT_EQ(L"53,33,295,220", center->bounds());

    // Width: max(50, 60, 10 + 35 + 40) + 2 gaps; height: max(11, 12, 10) + 30 + 20 + 2 gaps;
    // then container insets (10, 8) and margin (6, 4).
    const Dimension preferred = layout.preferredLayoutSize(&container);
    EXPECT_EQ(85 + 14 + 10 + 6, preferred.width);
    EXPECT_EQ(62 + 18 + 8 + 4, preferred.height);
    const Dimension viaContainer = container.getPreferredSize();
    EXPECT_EQ(preferred.width, viaContainer.width);
    EXPECT_EQ(preferred.height, viaContainer.height);
}

TEST_F(BorderLayoutTest, LoneCentreTakesTheWholeInnerAreaWithoutGaps) {
    layout.setGaps(7, 9);
    FixedComponent* center = container.addFixed(25, 15, BorderLayout::CENTER);
    container.setSize(200, 100);

    layout.layoutContainer(&container);

    EXPECT_EQ(L"4,3,190,92", center->bounds());
    const Dimension preferred = layout.preferredLayoutSize(&container);
    EXPECT_EQ(25 + 10, preferred.width);
    EXPECT_EQ(15 + 8, preferred.height);
}

TEST_F(BorderLayoutTest, HiddenRegionTakesNoRoomAndNoGap) {
    layout.setGaps(7, 9);
    FixedComponent* north = container.addFixed(50, 20, BorderLayout::NORTH);
    FixedComponent* center = container.addFixed(10, 10, BorderLayout::CENTER);
    north->setVisible(false);
    container.setSize(200, 100);

    layout.layoutContainer(&container);

    EXPECT_EQ(L"4,3,190,92", center->bounds());
    EXPECT_EQ(18, layout.preferredLayoutSize(&container).height);
}

TEST_F(BorderLayoutTest, ZeroHeightNorthAddsAGapInTheLayoutButNotInThePreferredHeight) {
    layout.setGaps(7, 9);
    FixedComponent* north = container.addFixed(50, 0, BorderLayout::NORTH);
    FixedComponent* center = container.addFixed(10, 10, BorderLayout::CENTER);
    container.setSize(200, 100);

    layout.layoutContainer(&container);

    EXPECT_EQ(L"4,3,190,0", north->bounds());
    EXPECT_EQ(L"4,12,190,83", center->bounds());
    EXPECT_EQ(10 + 8, layout.preferredLayoutSize(&container).height);
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

TEST_F(BorderLayoutTest, TooSmallContainerGetsNegativeSizesUnclamped) {
    layout.setGaps(0, 4);
    FixedComponent* north = container.addFixed(10, 60, BorderLayout::NORTH);
    FixedComponent* south = container.addFixed(10, 60, BorderLayout::SOUTH);
    FixedComponent* center = container.addFixed(10, 10, BorderLayout::CENTER);
    container.setSize(50, 100);

    layout.layoutContainer(&container);

    EXPECT_EQ(L"4,3,40,60", north->bounds());
    EXPECT_EQ(L"4,35,40,60", south->bounds());
    // top 3 + 64 = 67, bottom 95 - 64 = 31.
    EXPECT_EQ(L"4,67,40,-36", center->bounds());
}

TEST_F(BorderLayoutTest, ConstraintsAreTagsComparedByIdentity) {
    FixedComponent first(1, 1);
    FixedComponent second(2, 2);
    awt::LayoutManager::Constraints unknown;
    try {
        layout.addLayoutComponent(&first, unknown);
        FAIL() << "a constraints object that names no region was accepted";
    } catch (const zeno::IllegalArgumentException& e) {
        EXPECT_EQ(L"constraints", e.getMessage());
    }

    layout.addLayoutComponent(&first, BorderLayout::CENTER);
    layout.addLayoutComponent(&second, BorderLayout::CENTER);
    InsetContainer empty;
    empty.setSize(30, 40);
    layout.layoutContainer(&empty);
    EXPECT_EQ(L"0,0,30,40", second.bounds());
    EXPECT_EQ(L"0,0,0,0", first.bounds());
}

TEST_F(BorderLayoutTest, RemovingFreesOnlyTheRegionOfThatComponent) {
    FixedComponent west(10, 10);
    FixedComponent center(10, 10);
    FixedComponent stranger(10, 10);
    layout.addLayoutComponent(&west, BorderLayout::WEST);
    layout.addLayoutComponent(&center, BorderLayout::CENTER);

    layout.removeLayoutComponent(&stranger);
    InsetContainer empty;
    EXPECT_EQ(20, layout.preferredLayoutSize(&empty).width);

    layout.removeLayoutComponent(&west);
    EXPECT_EQ(10, layout.preferredLayoutSize(&empty).width);
    empty.setSize(30, 40);
    layout.layoutContainer(&empty);
    EXPECT_EQ(L"0,0,30,40", center.bounds());
}

TEST(DefaultGaps, ComeFromTheDefaultGuiFontAndAreKept) {
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
    EXPECT_EQ(metrics.tmAveCharWidth, hgap);
    EXPECT_EQ(metrics.tmHeight / 2, vgap);
    EXPECT_GT(hgap, 0);

    int again = 0;
    int againV = 0;
    awt::getDefaultGaps(again, againV);
    EXPECT_EQ(hgap, again);
    EXPECT_EQ(vgap, againV);

    // A border layout with the default gaps puts them between its regions.
    BorderLayout layout;
    layout.setDefaultGaps();
    InsetContainer container;
    container.setLayout(&layout);
    FixedComponent* west = container.addFixed(10, 10, BorderLayout::WEST);
    FixedComponent* center = container.addFixed(10, 10, BorderLayout::CENTER);
    FixedComponent* south = container.addFixed(10, 10, BorderLayout::SOUTH);
    container.setSize(100, 100);
    layout.layoutContainer(&container);
    EXPECT_EQ(10 + hgap, center->getLocation().x);
    EXPECT_EQ(90 - vgap, west->getSize().height);
    EXPECT_EQ(90, south->getLocation().y);
}

}  // namespace

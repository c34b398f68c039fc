#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "awt/GridFlowLayout.h"
#include "LayoutTestComponents.h"

using awt::Dimension;
using awt::GridFlowLayout;
using awt::Insets;

namespace {

TEST(GridFlowLayoutStretch, ScalesShrinksAndSpreadsTheRemainderOverNonEmptyEntries) {
    const struct {
        std::vector<int> sizes;
        int gap;
        int length;
        std::vector<int> expected;
    } cases[] = {
        // 16, 33, 50, and the pixel left over goes to the first.
        {{10, 20, 30}, 0, 100, {17, 33, 50}},
        {{10, 20, 30}, 0, 60, {10, 20, 30}},
        // The gaps between positive entries come off the length first: 100 - 2 * 5 = 90.
        {{10, 20, 30}, 5, 100, {15, 30, 45}},
        {{10, 20, 30}, 5, 70, {10, 20, 30}},
        {{10, 20, 30}, 0, 30, {5, 10, 15}},
        {{40, 20}, 0, 25, {17, 8}},
        // Nothing is clamped below the gaps.
        {{10, 10}, 30, 20, {-5, -5}},
        {{0, 0}, 4, 100, {0, 0}},
        // An empty column must not become one pixel wide with a gap in front of it.
        {{0, 10, 20}, 0, 31, {0, 11, 20}},
        {{0, 20, 0, 30}, 7, 107, {0, 40, 0, 60}},
    };
    for (const auto& c : cases) {
        std::vector<int> sizes = c.sizes;
        GridFlowLayout::stretch(sizes, c.gap, c.length);
        EXPECT_EQ(c.expected, sizes) << "gap " << c.gap << ", length " << c.length;
    }
    EXPECT_EQ(0, GridFlowLayout::gapSum({}, 5));
    EXPECT_EQ(0, GridFlowLayout::gapSum({0, 0}, 5));
    EXPECT_EQ(10 + 5 + 20, GridFlowLayout::gapSum({0, 10, 0, 20}, 5));
}

struct GridFlowLayoutTest : ::testing::Test {
    GridFlowLayout layout;
    // Held by pointer: a component's destructor may throw, a fixture's may not.
    std::unique_ptr<InsetContainer> holder = std::make_unique<InsetContainer>();
    InsetContainer& container = *holder;

    void SetUp() override { container.setLayout(&layout); }
};

TEST_F(GridFlowLayoutTest, FillStretchesColumnsAndRowsThatFollowTheirLargestChild) {
    layout.setRowsAndCols(2, 2);
    layout.setHorizontalGap(10);
    layout.setVerticalGap(6);
    FixedComponent* a = container.addFixed(10, 10);
    FixedComponent* b = container.addFixed(30, 8);
    FixedComponent* c = container.addFixed(5, 20);
    FixedComponent* d = container.addFixed(10, 10);
    EXPECT_EQ((Dimension{10 + 10 + 30, 10 + 6 + 20}), layout.preferredLayoutSize(&container));
    container.setSize(90, 66);

    layout.layoutContainer(&container);

    // Widths 10 and 30 stretched to 80: 20 and 60. Heights 10 and 20 stretched to 60.
    EXPECT_EQ(L"0,0,20,20", a->bounds());
    EXPECT_EQ(L"30,0,60,20", b->bounds());
    EXPECT_EQ(L"0,26,20,40", c->bounds());
    EXPECT_EQ(L"30,26,60,40", d->bounds());
}

TEST_F(GridFlowLayoutTest, SingleColumnIsTheInnerWidthUnlessAllChildrenAreZeroWide) {
    InsetContainer framed(Insets{2, 3, 4, 5});
    framed.setLayout(&layout);
    layout.setRowsAndCols(0, 1);
    layout.setVerticalGap(3);
    layout.setGridAlignment(GridFlowLayout::FILL, GridFlowLayout::TOP);
    FixedComponent* first = framed.addFixed(40, 10);
    framed.addFixed(90, 10);
    FixedComponent* last = framed.addFixed(7, 10);
    framed.setSize(77, 200);
    layout.layoutContainer(&framed);
    EXPECT_EQ(L"3,2,69,10", first->bounds());
    EXPECT_EQ(L"3,28,69,10", last->bounds());

    FixedComponent* a = container.addFixed(0, 10);
    FixedComponent* b = container.addFixed(0, 10);
    container.setSize(50, 20);
    layout.setVerticalGap(0);
    layout.layoutContainer(&container);
    EXPECT_EQ(L"0,0,0,10", a->bounds());
    EXPECT_EQ(L"0,10,0,10", b->bounds());
}

TEST_F(GridFlowLayoutTest, GapsOnlyBetweenNonEmptyRowsAndColumnsAndHiddenChildrenKeepTheirCells) {
    layout.setRowsAndCols(3, 3);
    layout.setHorizontalGap(5);
    layout.setVerticalGap(7);
    layout.setGridAlignment(GridFlowLayout::LEFT, GridFlowLayout::TOP);
    layout.setCellHorizontalAlignment(GridFlowLayout::LEFT);
    layout.setCellVerticalAlignment(GridFlowLayout::TOP);
    // Row 1 is entirely hidden; column 1 holds only zero-width children.
    FixedComponent* a = container.addFixed(10, 10);
    container.addFixed(0, 10);
    FixedComponent* c = container.addFixed(20, 10);
    for (int i = 0; i < 3; ++i) {
        container.addFixed(30, 30)->setVisible(false);
    }
    FixedComponent* g = container.addFixed(10, 4);
    container.addFixed(0, 4)->setVisible(false);
    FixedComponent* i = container.addFixed(20, 4);
    container.setSize(500, 500);

    EXPECT_EQ((Dimension{10 + 5 + 20, 10 + 7 + 4}), layout.preferredLayoutSize(&container));
    layout.layoutContainer(&container);
    EXPECT_EQ(L"0,0,10,10", a->bounds());
    EXPECT_EQ(L"15,0,20,10", c->bounds());
    EXPECT_EQ(L"0,17,10,4", g->bounds());
    EXPECT_EQ(L"15,17,20,4", i->bounds());
}

TEST_F(GridFlowLayoutTest, GridAlignmentPlacesTheMeasuredBlock) {
    InsetContainer framed(Insets{2, 3, 4, 5});
    framed.setLayout(&layout);
    layout.setRowsAndCols(1, 2);
    layout.setHorizontalGap(6);
    FixedComponent* a = framed.addFixed(20, 10);
    FixedComponent* b = framed.addFixed(30, 16);
    framed.setSize(200, 100);
    // Measured block: 20 + 6 + 30 + 8 = 64 wide, 16 + 6 = 22 tall.

    layout.setGridAlignment(GridFlowLayout::RIGHT, GridFlowLayout::BOTTOM);
    layout.layoutContainer(&framed);
    EXPECT_EQ(L"139,80,20,16", a->bounds());
    EXPECT_EQ(L"165,80,30,16", b->bounds());

    layout.setGridAlignment(GridFlowLayout::CENTER, GridFlowLayout::CENTER);
    layout.layoutContainer(&framed);
    EXPECT_EQ(L"71,41,20,16", a->bounds());
    EXPECT_EQ(L"97,41,30,16", b->bounds());
}

TEST_F(GridFlowLayoutTest, CellAlignmentPlacesChildrenInsideTheirCells) {
    // One column: the narrow child in a 40-wide cell; one row: the low child in a 20-high cell.
    InsetContainer row;
    row.setLayout(&layout);
    layout.setGridAlignment(GridFlowLayout::LEFT, GridFlowLayout::TOP);
    FixedComponent* narrow = container.addFixed(11, 5);
    container.addFixed(40, 20);
    FixedComponent* low = row.addFixed(10, 5);
    row.addFixed(10, 20);
    container.setSize(300, 300);
    row.setSize(300, 300);

    const struct {
        int alignment;
        const wchar_t* horizontal;
        const wchar_t* vertical;
    } cases[] = {
        {GridFlowLayout::LEFT, L"0,0,11,5", nullptr},
        {GridFlowLayout::RIGHT, L"29,0,11,5", nullptr},
        {GridFlowLayout::TOP, nullptr, L"0,0,10,5"},
        {GridFlowLayout::BOTTOM, nullptr, L"0,15,10,5"},
        {GridFlowLayout::CENTER, L"14,0,11,5", L"0,7,10,5"},
        {GridFlowLayout::FILL, L"0,0,40,5", L"0,0,10,20"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.alignment);
        if (c.horizontal) {
            layout.setRowsAndCols(2, 1);
            layout.setCellHorizontalAlignment(c.alignment);
            layout.setCellVerticalAlignment(GridFlowLayout::TOP);
            layout.layoutContainer(&container);
            EXPECT_EQ(c.horizontal, narrow->bounds());
        }
        if (c.vertical) {
            layout.setRowsAndCols(1, 2);
            layout.setCellHorizontalAlignment(GridFlowLayout::LEFT);
            layout.setCellVerticalAlignment(c.alignment);
            layout.layoutContainer(&row);
            EXPECT_EQ(c.vertical, low->bounds());
        }
    }
}

TEST_F(GridFlowLayoutTest, SettingsDialogShapeCentresLabelsVertically) {
    // Two rows of label, field, button with no horizontal gap.
    layout.setRowsAndCols(2, 3);
    layout.setVerticalGap(6);
    layout.setCellVerticalAlignment(GridFlowLayout::CENTER);
    FixedComponent* label = container.addFixed(50, 13);
    FixedComponent* field = container.addFixed(100, 21);
    FixedComponent* button = container.addFixed(30, 23);
    container.addFixed(60, 13);
    container.addFixed(100, 21);
    container.addFixed(30, 23);
    container.addFixed(90, 90);  // beyond the grid: ignored
    container.setSize(190 + 19, 52);

    EXPECT_EQ((Dimension{60 + 100 + 30, 23 + 6 + 23}), layout.preferredLayoutSize(&container));
    layout.layoutContainer(&container);
    // 60, 100, 30 stretched to 209: 66, 110, 33 (sum 209).
    EXPECT_EQ(L"0,5,66,13", label->bounds());
    EXPECT_EQ(L"66,1,110,21", field->bounds());
    EXPECT_EQ(L"176,0,33,23", button->bounds());
}

}  // namespace

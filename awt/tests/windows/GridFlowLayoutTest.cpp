#include <gtest/gtest.h>

#include <memory>

#include <vector>

#include "awt/GridFlowLayout.h"
#include "LayoutTestComponents.h"
#include "zeno/Exception.h"

using awt::Dimension;
using awt::GridFlowLayout;
using awt::Insets;

namespace {

std::vector<int> stretched(std::vector<int> sizes, int gap, int length) {
    GridFlowLayout::stretch(sizes, gap, length);
    return sizes;
}

TEST(GridFlowLayoutStretch, ScalesAndSpreadsTheRemainderOverTheFirstEntries) {
    // 10, 20, 30 scaled to 100 give 16, 33, 50; the pixel left over goes to the first.
    EXPECT_EQ((std::vector<int>{17, 33, 50}), stretched({10, 20, 30}, 0, 100));
    EXPECT_EQ((std::vector<int>{10, 20, 30}), stretched({10, 20, 30}, 0, 60));
    // The gaps between positive entries come off the length first: 100 - 2 * 5 = 90.
    EXPECT_EQ((std::vector<int>{15, 30, 45}), stretched({10, 20, 30}, 5, 100));
    EXPECT_EQ((std::vector<int>{10, 20, 30}), stretched({10, 20, 30}, 5, 70));
}

TEST(GridFlowLayoutStretch, ShrinksWhenTheLengthIsShort) {
    EXPECT_EQ((std::vector<int>{5, 10, 15}), stretched({10, 20, 30}, 0, 30));
    // 40 * 25 / 60 = 16, 20 * 25 / 60 = 8, one pixel left over.
    EXPECT_EQ((std::vector<int>{17, 8}), stretched({40, 20}, 0, 25));
    // Nothing is clamped: a length below the gaps makes the entries negative.
    const std::vector<int> negative = stretched({10, 10}, 30, 20);
    EXPECT_LT(negative[0], 0);
    EXPECT_LT(negative[1], 0);
}

TEST(GridFlowLayoutStretch, EmptyEntriesStayEmpty) {
    EXPECT_EQ((std::vector<int>{0, 0}), stretched({0, 0}, 4, 100));
    // The remainder goes to the first non-empty entries only, so that an empty column
    // does not turn into a one-pixel column with a gap in front of it.
    EXPECT_EQ((std::vector<int>{0, 11, 20}), stretched({0, 10, 20}, 0, 31));
    EXPECT_EQ((std::vector<int>{0, 40, 0, 60}), stretched({0, 20, 0, 30}, 7, 107));
}

TEST(GridFlowLayoutStretch, GapSumCountsGapsOnlyBetweenNonEmptyEntries) {
    EXPECT_EQ(0, GridFlowLayout::gapSum({}, 5));
    EXPECT_EQ(0, GridFlowLayout::gapSum({0, 0}, 5));
    EXPECT_EQ(10, GridFlowLayout::gapSum({0, 10, 0}, 5));
    EXPECT_EQ(10 + 5 + 20, GridFlowLayout::gapSum({0, 10, 0, 20}, 5));
}

struct GridFlowLayoutTest : ::testing::Test {
    GridFlowLayout layout;
    // Held by pointer: a component's destructor may throw, a fixture's may not.
    std::unique_ptr<InsetContainer> holder = std::make_unique<InsetContainer>();
    InsetContainer& container = *holder;

    void SetUp() override { container.setLayout(&layout); }
};

TEST_F(GridFlowLayoutTest, ColumnsAndRowsFollowTheirLargestChild) {
    layout.setRowsAndCols(2, 3);
    layout.setHorizontalGap(4);
    layout.setVerticalGap(6);
    container.addFixed(10, 5);
    container.addFixed(30, 8);
    container.addFixed(20, 7);
    container.addFixed(15, 9);
    container.addFixed(5, 2);
    container.addFixed(25, 3);

    const Dimension preferred = layout.preferredLayoutSize(&container);
    EXPECT_EQ(15 + 4 + 30 + 4 + 25, preferred.width);
    EXPECT_EQ(8 + 6 + 9, preferred.height);
}

TEST_F(GridFlowLayoutTest, FillStretchesTheGridAndTheCells) {
    layout.setRowsAndCols(2, 2);
    layout.setHorizontalGap(10);
    layout.setVerticalGap(10);
    FixedComponent* a = container.addFixed(10, 10);
    FixedComponent* b = container.addFixed(30, 10);
    FixedComponent* c = container.addFixed(10, 20);
    FixedComponent* d = container.addFixed(10, 10);
    container.setSize(90, 70);

    layout.layoutContainer(&container);

    // Widths 10 and 30 stretched to 80: 20 and 60. Heights 10 and 20 stretched to 60.
    EXPECT_EQ(L"0,0,20,20", a->bounds());
    EXPECT_EQ(L"30,0,60,20", b->bounds());
    EXPECT_EQ(L"0,30,20,40", c->bounds());
    EXPECT_EQ(L"30,30,60,40", d->bounds());
}

TEST_F(GridFlowLayoutTest, SingleFilledColumnIsExactlyTheInnerWidth) {
    InsetContainer framed(Insets{2, 3, 4, 5});
    framed.setLayout(&layout);
    layout.setRowsAndCols(0, 1);
    layout.setVerticalGap(3);
    std::vector<FixedComponent*> rows;
    for (int width : {40, 90, 7}) {
        rows.push_back(framed.addFixed(width, 10));
    }
    framed.setSize(77, 200);
    layout.setGridAlignment(GridFlowLayout::FILL, GridFlowLayout::TOP);

    layout.layoutContainer(&framed);

    EXPECT_EQ(L"3,2,69,10", rows[0]->bounds());
    EXPECT_EQ(L"3,15,69,10", rows[1]->bounds());
    EXPECT_EQ(L"3,28,69,10", rows[2]->bounds());
}

TEST_F(GridFlowLayoutTest, ColumnOfZeroWidthChildrenStaysZeroWide) {
    layout.setRowsAndCols(0, 1);
    FixedComponent* a = container.addFixed(0, 10);
    FixedComponent* b = container.addFixed(0, 10);
    container.setSize(50, 20);

    layout.layoutContainer(&container);

    EXPECT_EQ(L"0,0,0,10", a->bounds());
    EXPECT_EQ(L"0,10,0,10", b->bounds());
}

TEST_F(GridFlowLayoutTest, GapsOnlyBetweenNonEmptyRowsAndColumns) {
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
    container.addFixed(0, 4);
    FixedComponent* i = container.addFixed(20, 4);
    container.setSize(500, 500);

    const Dimension preferred = layout.preferredLayoutSize(&container);
    EXPECT_EQ(10 + 5 + 20, preferred.width);
    EXPECT_EQ(10 + 7 + 4, preferred.height);

    layout.layoutContainer(&container);
    EXPECT_EQ(L"0,0,10,10", a->bounds());
    EXPECT_EQ(L"15,0,20,10", c->bounds());
    EXPECT_EQ(L"0,17,10,4", g->bounds());
    EXPECT_EQ(L"15,17,20,4", i->bounds());
}

TEST_F(GridFlowLayoutTest, HiddenChildKeepsItsCellAndLaterColumnsStayInLine) {
    layout.setRowsAndCols(2, 3);
    layout.setHorizontalGap(5);
    layout.setGridAlignment(GridFlowLayout::LEFT, GridFlowLayout::TOP);
    container.addFixed(10, 10);
    container.addFixed(20, 10);
    FixedComponent* topRight = container.addFixed(30, 10);
    container.addFixed(10, 10);
    container.addFixed(20, 10)->setVisible(false);
    FixedComponent* bottomRight = container.addFixed(30, 10);
    container.setSize(200, 100);

    layout.layoutContainer(&container);

    EXPECT_EQ(L"40,0,30,10", topRight->bounds());
    EXPECT_EQ(L"40,10,30,10", bottomRight->bounds());
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
    layout.setRowsAndCols(2, 1);
    layout.setGridAlignment(GridFlowLayout::LEFT, GridFlowLayout::TOP);
    FixedComponent* narrow = container.addFixed(11, 5);
    container.addFixed(40, 20);
    container.setSize(300, 300);

    const int horizontal[] = {GridFlowLayout::LEFT, GridFlowLayout::RIGHT, GridFlowLayout::CENTER,
                              GridFlowLayout::FILL};
    const wchar_t* expected[] = {L"0,0,11,5", L"29,0,11,5", L"14,0,11,5", L"0,0,40,5"};
    for (int k = 0; k < 4; ++k) {
        layout.setCellHorizontalAlignment(horizontal[k]);
        layout.setCellVerticalAlignment(GridFlowLayout::TOP);
        layout.layoutContainer(&container);
        EXPECT_EQ(expected[k], narrow->bounds()) << "horizontal alignment " << horizontal[k];
    }

    InsetContainer row;
    row.setLayout(&layout);
    layout.setRowsAndCols(1, 2);
    FixedComponent* low = row.addFixed(10, 5);
    row.addFixed(10, 20);
    row.setSize(300, 300);
    layout.setCellHorizontalAlignment(GridFlowLayout::LEFT);
    const int vertical[] = {GridFlowLayout::TOP, GridFlowLayout::BOTTOM, GridFlowLayout::CENTER,
                            GridFlowLayout::FILL};
    const wchar_t* expectedVertical[] = {L"0,0,10,5", L"0,15,10,5", L"0,7,10,5", L"0,0,10,20"};
    for (int k = 0; k < 4; ++k) {
        layout.setCellVerticalAlignment(vertical[k]);
        layout.layoutContainer(&row);
        EXPECT_EQ(expectedVertical[k], low->bounds()) << "vertical alignment " << vertical[k];
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
    container.setSize(190 + 19, 52);

    const Dimension preferred = layout.preferredLayoutSize(&container);
    EXPECT_EQ(60 + 100 + 30, preferred.width);
    EXPECT_EQ(23 + 6 + 23, preferred.height);

    layout.layoutContainer(&container);
    // 60, 100, 30 stretched to 209: 66, 110, 33 (sum 209).
    EXPECT_EQ(L"0,5,66,13", label->bounds());
    EXPECT_EQ(L"66,1,110,21", field->bounds());
    EXPECT_EQ(L"176,0,33,23", button->bounds());
}

TEST_F(GridFlowLayoutTest, ChildrenBeyondTheGridAreIgnored) {
    layout.setRowsAndCols(1, 1);
    FixedComponent* first = container.addFixed(10, 10);
    FixedComponent* extra = container.addFixed(90, 90);
    container.setSize(20, 20);

    const Dimension preferred = layout.preferredLayoutSize(&container);
    EXPECT_EQ(10, preferred.width);
    layout.layoutContainer(&container);
    EXPECT_EQ(L"0,0,20,20", first->bounds());
    EXPECT_EQ(L"0,0,0,0", extra->bounds());
}

TEST_F(GridFlowLayoutTest, EmptyContainerPrefersItsInsets) {
    InsetContainer framed(Insets{2, 3, 4, 5});
    framed.setLayout(&layout);
    layout.setRowsAndCols(0, 1);
    layout.setHorizontalGap(9);
    layout.setVerticalGap(9);
    const Dimension preferred = layout.preferredLayoutSize(&framed);
    EXPECT_EQ(8, preferred.width);
    EXPECT_EQ(6, preferred.height);
    framed.setSize(40, 40);
    layout.layoutContainer(&framed);
}

TEST_F(GridFlowLayoutTest, RowsAndColsAreChecked) {
    const struct {
        int rows;
        int cols;
        const wchar_t* message;
    } cases[] = {
        {-1, 5, L"rows: -1"},
        {2, -3, L"cols: -3"},
        {0, 0, L"both of rows and cols specified 0"},
        {-1, -1, L"rows: -1"},
    };
    layout.setRowsAndCols(0, 2);
    for (const auto& c : cases) {
        try {
            layout.setRowsAndCols(c.rows, c.cols);
            ADD_FAILURE() << "accepted " << c.rows << " x " << c.cols;
        } catch (const zeno::IllegalArgumentException& e) {
            EXPECT_EQ(c.message, e.getMessage());
        }
    }
    // Still 0 x 2: three children make two rows.
    container.addFixed(10, 10);
    container.addFixed(10, 10);
    container.addFixed(10, 10);
    EXPECT_EQ(20, layout.preferredLayoutSize(&container).height);
}

}  // namespace

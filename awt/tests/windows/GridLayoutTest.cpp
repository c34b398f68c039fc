#include <gtest/gtest.h>

#include <memory>

#include <vector>

#include "awt/GridLayout.h"
#include "LayoutTestComponents.h"
#include "zeno/Exception.h"

using awt::Dimension;
using awt::GridLayout;
using awt::Insets;

namespace {

struct GridLayoutTest : ::testing::Test {
    GridLayout layout;
    // Held by pointer: a component's destructor may throw, a fixture's may not.
    std::unique_ptr<InsetContainer> holder = std::make_unique<InsetContainer>();
    InsetContainer& container = *holder;
    std::vector<FixedComponent*> children;

    void SetUp() override { container.setLayout(&layout); }

    void addChildren(int count, int width = 10, int height = 10) {
        for (int i = 0; i < count; ++i) {
            children.push_back(container.addFixed(width, height));
        }
    }
};

TEST_F(GridLayoutTest, RemainderIsSpreadFromTheCellNumber) {
    layout.setRowsAndCols(1, 3);
    addChildren(3);
    container.setSize(100, 20);

    layout.layoutContainer(&container);

    EXPECT_EQ(L"0,0,33,20", children[0]->bounds());
    EXPECT_EQ(L"33,0,33,20", children[1]->bounds());
    EXPECT_EQ(L"66,0,34,20", children[2]->bounds());
}

TEST_F(GridLayoutTest, DerivedRowCountLeavesTrailingCellsEmpty) {
    layout.setRowsAndCols(0, 3);
    layout.setGaps(2, 4);
    addChildren(7);
    container.setSize(3 * 30 + 2 * 2, 3 * 10 + 2 * 4);

    layout.layoutContainer(&container);

    EXPECT_EQ(L"0,0,30,10", children[0]->bounds());
    EXPECT_EQ(L"64,14,30,10", children[5]->bounds());
    EXPECT_EQ(L"0,28,30,10", children[6]->bounds());
    const Dimension preferred = layout.preferredLayoutSize(&container);
    EXPECT_EQ(3 * 10 + 2 * 2, preferred.width);
    EXPECT_EQ(3 * 10 + 2 * 4, preferred.height);
}

TEST_F(GridLayoutTest, DerivedColumnCount) {
    layout.setRowsAndCols(2, 0);
    addChildren(5, 7, 3);
    const Dimension preferred = layout.preferredLayoutSize(&container);
    EXPECT_EQ(3 * 7, preferred.width);
    EXPECT_EQ(2 * 3, preferred.height);
}

TEST_F(GridLayoutTest, HiddenChildKeepsItsCellAndCountsNotForTheSize) {
    layout.setRowsAndCols(2, 2);
    addChildren(4, 10, 10);
    children[1]->setPreferredSize(80, 90);
    children[1]->setVisible(false);
    container.setSize(40, 40);

    layout.layoutContainer(&container);

    EXPECT_EQ(L"0,0,0,0", children[1]->bounds());
    EXPECT_EQ(L"0,20,20,20", children[2]->bounds());
    EXPECT_EQ(L"20,20,20,20", children[3]->bounds());
    const Dimension preferred = layout.preferredLayoutSize(&container);
    EXPECT_EQ(20, preferred.width);
    EXPECT_EQ(20, preferred.height);
}

TEST_F(GridLayoutTest, ChildrenBeyondTheGridAreNotTouched) {
    layout.setRowsAndCols(1, 2);
    addChildren(3);
    container.setSize(50, 50);

    layout.layoutContainer(&container);

    EXPECT_EQ(L"25,0,25,50", children[1]->bounds());
    EXPECT_EQ(L"0,0,0,0", children[2]->bounds());
}

TEST_F(GridLayoutTest, InsetsMarginAndGapsBoundTheCells) {
    InsetContainer framed(Insets{3, 4, 5, 6});
    framed.setLayout(&layout);
    layout.setRowsAndCols(2, 2);
    layout.setGaps(5, 7);
    layout.setMargin(Insets{1, 1, 1, 1});
    FixedComponent* a = framed.addFixed(30, 12);
    framed.addFixed(20, 18);
    framed.addFixed(10, 10);
    FixedComponent* d = framed.addFixed(10, 10);
    framed.setSize(100, 80);

    layout.layoutContainer(&framed);

    // Inner area: left 5, top 4, width 100 - 5 - 7 - 5 = 83, height 80 - 4 - 6 - 7 = 63.
    EXPECT_EQ(L"5,4,41,31", a->bounds());
    EXPECT_EQ(L"51,42,42,32", d->bounds());
    const Dimension preferred = layout.preferredLayoutSize(&framed);
    EXPECT_EQ(2 * 30 + 5 + 10 + 2, preferred.width);
    EXPECT_EQ(2 * 18 + 7 + 8 + 2, preferred.height);
}

TEST_F(GridLayoutTest, EmptyContainerWithDerivedRowsPrefersOnlyItsInsets) {
    InsetContainer framed(Insets{3, 4, 5, 6});
    framed.setLayout(&layout);
    layout.setRowsAndCols(0, 2);
    layout.setGaps(5, 7);

    const Dimension preferred = layout.preferredLayoutSize(&framed);
    EXPECT_EQ(5 + 10, preferred.width);  // one gap between the two empty columns
    EXPECT_EQ(8, preferred.height);      // no rows, so no gap
    framed.setSize(50, 50);
    layout.layoutContainer(&framed);     // nothing to place, and no division by zero rows
}

TEST_F(GridLayoutTest, RowsAndColsAreChecked) {
    struct Case {
        int rows;
        int cols;
        const wchar_t* message;
    };
    const Case cases[] = {
        {-1, 5, L"rows: -1"},
        {2, -3, L"cols: -3"},
        {0, 0, L"both of rows and cols specified 0"},
        {-1, -1, L"rows: -1"},
    };
    layout.setRowsAndCols(1, 2);
    for (const Case& c : cases) {
        try {
            layout.setRowsAndCols(c.rows, c.cols);
            ADD_FAILURE() << "accepted " << c.rows << " x " << c.cols;
        } catch (const zeno::IllegalArgumentException& e) {
            EXPECT_EQ(c.message, e.getMessage());
        }
    }
    // The failed calls left the 1 x 2 grid in place.
    addChildren(2);
    container.setSize(40, 10);
    layout.layoutContainer(&container);
    EXPECT_EQ(L"20,0,20,10", children[1]->bounds());
}

}  // namespace

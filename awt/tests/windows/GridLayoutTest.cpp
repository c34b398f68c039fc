#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "awt/GridFlowLayout.h"
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

TEST_F(GridLayoutTest, DerivedRowOrColumnCount) {
    layout.setRowsAndCols(0, 3);
    layout.setGaps(2, 4);
    addChildren(7);
    container.setSize(3 * 30 + 2 * 2, 3 * 10 + 2 * 4);
    layout.layoutContainer(&container);
    EXPECT_EQ(L"64,14,30,10", children[5]->bounds());
    EXPECT_EQ(L"0,28,30,10", children[6]->bounds());
    EXPECT_EQ((Dimension{3 * 10 + 2 * 2, 3 * 10 + 2 * 4}), layout.preferredLayoutSize(&container));

    layout.setRowsAndCols(2, 0);  // 7 children in 2 rows: 4 columns
    layout.setGaps(0, 0);
    EXPECT_EQ((Dimension{4 * 10, 2 * 10}), layout.preferredLayoutSize(&container));
}

TEST_F(GridLayoutTest, HiddenChildKeepsItsCellAndChildrenBeyondTheGridAreNotTouched) {
    layout.setRowsAndCols(2, 2);
    addChildren(5);
    children[1]->setPreferredSize(80, 90);
    children[1]->setVisible(false);
    container.setSize(40, 40);

    layout.layoutContainer(&container);

    EXPECT_EQ(L"0,0,0,0", children[1]->bounds());
    EXPECT_EQ(L"0,20,20,20", children[2]->bounds());
    EXPECT_EQ(L"20,20,20,20", children[3]->bounds());
    EXPECT_EQ(L"0,0,0,0", children[4]->bounds());
    EXPECT_EQ((Dimension{20, 20}), layout.preferredLayoutSize(&container));
}

TEST_F(GridLayoutTest, InsetsMarginAndGapsBoundTheCells) {
    InsetContainer framed(Insets{3, 4, 5, 6});
    framed.setLayout(&layout);
    layout.setRowsAndCols(2, 2);
    layout.setGaps(5, 7);
    layout.setMargin(Insets{1, 1, 1, 1});
    // No children yet: only the gaps between the empty cells, the insets and the margin.
    EXPECT_EQ((Dimension{5 + 10 + 2, 7 + 8 + 2}), layout.preferredLayoutSize(&framed));
    FixedComponent* a = framed.addFixed(30, 12);
    framed.addFixed(20, 18);
    framed.addFixed(10, 10);
    FixedComponent* d = framed.addFixed(10, 10);
    framed.setSize(100, 80);

    layout.layoutContainer(&framed);

    // Inner area: left 5, top 4, width 100 - 5 - 7 - 5 = 83, height 80 - 4 - 6 - 7 = 63.
    EXPECT_EQ(L"5,4,41,31", a->bounds());
    EXPECT_EQ(L"51,42,42,32", d->bounds());
    EXPECT_EQ((Dimension{2 * 30 + 5 + 10 + 2, 2 * 18 + 7 + 8 + 2}), layout.preferredLayoutSize(&framed));

    InsetContainer none(Insets{3, 4, 5, 6});
    none.setLayout(&layout);
    layout.setRowsAndCols(0, 2);
    none.setSize(50, 50);
    layout.layoutContainer(&none);  // nothing to place, and no division by zero rows
}

// Both grid layouts check their shape the same way, and a failed call changes nothing.
template <typename Layout>
void checkRowsAndCols() {
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
    Layout layout;
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
    InsetContainer container;
    container.setLayout(&layout);
    for (int i = 0; i < 3; ++i) {
        container.addFixed(10, 10);
    }
    EXPECT_EQ(20, layout.preferredLayoutSize(&container).height);
}

TEST(GridLayouts, RowsAndColsAreChecked) {
    checkRowsAndCols<GridLayout>();
    checkRowsAndCols<awt::GridFlowLayout>();
}

}  // namespace

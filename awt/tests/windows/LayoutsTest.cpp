#include "awt/DefaultGaps.h"
#include "awt/GridFlowLayout.h"
#include "WindowTestComponents.h"

using awt::BorderLayout;
using awt::ButtonsLayout;
using awt::GridFlowLayout;
using awt::Insets;
using awt::LayoutManager;

namespace {

using Layout = std::shared_ptr<LayoutManager>;
constexpr int FILL = GridFlowLayout::FILL, TOP = GridFlowLayout::TOP, BOTTOM = GridFlowLayout::BOTTOM;
constexpr int LEFT = GridFlowLayout::LEFT, RIGHT = GridFlowLayout::RIGHT, CENTER = GridFlowLayout::CENTER;

template <class L>
Layout spaced(std::shared_ptr<L> layout, int hgap, int vgap, Insets margin) {
    layout->setGaps(hgap, vgap);
    layout->setMargin(margin);
    return layout;
}
Layout border(int hgap, int vgap, Insets margin = {}) {
    return spaced(std::make_shared<BorderLayout>(), hgap, vgap, margin);
}
Layout grid(int rows, int cols, int hgap = 0, int vgap = 0, Insets margin = {}) {
    auto layout = std::make_shared<awt::GridLayout>();
    layout->setRowsAndCols(rows, cols);
    return spaced(layout, hgap, vgap, margin);
}
Layout buttons(ButtonsLayout::Alignment alignment, int hgap, Insets margin = {}) {
    return spaced(std::make_shared<ButtonsLayout>(alignment), hgap, 0, margin);
}
// Grid alignment (horizontal, vertical), then cell alignment (horizontal, vertical).
Layout flow(int rows, int cols, int hgap, int vgap, int gridH = FILL, int gridV = FILL, int cellH = FILL,
            int cellV = FILL, Insets margin = {}) {
    auto layout = std::make_shared<GridFlowLayout>();
    layout->setRowsAndCols(rows, cols);
    layout->setHorizontalGap(hgap);
    layout->setVerticalGap(vgap);
    layout->setMargin(margin);
    layout->setGridAlignment(gridH, gridV);
    layout->setCellHorizontalAlignment(cellH);
    layout->setCellVerticalAlignment(cellV);
    return layout;
}

struct Child { int width, height; bool visible = true; const LayoutManager::Constraints* where = nullptr; };
const BorderLayout::Constraints *N = &BorderLayout::NORTH, *S = &BorderLayout::SOUTH, *E = &BorderLayout::EAST;
const BorderLayout::Constraints *W = &BorderLayout::WEST, *C = &BorderLayout::CENTER;

// Every layout: children with chosen preferred sizes in a container with chosen insets and size;
// `placed` is the bounds of each child in order ("0,0,0,0" for a child the layout left alone).
TEST(Layouts, PlaceChildrenAndMeasureTheContainer) {
    const std::vector<Child> cells = {{11, 5}, {10, 20}, {40, 8}, {10, 10}};  // columns 40 and 10, rows 20 and 10
    const std::vector<Child> buttonRow = {{30, 10}, {90, 90, false}, {20, 12}, {25, 11}};
    const struct {
        const char* name; Layout layout; Insets insets; std::vector<Child> children; Dimension size, preferred;
        std::wstring placed;
    } cases[] = {
        // Total insets top 4, left 6, bottom 8, right 10; the middle row from y 33 to 253.
        {"border, five regions", border(7, 9, {1, 2, 3, 4}), {3, 4, 5, 6},
         {{50, 20, true, N}, {60, 30, true, S}, {40, 11, true, W}, {35, 12, true, E}, {10, 10, true, C}}, {400, 300},
         {115, 92}, L"6,4,384,20 6,262,384,30 6,33,40,220 355,33,35,220 53,33,295,220"},
        {"border, hidden north takes no gap", border(7, 9), {3, 4, 5, 6}, {{50, 20, false, N}, {25, 15, true, C}},
         {200, 100}, {35, 23}, L"0,0,0,0 4,3,190,92"},
        // A zero-high north adds its gap in the layout, not in the preferred height.
        {"border, zero-high north", border(7, 9), {3, 4, 5, 6}, {{50, 0, true, N}, {25, 15, true, C}}, {200, 100},
         {60, 23}, L"4,3,190,0 4,12,190,83"},
        {"border, no middle row: no hgap", border(7, 9), {}, {{50, 20, true, N}, {60, 30, true, S}}, {100, 80}, {60, 59},
         L"0,0,100,20 0,50,100,30"},
        // The gaps come after the maximum: 100 + 2 * 5.
        {"border, wide north", border(5, 0), {}, {{100, 1, true, N}, {10, 1, true, C}, {10, 1, true, E}, {10, 1, true, W}},
         {200, 50}, {110, 2}, L"0,0,200,1 15,1,170,49 190,1,10,49 0,1,10,49"},
        {"grid 1 x 3 spreads the remainder", grid(1, 3), {}, {{10, 10}, {10, 10}, {10, 10}}, {100, 20}, {30, 10},
         L"0,0,33,20 33,0,33,20 66,0,34,20"},
        {"grid 0 x 3 makes 3 rows of 7", grid(0, 3, 2, 4), {}, std::vector<Child>(7, Child{10, 10}), {94, 38}, {34, 38},
         L"0,0,30,10 32,0,30,10 64,0,30,10 0,14,30,10 32,14,30,10 64,14,30,10 0,28,30,10"},
        {"grid 2 x 0 makes 4 columns of 7", grid(2, 0), {}, std::vector<Child>(7, Child{10, 10}), {40, 20}, {40, 20},
         L"0,0,10,10 10,0,10,10 20,0,10,10 30,0,10,10 0,10,10,10 10,10,10,10 20,10,10,10"},
        {"grid, hidden cell kept, fifth child untouched", grid(2, 2), {}, {{10, 10}, {80, 90, false}, {10, 10}, {10, 10},
         {10, 10}}, {40, 40}, {20, 20}, L"0,0,20,20 0,0,0,0 0,20,20,20 20,20,20,20 0,0,0,0"},
        // Inner area: left 5, top 4, 83 wide and 63 high after the gaps.
        {"grid with insets, margin and gaps", grid(2, 2, 5, 7, {1, 1, 1, 1}), {3, 4, 5, 6},
         {{30, 12}, {20, 18}, {10, 10}, {10, 10}}, {100, 80}, {77, 53}, L"5,4,41,31 51,4,42,31 5,42,41,32 51,42,42,32"},
        {"empty grid: gaps, insets and margin", grid(2, 2, 5, 7, {1, 1, 1, 1}), {3, 4, 5, 6}, {}, {100, 80}, {17, 17}, L""},
        {"empty grid 0 x 2: no rows, no vgap", grid(0, 2, 5, 7, {1, 1, 1, 1}), {3, 4, 5, 6}, {}, {100, 80}, {17, 10}, L""},
        // Widths 10 and 30 stretched to 80: 20 and 60; heights 10 and 20 stretched to 60.
        {"flow, all FILL", flow(2, 2, 10, 6), {}, {{10, 10}, {30, 8}, {5, 20}, {10, 10}}, {90, 66}, {50, 36},
         L"0,0,20,20 30,0,60,20 0,26,20,40 30,26,60,40"},
        {"flow, one column is the inner width", flow(0, 1, 0, 3, FILL, TOP), {2, 3, 4, 5}, {{40, 10}, {90, 10}, {7, 10}},
         {77, 200}, {98, 42}, L"3,2,69,10 3,15,69,10 3,28,69,10"},
        {"flow, zero-wide column stays zero", flow(0, 1, 0, 0, FILL, TOP), {}, {{0, 10}, {0, 10}}, {50, 20}, {0, 20},
         L"0,0,0,10 0,10,0,10"},
        // Row 1 entirely hidden, column 1 only zero wide: no gaps for them.
        {"flow, gaps only between non-empty rows and columns", flow(3, 3, 5, 7, LEFT, TOP, LEFT, TOP), {},
         {{10, 10}, {0, 10}, {20, 10}, {30, 30, false}, {30, 30, false}, {30, 30, false}, {10, 4}, {0, 4, false}, {20, 4}},
         {500, 500}, {35, 21}, L"0,0,10,10 10,0,0,10 15,0,20,10 0,0,0,0 0,0,0,0 0,0,0,0 0,17,10,4 0,0,0,0 15,17,20,4"},
        // Stretched to 57: the gap between the two non-empty columns first, then 50 in the ratio 1 : 2
        // (16 and 33), and the pixel left over to the first that is not empty.
        {"flow, stretch spreads the remainder", flow(1, 4, 7, 0), {}, {{0, 10}, {10, 10}, {0, 10, false}, {20, 10}},
         {57, 10}, {37, 10}, L"0,0,0,10 0,0,17,10 0,0,0,0 24,0,33,10"},
        {"flow, stretch shrinks", flow(1, 2, 0, 0), {}, {{40, 10}, {20, 10}}, {25, 10}, {60, 10}, L"0,0,17,10 17,0,8,10"},
        {"flow, empty: insets only", flow(2, 2, 5, 7), {1, 2, 3, 4}, {}, {100, 80}, {6, 4}, L""},
        // Insets and margin together 2, 3, 4, 5: the measured block is 64 x 22 with them.
        {"flow, block right and bottom", flow(1, 2, 6, 0, RIGHT, BOTTOM, FILL, FILL, {1, 1, 1, 1}), {1, 2, 3, 4},
         {{20, 10}, {30, 16}}, {200, 100}, {64, 22}, L"139,80,20,16 165,80,30,16"},
        {"flow, block centred", flow(1, 2, 6, 0, CENTER, CENTER), {2, 3, 4, 5}, {{20, 10}, {30, 16}}, {200, 100},
         {64, 22}, L"71,41,20,16 97,41,30,16"},
        {"flow, cells left and top", flow(2, 2, 0, 0, LEFT, TOP, LEFT, TOP), {}, cells, {300, 300}, {50, 30},
         L"0,0,11,5 40,0,10,20 0,20,40,8 40,20,10,10"},
        {"flow, cells right and bottom", flow(2, 2, 0, 0, LEFT, TOP, RIGHT, BOTTOM), {}, cells, {300, 300}, {50, 30},
         L"29,15,11,5 40,0,10,20 0,22,40,8 40,20,10,10"},
        {"flow, cells centred", flow(2, 2, 0, 0, LEFT, TOP, CENTER, CENTER), {}, cells, {300, 300}, {50, 30},
         L"14,7,11,5 40,0,10,20 0,21,40,8 40,20,10,10"},
        {"flow, cells filled", flow(2, 2, 0, 0, LEFT, TOP), {}, cells, {300, 300}, {50, 30},
         L"0,0,40,20 40,0,10,20 0,20,40,10 40,20,10,10"},
        // The settings dialog: label, field, button twice; 60, 100, 30 stretched to 209.
        {"flow, settings dialog shape", flow(2, 3, 0, 6, FILL, FILL, FILL, CENTER), {}, {{50, 13}, {100, 21}, {30, 23},
         {60, 13}, {100, 21}, {30, 23}, {90, 90}}, {209, 52}, {190, 52},
         L"0,5,66,13 66,1,110,21 176,0,33,23 0,34,66,13 66,30,110,21 176,29,33,23 0,0,0,0"},
        {"buttons right", buttons(ButtonsLayout::RIGHT, 8), {0, 0, 0, 10}, {{60, 20}, {80, 24}}, {310, 50}, {178, 24},
         L"132,0,80,24 220,0,80,24"},
        // Total insets top 6, left 8, bottom 10, right 12; a hidden button takes no cell.
        {"buttons left", buttons(ButtonsLayout::LEFT, 4, {1, 2, 3, 4}), {5, 6, 7, 8}, buttonRow, {200, 100}, {118, 28},
         L"8,6,30,12 0,0,0,0 42,6,30,12 76,6,30,12"},
        {"buttons centred", buttons(ButtonsLayout::CENTER, 4, {1, 2, 3, 4}), {5, 6, 7, 8}, buttonRow, {200, 100},
         {118, 28}, L"49,6,30,12 0,0,0,0 83,6,30,12 117,6,30,12"},
        {"buttons, none", buttons(ButtonsLayout::LEFT, 4, {1, 2, 3, 4}), {5, 6, 7, 8}, {}, {200, 100}, {20, 16}, L""},
    };
    const LayoutManager::Constraints none;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Held by pointer: a component's destructor may throw, a test's scope must not.
        auto container = std::make_unique<TestPanel>();
        container->insets = c.insets;
        container->setLayout(c.layout.get());
        for (const Child& child : c.children) {
            container->add(sized(child.width, child.height), child.where ? *child.where : none);
            container->getComponents().back()->setVisible(child.visible);
        }
        container->setSize(c.size.width, c.size.height);
        c.layout->layoutContainer(container.get());
        std::wstring placed;
        for (const awt::Component* child : container->getComponents()) {
            placed += (placed.empty() ? L"" : L" ") + bounds(*child);
        }
        EXPECT_EQ(c.placed, placed);
        EXPECT_EQ(c.preferred, container->getPreferredSize());
    }
}

TEST(Layouts, BorderConstraintsAreRegionTagsAndRemovingFreesOnlyThatRegion) {
    BorderLayout layout;
    TestControl first, second, west;
    west.preferred = Dimension{10, 10};
    second.preferred = Dimension{2, 2};
    EXPECT_FAILURE(layout.addLayoutComponent(&first, LayoutManager::Constraints{}), zeno::IllegalArgumentException,
                   L"constraints", NO_CODE);
    layout.addLayoutComponent(&first, BorderLayout::CENTER);
    layout.addLayoutComponent(&second, BorderLayout::CENTER);
    layout.addLayoutComponent(&west, BorderLayout::WEST);
    TestPanel empty;
    layout.removeLayoutComponent(&first);  // no longer in a region: changes nothing
    EXPECT_EQ(12, layout.preferredLayoutSize(&empty).width);
    layout.removeLayoutComponent(&west);
    empty.setSize(30, 40);
    layout.layoutContainer(&empty);
    EXPECT_EQ(L"0,0,30,40", bounds(second));
    EXPECT_EQ(L"0,0,0,0", bounds(first));
}

// Both grid layouts check their shape the same way, and a failed call changes nothing.
template <typename GridKind>
void checkRowsAndCols() {
    const struct { int rows, cols; const wchar_t* message; } cases[] = {
        {-1, 5, L"rows: -1"}, {2, -3, L"cols: -3"}, {0, 0, L"both of rows and cols specified 0"}, {-1, -1, L"rows: -1"}};
    GridKind layout;
    layout.setRowsAndCols(0, 2);
    for (const auto& c : cases) {
        EXPECT_FAILURE(layout.setRowsAndCols(c.rows, c.cols), zeno::IllegalArgumentException, c.message, NO_CODE);
    }
    // Still 0 x 2: three children make two rows.
    TestPanel container;
    container.setLayout(&layout);
    for (int i = 0; i < 3; ++i) {
        container.add(sized(10, 10));
    }
    EXPECT_EQ(20, layout.preferredLayoutSize(&container).height);
}

TEST(Layouts, GridRowsAndColsAreChecked) {
    checkRowsAndCols<awt::GridLayout>();
    checkRowsAndCols<GridFlowLayout>();
}

TEST(Layouts, GridFlowStretchDoesNotClampBelowTheGaps) {
    std::vector<int> sizes{10, 10};
    GridFlowLayout::stretch(sizes, 30, 20);
    EXPECT_EQ((std::vector<int>{-5, -5}), sizes);
}

// The default gaps follow the default GUI font: horizontally its average character width, which
// is no narrower than the dialog-unit average over the alphabet less a pixel (under Wine, where a
// wide font stands in, it is twice that); vertically half a line of its text. The buttons layout
// starts with them.
TEST(Layouts, DefaultGapsComeFromTheDefaultGuiFont) {
    const std::wstring alphabet = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE text{};
    ASSERT_TRUE(GetTextExtentPoint32W(dc, alphabet.c_str(), static_cast<int>(alphabet.size()), &text));
    DeleteDC(dc);
    const int averageWidth = (text.cx / 26 + 1) / 2;
    int hgap = -2, vgap = -2;
    awt::getDefaultGaps(hgap, vgap);
    EXPECT_GE(hgap, averageWidth - 1);
    EXPECT_TRUE(vgap * 2 == text.cy || vgap * 2 == text.cy - 1) << vgap << " against a line of " << text.cy;

    ButtonsLayout layout(ButtonsLayout::LEFT);
    TestPanel container;
    container.setLayout(&layout);
    container.add(sized(10, 10));
    container.add(sized(10, 10));
    EXPECT_EQ(20 + hgap, layout.preferredLayoutSize(&container).width);
}

}  // namespace

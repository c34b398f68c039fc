#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "awt/BorderLayout.h"
#include "awt/Frame.h"
#include "awt/GridLayout.h"
#include "LayoutTestComponents.h"
#include "WindowTestSupport.h"

using awt::BorderLayout;

namespace {

// Where the native window of a child lies in its parent's client area.
RECT placementInParent(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring text(int x, int y, int width, int height) {
    return std::to_wstring(x) + L"," + std::to_wstring(y) + L"," + std::to_wstring(width) + L"," +
           std::to_wstring(height);
}

std::wstring placementText(awt::Component* child) {
    const RECT r = placementInParent(child->getHWND());
    return text(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// A frame with five border regions whose centre is a 2 x 3 grid. The native windows must
// lie where the layouts put them. With KELVANE_SHOW_MS set, the frame stays on the screen
// that long, so that it can be looked at.
TEST(LayoutOnScreen, BorderLayoutWithAGridPlacesTheNativeWindows) {
    auto frame = std::make_unique<awt::Frame>(nullptr, L"Border layout with a grid");
    BorderLayout border;
    border.setGaps(6, 6);
    border.setMargin(awt::Insets{8, 8, 8, 8});
    frame->setLayout(&border);

    auto* north = new TestLabel(L"NORTH", 100, 40);
    auto* south = new TestLabel(L"SOUTH", 100, 30);
    auto* west = new TestLabel(L"WEST", 90, 10);
    auto* east = new TestLabel(L"EAST", 70, 10);
    auto* grid = new InsetContainer();
    north->setBackground(RGB(0xE0, 0x40, 0x40));
    south->setBackground(RGB(0x40, 0x70, 0xE0));
    west->setBackground(RGB(0x40, 0xB0, 0x40));
    east->setBackground(RGB(0xE0, 0xC0, 0x30));
    grid->setBackground(RGB(0x30, 0x30, 0x30));
    frame->add(north, BorderLayout::NORTH);
    frame->add(south, BorderLayout::SOUTH);
    frame->add(west, BorderLayout::WEST);
    frame->add(east, BorderLayout::EAST);
    frame->add(grid, BorderLayout::CENTER);

    awt::GridLayout cells;
    cells.setRowsAndCols(2, 3);
    cells.setGaps(4, 4);
    grid->setLayout(&cells);
    std::vector<TestLabel*> numbers;
    for (int i = 1; i <= 6; ++i) {
        auto* cell = new TestLabel(std::to_wstring(i), 40, 40);
        cell->setBackground(RGB(0xF0, 0xF0, 0xF0 - 30 * i));
        grid->add(cell);
        numbers.push_back(cell);
    }

    frame->setBounds(60, 60, 640, 420);
    frame->setVisible(true);
    ASSERT_TRUE(runUntil([&] { return IsWindowVisible(numbers.back()->getHWND()) != FALSE; }));
    pumpFor(100);

    RECT client;
    GetClientRect(frame->getHWND(), &client);
    const int w = client.right;
    const int h = client.bottom;
    // Inside an 8-pixel margin: north and south across, west and east between them, the grid
    // in the rest, 6 pixels between the regions.
    EXPECT_EQ(text(8, 8, w - 16, 40), placementText(north));
    EXPECT_EQ(text(8, h - 38, w - 16, 30), placementText(south));
    const int middleTop = 8 + 40 + 6;
    const int middleHeight = (h - 8 - 30 - 6) - middleTop;
    EXPECT_EQ(text(8, middleTop, 90, middleHeight), placementText(west));
    EXPECT_EQ(text(w - 8 - 70, middleTop, 70, middleHeight), placementText(east));
    const int gridLeft = 8 + 90 + 6;
    const int gridWidth = (w - 8 - 70 - 6) - gridLeft;
    EXPECT_EQ(text(gridLeft, middleTop, gridWidth, middleHeight), placementText(grid));

    // The grid's cells: the remainder of the division spread over them, 4-pixel gaps.
    const int availW = gridWidth - 2 * 4;
    const int availH = middleHeight - 4;
    for (int i = 0; i < 6; ++i) {
        const int r = i / 3;
        const int c = i % 3;
        EXPECT_EQ(text(c * 4 + (c * availW) / 3, r * 4 + (r * availH) / 2,
                       ((c + 1) * availW) / 3 - (c * availW) / 3,
                       ((r + 1) * availH) / 2 - (r * availH) / 2),
                  placementText(numbers[i]))
            << "cell " << i + 1;
    }

    if (const char* show = std::getenv("KELVANE_SHOW_MS")) {
        pumpFor(static_cast<DWORD>(std::atoi(show)));
    }
}

}  // namespace

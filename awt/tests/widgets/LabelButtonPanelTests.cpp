#include "WidgetTestComponents.h"
#include "awt/BorderedPanel.h"
#include "awt/Button.h"
#include "awt/Label.h"
#include "awt/Panel.h"

// A click reaches the listeners (last added first) also through a panel, which routes its
// children's notifications; other notifications fire nothing.
TEST(Button, ClickNotifiesEveryListenerLastAddedFirst) {
    TestWindow window;
    auto* panel = window.put(new awt::Panel(), 10, 10, 200, 100);
    auto* button = new awt::Button(L"Go");
    panel->add(button);
    button->setBounds(5, 5, 80, 24);
    std::vector<std::wstring> journal;
    EventCounter first(L"first", &journal);
    EventCounter second(L"second", &journal);
    button->addActionListener(&first);
    button->addActionListener(&second);
    button->addActionListener(&first);
    window.createPeer();
    ASSERT_EQ(panel->getHWND(), GetParent(button->getHWND()));

    SendMessageW(button->getHWND(), BM_CLICK, 0, 0);
    settle();
    EXPECT_EQ((std::vector<std::wstring>{L"second:action", L"first:action"}), journal);
    EXPECT_EQ(button, first.lastSource);
    journal.clear();
    SendMessageW(panel->getHWND(), WM_COMMAND, MAKEWPARAM(0, BN_SETFOCUS),
                 reinterpret_cast<LPARAM>(button->getHWND()));
    button->removeActionListener(&second);
    SendMessageW(button->getHWND(), BM_CLICK, 0, 0);
    settle();
    EXPECT_EQ((std::vector<std::wstring>{L"first:action"}), journal);
}

TEST(BorderedPanel, ErasesWithItsParentsControlColourAndTakesTheMouse) {
    TestWindow window;
    auto* panel = window.put(new awt::BorderedPanel(L"colours"), 20, 20, 120, 80);
    const COLORREF red = RGB(200, 0, 0);
    // The parent answers WM_CTLCOLORSTATIC for the panel with the panel's own background brush.
    panel->setBackground(red);
    window.show();
    HWND hwnd = panel->getHWND();

    HDC dc = GetDC(hwnd);
    EXPECT_EQ(1, SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
    EXPECT_EQ(red, GetPixel(dc, 60, 40));
    EXPECT_EQ(red, GetPixel(dc, 119, 79));
    ReleaseDC(hwnd, dc);

    RECT rect;
    GetWindowRect(hwnd, &rect);
    EXPECT_EQ(HTCLIENT, SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(rect.left, rect.top)));
    EXPECT_NE(HTCLIENT, SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(rect.right, rect.top + 40)));
    // Where the plain group box would let the mouse through, the panel's own window is hit.
    EXPECT_EQ(hwnd, WindowFromPoint(POINT{rect.left + 60, rect.top + 40}));
}

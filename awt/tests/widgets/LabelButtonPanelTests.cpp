#include "WidgetTestComponents.h"
#include "awt/Button.h"
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

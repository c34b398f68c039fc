#include "WidgetTestComponents.h"
#include "awt/Panel.h"

// A click reaches the listeners (last added first) also through a panel, which routes its
// children's notifications; other notifications fire nothing.
TEST(Button, ClickNotifiesEveryListenerLastAddedFirst) {
    TestWindow window;
    auto* button = place(window.put(new awt::Panel(), 10, 10, 200, 100), new awt::Button(L"Go"), 5, 5, 80, 24);
    std::vector<std::wstring> journal;
    EventCounter first(L"first", &journal), second(L"second", &journal);
    for (EventCounter* each : {&first, &second, &first}) {
        button->addActionListener(each);
    }
    window.createPeer();
    ASSERT_EQ(window.getComponent(0)->getHWND(), GetParent(button->getHWND()));
    auto click = [&] {  // the journal since the last click
        SendMessageW(button->getHWND(), BM_CLICK, 0, 0);
        settle();
        return std::exchange(journal, {});
    };
    EXPECT_EQ((std::vector<std::wstring>{L"second:action", L"first:action"}), click());
    EXPECT_EQ(button, first.lastSource);
    SendMessageW(GetParent(button->getHWND()), WM_COMMAND, MAKEWPARAM(0, BN_SETFOCUS),
                 reinterpret_cast<LPARAM>(button->getHWND()));
    button->removeActionListener(&second);
    EXPECT_EQ((std::vector<std::wstring>{L"first:action"}), click());
}

#include "awt/tests/support/TestSupport.h"

using namespace test;

// Input through the system's input queue and the toolkit's loop, as a user gives it.
TEST(SystemInput, TabShiftTabAndTheMouseEnteringClickingAndLeaving) {
    TestFrame frame;
    TestControl* controls[3] = {new TestControl(), new TestControl(), new TestControl()};
    for (auto [control, x, y] : {std::tuple{controls[0], 40, 40}, {controls[1], 40, 80}, {controls[2], 160, 80}}) {
        control->setBounds(x, y, 100, 30);
        frame.add(control);
    }
    SetCursorPos(2, 2);
    frame.createPeer();
    SetForegroundWindow(frame.getHWND());
    settle();
    controls[0]->requestFocus();
    press(VK_TAB);
    runFor(200);
    EXPECT_EQ(controls[1], awt::Component::getFocusedComponent());
    press(VK_TAB, {VK_SHIFT});
    runFor(200);
    EXPECT_EQ(controls[0], awt::Component::getFocusedComponent());
    press(VK_TAB, {VK_SHIFT});
    runFor(200);
    EXPECT_EQ(controls[2], awt::Component::getFocusedComponent());

    std::vector<std::wstring> journal;
    Recorder first(&journal, L"first");
    Recorder second(&journal, L"second");
    controls[0]->addMouseListener(&first);
    controls[1]->addMouseListener(&second);
    controls[0]->handleCommands = true;
    RECT rect;
    GetWindowRect(controls[0]->getHWND(), &rect);
    clickAt(rect.left + 10, rect.top + 10);
    runFor(150);
    EXPECT_EQ((std::vector<std::wstring>{L"first:entered", L"first:pressed", L"first:released"}), journal);
    EXPECT_EQ((awt::Point{10, 10}), (awt::Point{first.lastMouse.x, first.lastMouse.y}));
    EXPECT_EQ(static_cast<UINT>(BN_CLICKED), controls[0]->lastCode) << "the button told its parent";
    journal.clear();
    GetWindowRect(controls[1]->getHWND(), &rect);
    SetCursorPos(rect.left + 20, rect.top + 15);
    runFor(150);
    EXPECT_EQ((std::vector<std::wstring>{L"first:exited", L"second:entered"}), journal);
    // The system reports the leave a while after the cursor went.
    journal.clear();
    SetCursorPos(2, 2);
    EXPECT_TRUE(waitUntil([&] { return !journal.empty(); }, 2000));
    EXPECT_EQ((std::vector<std::wstring>{L"second:exited"}), journal);
    EXPECT_FALSE(controls[1]->isMouseInside());
}

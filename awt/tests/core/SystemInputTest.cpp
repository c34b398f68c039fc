#include "awt/tests/support/TestSupport.h"

using namespace test;

// The mouse through the system's input queue and the toolkit's loop, as a user moves it.
TEST(SystemInput, TheMouseEnteringClickingAndLeaving) {
    TestFrame frame;
    TestControl* first = place(&frame, new TestControl(), 40, 40, 100, 30);
    TestControl* second = place(&frame, new TestControl(), 40, 80, 100, 30);
    SetCursorPos(2, 2);
    frame.createPeer();
    SetForegroundWindow(frame.getHWND());
    settle();
    std::vector<std::wstring> journal;
    Recorder onFirst(&journal, L"first");
    Recorder onSecond(&journal, L"second");
    first->addMouseListener(&onFirst);
    second->addMouseListener(&onSecond);
    first->handleCommands = true;
    RECT rect;
    GetWindowRect(first->getHWND(), &rect);
    clickAt(rect.left + 10, rect.top + 10);
    waitUntil([&] { return journal.size() >= 3; }, 2000);
    EXPECT_EQ((std::vector<std::wstring>{L"first:entered", L"first:pressed", L"first:released"}), journal);
    EXPECT_EQ((awt::Point{10, 10}), (awt::Point{onFirst.lastMouse.x, onFirst.lastMouse.y}));
    EXPECT_EQ(static_cast<UINT>(BN_CLICKED), first->lastCode) << "the button told its parent";
    journal.clear();
    GetWindowRect(second->getHWND(), &rect);
    SetCursorPos(rect.left + 20, rect.top + 15);
    waitUntil([&] { return journal.size() >= 2; }, 2000);
    EXPECT_EQ((std::vector<std::wstring>{L"first:exited", L"second:entered"}), journal);
    // The system reports the leave a while after the cursor went.
    journal.clear();
    SetCursorPos(2, 2);
    EXPECT_TRUE(waitUntil([&] { return !journal.empty(); }, 2000));
    EXPECT_EQ((std::vector<std::wstring>{L"second:exited"}), journal);
    EXPECT_FALSE(second->isMouseInside());
}

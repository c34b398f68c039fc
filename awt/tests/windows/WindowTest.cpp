#include <gtest/gtest.h>

#include <memory>

#include <windows.h>

#include "awt/Frame.h"
#include "awt/Toolkit.h"
#include "awt/Window.h"
#include "WindowTestSupport.h"

using awt::Frame;
using awt::Window;

namespace {

// A frame that reports its deletion.
class TrackedFrame : public Frame {
public:
    TrackedFrame(bool* deleted) : Frame(nullptr, L"tracked"), deleted(deleted) {}
    ~TrackedFrame() noexcept(false) override { *deleted = true; }

private:
    bool* deleted;
};

TEST(Window, NativeWindowIsMadeOnFirstShowWithTheSystemsPlacement) {
    auto frame = std::make_unique<Frame>(nullptr, L"first show");
    EXPECT_EQ(nullptr, frame->getHWND());
    WindowEventRecorder events;
    frame->addWindowListener(&events);
    frame->setVisible(true);

    HWND hwnd = frame->getHWND();
    ASSERT_NE(nullptr, hwnd);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    RECT rect;
    ASSERT_TRUE(GetWindowRect(hwnd, &rect));
    EXPECT_EQ((awt::Point{rect.left, rect.top}), frame->getLocation());
    EXPECT_EQ((awt::Dimension{rect.right - rect.left, rect.bottom - rect.top}), frame->getSize());
    EXPECT_EQ(1, events.shown);
    wchar_t text[64] = {};
    GetWindowTextW(hwnd, text, 64);
    EXPECT_EQ(std::wstring(L"first show"), text);
    pumpFor(50);
}

struct ClosingTest : ::testing::Test {
    WindowEventRecorder events;
};

TEST_F(ClosingTest, DefaultCloseOperationHidesAndTheLoopGoesOn) {
    auto frame = std::make_unique<Frame>(nullptr, L"hide on close");
    frame->addWindowListener(&events);
    frame->setVisible(true);
    pumpFor(50);

    PostMessageW(frame->getHWND(), WM_CLOSE, 0, 0);
    // The loop keeps running after the close: only the condition ends it.
    EXPECT_TRUE(runUntil([&] { return !frame->isVisible(); }));
    EXPECT_EQ(1, events.closing);
    EXPECT_EQ(1, events.hidden);
    ASSERT_NE(nullptr, frame->getHWND());
    EXPECT_FALSE(IsWindowVisible(frame->getHWND()));
}

TEST_F(ClosingTest, ConsumedClosingOrNoOperationKeepsTheWindow) {
    const struct {
        int operation;
        bool consumed;
    } cases[] = {
        {Window::HIDE, true}, {Window::DISPOSE, true}, {Window::DISPOSE_AND_DELETE, true},
        {Window::EXIT, true}, {Window::DO_NOTHING, false}, {17, false}, {-3, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.operation);
        auto frame = std::make_unique<Frame>(nullptr, L"kept");
        events.consumeClosing = c.consumed;
        frame->addWindowListener(&events);
        frame->setDefaultCloseOperation(c.operation);
        frame->setVisible(true);
        SendMessageW(frame->getHWND(), WM_CLOSE, 0, 0);
        SendMessageW(frame->getHWND(), WM_SYSCOMMAND, SC_CLOSE, 0);
        pumpFor(30);
        EXPECT_TRUE(frame->isVisible());
        EXPECT_TRUE(IsWindowVisible(frame->getHWND()));
    }
    EXPECT_EQ(2 * 7, events.closing);
}

TEST_F(ClosingTest, DisposeDestroysTheNativeWindowsAndTheWindowCanShowAgain) {
    auto frame = std::make_unique<Frame>(nullptr, L"dispose");
    auto* button = new TestButton(L"child", nullptr);
    frame->add(button, awt::LayoutManager::Constraints());
    Window* owned = new Window(frame.get());
    frame->setDefaultCloseOperation(Window::DISPOSE);
    frame->addWindowListener(&events);
    frame->setVisible(true);
    HWND first = frame->getHWND();
    HWND buttonWindow = button->getHWND();
    ASSERT_NE(nullptr, owned->getHWND());
    EXPECT_EQ(first, GetWindow(owned->getHWND(), GW_OWNER));

    SendMessageW(first, WM_CLOSE, 0, 0);

    EXPECT_EQ(nullptr, frame->getHWND());
    EXPECT_EQ(nullptr, button->getHWND());
    EXPECT_EQ(nullptr, owned->getHWND());
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(IsWindow(buttonWindow));
    EXPECT_EQ(1, events.hidden);

    frame->setVisible(true);
    EXPECT_TRUE(IsChild(frame->getHWND(), button->getHWND()));
    pumpFor(30);
}

TEST_F(ClosingTest, DisposeAndDeleteDeletesOnlyAfterTheMessage) {
    bool deleted = false;
    auto* frame = new TrackedFrame(&deleted);
    frame->setDefaultCloseOperation(Window::DISPOSE_AND_DELETE);
    events.onHidden = [&] { EXPECT_FALSE(deleted); };
    frame->addWindowListener(&events);
    frame->setVisible(true);
    pumpFor(30);
    HWND hwnd = frame->getHWND();

    SendMessageW(hwnd, WM_CLOSE, 0, 0);

    // Disposed by the message, still alive: the toolkit deletes it from its loop.
    EXPECT_FALSE(deleted);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(runUntil([&] { return deleted; }));
}

TEST_F(ClosingTest, WindowDeletedBeforeItsQueuedWorkRunsIsLeftAlone) {
    // Shown (a focus request is queued) and deleted before the loop runs again.
    auto* shown = new Frame(nullptr, L"short-lived");
    shown->setVisible(true);
    delete shown;

    // Closed with DISPOSE_AND_DELETE (its deletion is queued), then deleted with its owner.
    auto* owner = new Frame(nullptr, L"owner");
    auto* closing = new Frame(owner, L"closing");
    closing->setDefaultCloseOperation(Window::DISPOSE_AND_DELETE);
    closing->createPeer();
    SendMessageW(closing->getHWND(), WM_CLOSE, 0, 0);
    delete owner;

    // The queued work finds its windows gone and does nothing (it must not touch freed memory).
    pumpFor(50);
}

TEST_F(ClosingTest, ExitEndsTheLoopWithZeroAndLeavesTheWindow) {
    auto frame = std::make_unique<Frame>(nullptr, L"exit");
    frame->setDefaultCloseOperation(Window::EXIT);
    frame->addWindowListener(&events);
    frame->setVisible(true);
    LoopWatchdog watchdog;
    DelayedAction close(50, [&] { PostMessageW(frame->getHWND(), WM_CLOSE, 0, 0); });

    EXPECT_EQ(0, awt::Toolkit::getInstance()->run());
    EXPECT_FALSE(watchdog.fired());
    EXPECT_EQ(1, events.closing);
    EXPECT_TRUE(frame->isVisible());
}

}  // namespace

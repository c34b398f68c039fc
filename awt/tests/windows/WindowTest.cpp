#include <gtest/gtest.h>

#include <memory>

#include <windows.h>

#include "awt/BorderLayout.h"
#include "awt/Frame.h"
#include "awt/GridLayout.h"
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
    EXPECT_EQ(CW_USEDEFAULT, frame->getLocation().x);
    EXPECT_FALSE(frame->isVisible());

    WindowEventRecorder events;
    frame->addWindowListener(&events);
    frame->setVisible(true);

    HWND hwnd = frame->getHWND();
    ASSERT_NE(nullptr, hwnd);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    RECT rect;
    ASSERT_TRUE(GetWindowRect(hwnd, &rect));
    EXPECT_EQ(rect.left, frame->getLocation().x);
    EXPECT_EQ(rect.top, frame->getLocation().y);
    EXPECT_EQ(rect.right - rect.left, frame->getSize().width);
    EXPECT_EQ(rect.bottom - rect.top, frame->getSize().height);
    EXPECT_NE(CW_USEDEFAULT, frame->getSize().width);
    EXPECT_EQ(1, events.shown);
    EXPECT_EQ(L"first show", std::wstring(frame->getWindowText()));
    wchar_t text[64] = {};
    GetWindowTextW(hwnd, text, 64);
    EXPECT_EQ(std::wstring(L"first show"), text);
    pumpFor(50);
}

}  // namespace

namespace {

struct ClosingTest : ::testing::Test {
    WindowEventRecorder events;
};

TEST_F(ClosingTest, DefaultCloseOperationHidesAndTheLoopGoesOn) {
    auto frame = std::make_unique<Frame>(nullptr, L"hide on close");
    frame->addWindowListener(&events);
    frame->setVisible(true);
    pumpFor(50);
    EXPECT_EQ(Window::HIDE, frame->getDefaultCloseOperation());

    PostMessageW(frame->getHWND(), WM_CLOSE, 0, 0);
    // The loop keeps running after the close: only the condition ends it.
    EXPECT_TRUE(runUntil([&] { return !frame->isVisible(); }));
    EXPECT_EQ(1, events.closing);
    EXPECT_EQ(1, events.hidden);
    ASSERT_NE(nullptr, frame->getHWND());
    EXPECT_FALSE(IsWindowVisible(frame->getHWND()));
}

TEST_F(ClosingTest, ConsumedClosingKeepsTheWindowWhateverTheOperation) {
    events.consumeClosing = true;
    for (int operation : {Window::HIDE, Window::DISPOSE, Window::DISPOSE_AND_DELETE, Window::EXIT}) {
        auto frame = std::make_unique<Frame>(nullptr, L"consumed");
        frame->addWindowListener(&events);
        frame->setDefaultCloseOperation(operation);
        frame->setVisible(true);
        SendMessageW(frame->getHWND(), WM_CLOSE, 0, 0);
        SendMessageW(frame->getHWND(), WM_SYSCOMMAND, SC_CLOSE, 0);
        pumpFor(30);
        EXPECT_TRUE(frame->isVisible()) << "operation " << operation;
        EXPECT_NE(nullptr, frame->getHWND()) << "operation " << operation;
    }
    EXPECT_EQ(8, events.closing);
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
    EXPECT_NE(nullptr, frame->getHWND());
    EXPECT_NE(nullptr, button->getHWND());
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
    EXPECT_EQ(nullptr, frame->getHWND());
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
    EXPECT_EQ(1u, owner->getOwnedWindows().size());
    delete owner;

    // The queued work finds its windows gone and does nothing (before, it ran on freed
    // memory and crashed here).
    pumpFor(50);
}

TEST_F(ClosingTest, ExitEndsTheLoopWithZero) {
    auto frame = std::make_unique<Frame>(nullptr, L"exit");
    frame->setDefaultCloseOperation(Window::EXIT);
    frame->addWindowListener(&events);
    frame->setVisible(true);
    LoopWatchdog watchdog;
    DelayedAction close(50, [&] { PostMessageW(frame->getHWND(), WM_CLOSE, 0, 0); });

    const int result = awt::Toolkit::getInstance()->run();

    EXPECT_FALSE(watchdog.fired());
    EXPECT_EQ(0, result);
    EXPECT_EQ(1, events.closing);
    // EXIT leaves the window as it is.
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(ClosingTest, DoNothingAndUnknownOperationsKeepTheWindow) {
    for (int operation : {Window::DO_NOTHING, 17, -3}) {
        auto frame = std::make_unique<Frame>(nullptr, L"nothing");
        frame->setDefaultCloseOperation(operation);
        frame->setVisible(true);
        SendMessageW(frame->getHWND(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(frame->isVisible());
        EXPECT_TRUE(IsWindowVisible(frame->getHWND()));
        pumpFor(20);
    }
}

}  // namespace

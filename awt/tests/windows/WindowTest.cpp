#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "awt/AWTException.h"
#include "awt/BorderLayout.h"
#include "awt/Dialog.h"
#include "awt/Frame.h"
#include "awt/GridLayout.h"
#include "awt/MenuBar.h"
#include "awt/Toolkit.h"
#include "awt/Window.h"
#include "WindowTestComponents.h"
#include "zeno/Exception.h"

using awt::Dimension;
using awt::Frame;
using awt::Window;

namespace {

// A frame that counts its deletions.
class CountedFrame : public Frame {
public:
    CountedFrame(int* deletions, Frame* owner = nullptr) : Frame(owner, L"counted"), deletions(deletions) {}
    ~CountedFrame() noexcept(false) override { ++*deletions; }

private:
    int* deletions;
};

RECT windowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// A window gets its native window on first show, where the system puts it. Each close request,
// by WM_CLOSE or the system menu's close command, asks the listeners and then does what the
// close operation says, unless a listener consumed the request.
TEST(Window, FirstShowAndCloseOperations) {
    const int MOVED_ON = 42;  // the loop was ended by the test, not by EXIT
    const struct {
        int operation;
        bool consumed;
        UINT message;
        bool visible;
        bool hasWindow;
        int deletionsAfterLoop;
        int loopResult;
    } cases[] = {
        {Window::HIDE, false, WM_CLOSE, false, true, 0, MOVED_ON},
        {Window::HIDE, false, WM_SYSCOMMAND, false, true, 0, MOVED_ON},
        {Window::DISPOSE, false, WM_SYSCOMMAND, false, false, 0, MOVED_ON},
        {Window::DISPOSE_AND_DELETE, false, WM_CLOSE, false, false, 1, MOVED_ON},
        {Window::EXIT, false, WM_SYSCOMMAND, true, true, 0, 0},
        {Window::DO_NOTHING, false, WM_CLOSE, true, true, 0, MOVED_ON},
        {17, false, WM_SYSCOMMAND, true, true, 0, MOVED_ON},
        {-3, false, WM_CLOSE, true, true, 0, MOVED_ON},
        {Window::HIDE, true, WM_CLOSE, true, true, 0, MOVED_ON},
        {Window::DISPOSE, true, WM_SYSCOMMAND, true, true, 0, MOVED_ON},
        {Window::DISPOSE_AND_DELETE, true, WM_CLOSE, true, true, 0, MOVED_ON},
        {Window::EXIT, true, WM_SYSCOMMAND, true, true, 0, MOVED_ON},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.operation) + (c.consumed ? " consumed" : "") +
                     (c.message == WM_CLOSE ? " WM_CLOSE" : " SC_CLOSE"));
        int deletions = 0;
        auto* frame = new CountedFrame(&deletions);
        WindowEventRecorder events;
        events.consumeClosing = c.consumed;
        frame->addWindowListener(&events);
        frame->setDefaultCloseOperation(c.operation);
        EXPECT_EQ(nullptr, frame->getHWND());
        frame->setVisible(true);
        const RECT rect = windowRect(frame->getHWND());
        EXPECT_EQ((awt::Point{rect.left, rect.top}), frame->getLocation());
        EXPECT_EQ((Dimension{rect.right - rect.left, rect.bottom - rect.top}), frame->getSize());
        EXPECT_EQ(1, events.shown);
        SendMessageW(frame->getHWND(), c.message, c.message == WM_CLOSE ? 0 : SC_CLOSE, 0);

        EXPECT_EQ(0, deletions) << "deleted inside the close message";
        DelayedAction moveOn(50, [&] { PostQuitMessage(MOVED_ON); });
        EXPECT_EQ(c.loopResult, awt::Toolkit::getInstance()->run());
        EXPECT_EQ(c.deletionsAfterLoop, deletions);
        EXPECT_EQ(1, events.closing);
        if (deletions == 0) {
            EXPECT_EQ(c.visible, frame->isVisible());
            EXPECT_EQ(c.visible, frame->getHWND() != nullptr && IsWindowVisible(frame->getHWND()));
            EXPECT_EQ(c.hasWindow, frame->getHWND() != nullptr);
            delete frame;
        }
    }
}

TEST(Window, WorkQueuedForADeletedWindowIsDropped) {
    int deletions = 0;
    // Shown (a focus request is queued) and deleted before the loop runs again.
    auto* shown = new CountedFrame(&deletions);
    shown->setVisible(true);
    delete shown;
    // Closed with DISPOSE_AND_DELETE (its deletion is queued), then deleted with its owner.
    auto* owner = new CountedFrame(&deletions);
    auto* closing = new CountedFrame(&deletions, owner);
    closing->setDefaultCloseOperation(Window::DISPOSE_AND_DELETE);
    closing->createPeer();
    SendMessageW(closing->getHWND(), WM_CLOSE, 0, 0);
    delete owner;
    EXPECT_EQ(3, deletions);

    runFor(50);
    EXPECT_EQ(3, deletions) << "the queued deletion ran on a window that was already gone";
}

TEST(Window, TrackSizesOverwriteOnlyTheValuesThatAreSetAndTheSystemKeepsThem) {
    auto frame = std::make_unique<Frame>(nullptr, L"track sizes");
    frame->setMinimumSize(Dimension{300, -1});
    frame->setMaximumSize(Dimension{-1, 500});
    frame->createPeer();
    MINMAXINFO info{};
    info.ptMinTrackSize = POINT{1, 2};
    info.ptMaxTrackSize = POINT{3, 4};
    SendMessageW(frame->getHWND(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(300, info.ptMinTrackSize.x);
    EXPECT_EQ(2, info.ptMinTrackSize.y);
    EXPECT_EQ(3, info.ptMaxTrackSize.x);
    EXPECT_EQ(500, info.ptMaxTrackSize.y);

    frame->setMinimumSize(Dimension{320, 240});
    frame->setMaximumSize(Dimension{640, 480});
    SetWindowPos(frame->getHWND(), nullptr, 0, 0, 50, 40, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ((Dimension{320, 240}), frame->getSize());
    SetWindowPos(frame->getHWND(), nullptr, 0, 0, 2000, 2000, SWP_NOMOVE | SWP_NOZORDER);
    const RECT rect = windowRect(frame->getHWND());
    EXPECT_EQ((Dimension{640, 480}), (Dimension{rect.right - rect.left, rect.bottom - rect.top}));
    EXPECT_EQ((Dimension{640, 480}), frame->getSize());
}

TEST(Window, AlwaysOnTopAppliedAtCreationAndLater) {
    auto topmost = [](Frame& f) { return (GetWindowLongW(f.getHWND(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    auto early = std::make_unique<Frame>(nullptr, L"on top early");
    early->setAlwaysOnTop(true);
    early->createPeer();
    EXPECT_TRUE(topmost(*early));
    auto late = std::make_unique<Frame>(nullptr, L"on top late");
    late->createPeer();
    EXPECT_FALSE(topmost(*late));
    late->setAlwaysOnTop(true);
    EXPECT_TRUE(topmost(*late));
    late->setAlwaysOnTop(false);
    EXPECT_FALSE(topmost(*late));
}

// A window that records the order in which windows are deleted.
class RecordingWindow : public Window {
public:
    RecordingWindow(Window* owner, int id, std::vector<int>* deletions)
        : Window(owner), id(id), deletions(deletions) {}
    ~RecordingWindow() noexcept(false) override { deletions->push_back(id); }

private:
    int id;
    std::vector<int>* deletions;
};

// Owned windows get their native windows with the owner's, lose them with its dispose and
// are deleted with it, last first.
TEST(Window, OwnedWindowsFollowTheOwnersNativeWindowAndDeletion) {
    std::vector<int> deletions;
    auto* owner = new RecordingWindow(nullptr, 0, &deletions);
    auto* first = new RecordingWindow(owner, 1, &deletions);
    auto* second = new RecordingWindow(owner, 2, &deletions);
    auto* grandchild = new RecordingWindow(first, 3, &deletions);
    delete new RecordingWindow(owner, 4, &deletions);  // leaves the owner's list
    ASSERT_EQ((std::vector<Window*>{first, second}), owner->getOwnedWindows());
    FixedComponent* child = new FixedComponent(10, 10);
    owner->add(child);

    owner->createPeer();
    EXPECT_EQ(owner->getHWND(), GetWindow(second->getHWND(), GW_OWNER));
    EXPECT_EQ(first->getHWND(), GetWindow(grandchild->getHWND(), GW_OWNER));
    EXPECT_FALSE(IsWindowVisible(first->getHWND())) << "owned windows stay hidden until shown";
    const HWND natives[] = {owner->getHWND(), child->getHWND(), grandchild->getHWND()};
    owner->dispose();
    for (HWND gone : natives) {
        EXPECT_FALSE(IsWindow(gone));
    }
    EXPECT_EQ(nullptr, grandchild->getHWND());
    owner->createPeer();
    EXPECT_TRUE(IsChild(owner->getHWND(), child->getHWND())) << "a disposed window gets a new one";
    HWND secondWindow = second->getHWND();
    delete owner;

    // Recorded as each destruction begins: the owner, then its owned windows last first.
    EXPECT_EQ((std::vector<int>{4, 0, 2, 1, 3}), deletions);
    EXPECT_FALSE(IsWindow(secondWindow));
}

// Without owner a window is centred on its monitor's work area, with an owner on the owner.
TEST(Window, CenteredOnTheWorkAreaOrTheOwnerAndNotWhenMaximized) {
    auto frame = std::make_unique<Frame>(nullptr, L"centred");
    frame->createPeer();
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(frame->getHWND(), MONITOR_DEFAULTTOPRIMARY), &monitor));
    const RECT& work = monitor.rcWork;
    // Odd differences, whose halves are truncated.
    const int width = 301 - (work.right - work.left) % 2;
    const int height = 201 - (work.bottom - work.top) % 2;
    frame->setSize(width, height);
    frame->center();
    EXPECT_EQ((awt::Point{work.left + (work.right - work.left - width) / 2,
                          work.top + (work.bottom - work.top - height) / 2}),
              frame->getLocation());
    EXPECT_EQ(frame->getLocation().x, windowRect(frame->getHWND()).left);

    // (500 - 201) / 2 truncates to 149.
    frame->setBounds(100, 80, 500, 400);
    auto* dialog = new awt::Dialog(frame.get(), L"centred on owner", false);
    dialog->setSize(201, 100);
    dialog->createPeer();
    dialog->center();
    EXPECT_EQ((awt::Point{100 + 149, 80 + 150}), dialog->getLocation());

    frame->setVisible(true);
    ShowWindow(frame->getHWND(), SW_MAXIMIZE);
    ASSERT_TRUE(frame->isMaximized());
    const RECT before = windowRect(frame->getHWND());
    frame->center();
    const RECT after = windowRect(frame->getHWND());
    EXPECT_TRUE(EqualRect(&before, &after));
    runFor(20);
}

// The native windows lie where the layout put the components, and pack gives the frame its
// preferred client size.
TEST(Window, PackAndTheNativeWindowsFollowTheLayout) {
    auto frame = std::make_unique<Frame>(nullptr, L"packed");
    awt::BorderLayout layout;
    layout.setGaps(0, 6);
    layout.setMargin(awt::Insets{8, 8, 8, 8});
    frame->setLayout(&layout);
    auto* north = new FixedComponent(120, 30);
    auto* centre = new FixedComponent(200, 90);
    frame->add(north, awt::BorderLayout::NORTH);
    frame->add(centre, awt::BorderLayout::CENTER);

    frame->pack();
    frame->setVisible(true);
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(centre->getHWND()) != FALSE; }));

    RECT client;
    GetClientRect(frame->getHWND(), &client);
    EXPECT_EQ((Dimension{216, 142}), (Dimension{client.right, client.bottom}));
    const struct {
        awt::Component* child;
        RECT expected;
    } cases[] = {{north, {8, 8, 208, 38}}, {centre, {8, 44, 208, 134}}};
    for (const auto& c : cases) {
        RECT placed = windowRect(c.child->getHWND());
        MapWindowPoints(nullptr, frame->getHWND(), reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_TRUE(EqualRect(&c.expected, &placed))
            << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;
    }
}

TEST(Window, MenuCommandActivatesTheItemAtTheIndexAndChecksTheIndex) {
    struct Items : awt::MenuItems {
        std::vector<int> activated;
        int getItemCount() const override { return 2; }
        void activateItem(int index) override { activated.push_back(index); }
    } items;
    auto frame = std::make_unique<Frame>(nullptr, L"menu command");
    frame->createPeer();
    HMENU menu = CreatePopupMenu();
    MENUINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIM_MENUDATA | MIM_STYLE;
    info.dwStyle = MNS_NOTIFYBYPOS;
    info.dwMenuData = reinterpret_cast<ULONG_PTR>(&items);
    ASSERT_TRUE(SetMenuInfo(menu, &info));

    frame->windowProc(WM_MENUCOMMAND, 1, reinterpret_cast<LPARAM>(menu));
    EXPECT_EQ((std::vector<int>{1}), items.activated);
    EXPECT_FAILURE(frame->windowProc(WM_MENUCOMMAND, 2, reinterpret_cast<LPARAM>(menu)), awt::AWTException,
                   L"bad menu index: 2 (0<=index<2)", NO_CODE);
    EXPECT_EQ(1u, items.activated.size());
    DestroyMenu(menu);
}

// A menu bar that records what the window asks of it.
class RecordingMenuBar : public awt::MenuBar {
public:
    explicit RecordingMenuBar(std::vector<std::string>* calls) : calls(calls) {}
    ~RecordingMenuBar() override { calls->push_back("deleted"); }
    void attach(HWND) override { calls->push_back("attach"); }
    void detach(HWND) override { calls->push_back("detach"); }
    void setItemsEnabled(bool enabled) override { calls->push_back(enabled ? "enable" : "disable"); }

private:
    std::vector<std::string>* calls;
};

TEST(Window, MenuBarFollowsTheNativeWindowAndTheEnabledState) {
    std::vector<std::string> calls;
    auto frame = std::make_unique<Frame>(nullptr, L"menu bar");
    EXPECT_FAILURE(frame->setMenuBar(nullptr), zeno::NullPointerException, L"menuBar", NO_CODE);
    auto* first = new RecordingMenuBar(&calls);
    frame->setMenuBar(first);
    EXPECT_EQ(frame.get(), first->getOwner());
    EXPECT_TRUE(calls.empty());
    frame->createPeer();
    frame->setTreeEnabled(false);
    frame->setTreeEnabled(true);
    frame->dispose();
    frame->createPeer();
    frame->setMenuBar(new RecordingMenuBar(&calls));
    EXPECT_EQ((std::vector<std::string>{"attach", "disable", "enable", "detach", "attach", "detach", "deleted",
                                        "attach"}),
              calls);
    calls.clear();
    frame.reset();
    EXPECT_EQ((std::vector<std::string>{"deleted"}), calls);
}

// Sets full-window drag and puts the user's setting back however the test ends.
class FullDragSetting {
public:
    explicit FullDragSetting(BOOL on) {
        SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &saved, 0);
        SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, on, nullptr, 0);
    }
    ~FullDragSetting() { SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, saved, nullptr, 0); }
    static BOOL current() {
        BOOL now = -1;
        SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &now, 0);
        return now;
    }

private:
    BOOL saved = FALSE;
};

// The frame's only child fills it through a grid: the child's width shows when the layout ran.
TEST(Window, DeferredLayoutRunsWhileSizingWithFullDragAndOnEnterIdle) {
    auto frame = std::make_unique<Frame>(nullptr, L"deferred work");
    awt::GridLayout grid;
    auto* cell = new FixedComponent(10, 10);
    frame->setLayout(&grid);
    frame->add(cell);
    frame->setBounds(50, 50, 300, 200);
    frame->setVisible(true);
    runFor(50);
    const int frameWidth = frame->getInsets().left + frame->getInsets().right;
    ASSERT_EQ(300 - frameWidth, cell->getSize().width);
    {
        const FullDragSetting off(FALSE);
        ASSERT_FALSE(FullDragSetting::current());
        RECT proposed{50, 50, 420, 270};
        frame->windowProc(WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&proposed));
        EXPECT_EQ((Dimension{300, 200}), frame->getSize()) << "sizing without full drag changed the size";
    }
    {
        const FullDragSetting on(TRUE);
        ASSERT_TRUE(FullDragSetting::current());
        RECT proposed{50, 50, 450, 260};
        frame->windowProc(WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&proposed));
        EXPECT_EQ((Dimension{400, 210}), frame->getSize());
        EXPECT_EQ(400 - frameWidth, cell->getSize().width) << "no layout while dragging";
    }
    // The frame grows behind the toolkit's back, as inside a modal menu loop: WM_SIZE queues a
    // layout that only WM_ENTERIDLE can run while that loop owns the thread.
    SetWindowPos(frame->getHWND(), nullptr, 0, 0, 450, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(400 - frameWidth, cell->getSize().width);
    SendMessageW(frame->getHWND(), WM_ENTERIDLE, MSGF_MENU, 0);
    EXPECT_EQ(450 - frameWidth, cell->getSize().width);
}

}  // namespace

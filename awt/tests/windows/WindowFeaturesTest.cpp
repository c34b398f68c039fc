#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <windows.h>

#include "awt/AWTException.h"
#include "awt/BorderLayout.h"
#include "awt/Container.h"
#include "awt/Dialog.h"
#include "awt/Frame.h"
#include "awt/GridLayout.h"
#include "awt/MenuBar.h"
#include "awt/Toolkit.h"
#include "awt/Window.h"
#include "LayoutTestComponents.h"
#include "WindowTestSupport.h"
#include "zeno/Exception.h"

using awt::Dimension;
using awt::Frame;
using awt::Window;

namespace {

TEST(WindowTrackSizes, OverwriteOnlyTheValuesThatAreSetAndTheSystemKeepsThem) {
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
    RECT rect;
    GetWindowRect(frame->getHWND(), &rect);
    EXPECT_EQ(640, rect.right - rect.left);
    EXPECT_EQ(480, rect.bottom - rect.top);
    EXPECT_EQ((Dimension{640, 480}), frame->getSize());
}

TEST(WindowAlwaysOnTop, AppliedAtCreationAndLater) {
    auto topmost = [](Frame& f) {
        return (GetWindowLongW(f.getHWND(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    };
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

TEST(OwnedWindows, AreCreatedWithTheOwnerAndDeletedWithItLastFirst) {
    std::vector<int> deletions;
    auto* owner = new RecordingWindow(nullptr, 0, &deletions);
    auto* first = new RecordingWindow(owner, 1, &deletions);
    auto* second = new RecordingWindow(owner, 2, &deletions);
    auto* grandchild = new RecordingWindow(first, 3, &deletions);
    delete new RecordingWindow(owner, 4, &deletions);  // leaves the owner's list
    ASSERT_EQ((std::vector<Window*>{first, second}), owner->getOwnedWindows());

    owner->createPeer();
    EXPECT_EQ(owner->getHWND(), GetWindow(second->getHWND(), GW_OWNER));
    EXPECT_EQ(first->getHWND(), GetWindow(grandchild->getHWND(), GW_OWNER));
    // Owned windows stay hidden until shown.
    EXPECT_FALSE(IsWindowVisible(first->getHWND()));
    HWND secondWindow = second->getHWND();

    delete owner;

    // Recorded as each destruction begins: the owner, then its owned windows last first, each
    // with its own owned windows.
    EXPECT_EQ((std::vector<int>{4, 0, 2, 1, 3}), deletions);
    EXPECT_FALSE(IsWindow(secondWindow));
}

TEST(WindowCenter, OnTheWorkAreaOfTheMonitorWithoutOwner) {
    RECT saved;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &saved, 0));
    // A work area unlike the whole screen, if the system lets us set one.
    RECT reduced{saved.left + 100, saved.top + 60, saved.right - 20, saved.bottom - 140};
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &reduced, 0);

    auto frame = std::make_unique<Frame>(nullptr, L"centred");
    frame->setSize(301, 201);
    frame->center();
    ASSERT_NE(nullptr, frame->getHWND()) << "centring made the native window";

    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(frame->getHWND(), MONITOR_DEFAULTTOPRIMARY), &info));
    const RECT work = info.rcWork;
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &saved, 0);

    RecordProperty("workAreaDiffersFromMonitor", EqualRect(&work, &info.rcMonitor) ? "no" : "yes");
    const int width = frame->getSize().width;
    const int height = frame->getSize().height;
    EXPECT_EQ(work.left + (work.right - work.left - width) / 2, frame->getLocation().x);
    EXPECT_EQ(work.top + (work.bottom - work.top - height) / 2, frame->getLocation().y);
    RECT rect;
    GetWindowRect(frame->getHWND(), &rect);
    EXPECT_EQ(frame->getLocation().x, rect.left);
    EXPECT_EQ(frame->getLocation().y, rect.top);
}

TEST(WindowCenter, OnTheOwnerAndNotWhenMaximized) {
    auto owner = std::make_unique<Frame>(nullptr, L"owner");
    owner->setBounds(100, 80, 500, 400);
    owner->createPeer();
    auto* dialog = new awt::Dialog(owner.get(), L"centred on owner", false);
    dialog->setSize(201, 100);
    dialog->createPeer();
    dialog->center();
    // (500 - 201) / 2 truncates to 149.
    EXPECT_EQ(100 + 149, dialog->getLocation().x);
    EXPECT_EQ(80 + 150, dialog->getLocation().y);

    owner->setVisible(true);
    ShowWindow(owner->getHWND(), SW_MAXIMIZE);
    ASSERT_TRUE(owner->isMaximized());
    RECT before;
    GetWindowRect(owner->getHWND(), &before);
    owner->center();
    RECT after;
    GetWindowRect(owner->getHWND(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    pumpFor(20);
}

TEST(WindowPack, GivesTheWindowItsPreferredSize) {
    auto frame = std::make_unique<Frame>(nullptr, L"packed");
    awt::BorderLayout layout;
    frame->setLayout(&layout);
    frame->add(new TestLabel(L"north", 120, 30), awt::BorderLayout::NORTH);
    frame->add(new TestLabel(L"centre", 200, 90), awt::BorderLayout::CENTER);

    frame->pack();

    ASSERT_NE(nullptr, frame->getHWND());
    RECT client;
    GetClientRect(frame->getHWND(), &client);
    EXPECT_EQ(200, client.right);
    EXPECT_EQ(120, client.bottom);
}

TEST(WindowMenuCommand, ActivatesTheItemAtTheIndexAndChecksTheIndex) {
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
    try {
        frame->windowProc(WM_MENUCOMMAND, 2, reinterpret_cast<LPARAM>(menu));
        ADD_FAILURE() << "index 2 of 2 items was accepted";
    } catch (const awt::AWTException& e) {
        EXPECT_EQ(L"bad menu index: 2 (0<=index<2)", e.getMessage());
        EXPECT_EQ(zeno::Exception::NO_ERROR_CODE, e.getErrorCode());
    }
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
    void setItemsEnabled(bool enabled) override {
        calls->push_back(enabled ? "enable" : "disable");
    }

private:
    std::vector<std::string>* calls;
};

TEST(WindowMenuBar, FollowsTheNativeWindowAndTheEnabledState) {
    std::vector<std::string> calls;
    auto frame = std::make_unique<Frame>(nullptr, L"menu bar");
    try {
        frame->setMenuBar(nullptr);
        ADD_FAILURE() << "a null menu bar was accepted";
    } catch (const zeno::NullPointerException& e) {
        EXPECT_EQ(L"menuBar", e.getMessage());
    }
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
    EXPECT_EQ((std::vector<std::string>{"attach", "disable", "enable", "detach", "attach", "detach",
                                        "deleted", "attach"}),
              calls);
    calls.clear();
    frame.reset();
    EXPECT_EQ((std::vector<std::string>{"deleted"}), calls);
}

// A frame whose only child fills it through a grid.
struct DeferredWorkTest : ::testing::Test {
    std::unique_ptr<Frame> frame = std::make_unique<Frame>(nullptr, L"deferred work");
    awt::GridLayout grid;
    TestLabel* label = new TestLabel(L"cell", 10, 10);

    void SetUp() override {
        frame->setLayout(&grid);
        frame->add(label);
        frame->setBounds(50, 50, 300, 200);
        frame->setVisible(true);
        pumpFor(50);
    }
    int innerWidth(int width) {
        return width - frame->getInsets().left - frame->getInsets().right;
    }
};

TEST_F(DeferredWorkTest, SizingWithFullDragLaysOutAtOnce) {
    ASSERT_EQ(innerWidth(300), label->getSize().width);
    BOOL savedDrag = FALSE;
    SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &savedDrag, 0);
    SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
    RECT proposed{50, 50, 450, 260};
    frame->windowProc(WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&proposed));
    EXPECT_EQ((Dimension{400, 210}), frame->getSize());
    EXPECT_EQ(innerWidth(400), label->getSize().width) << "no layout while dragging";

    SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0);
    BOOL dragNow = TRUE;
    SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &dragNow, 0);
    RECT other{50, 50, 350, 250};
    frame->windowProc(WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&other));
    SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, savedDrag, nullptr, 0);
    if (!dragNow) {
        EXPECT_EQ((Dimension{400, 210}), frame->getSize()) << "sizing without full drag changed the size";
    }
}

TEST_F(DeferredWorkTest, EnterIdleRunsTheQueuedLayout) {
    // The frame grows behind the toolkit's back, as inside a modal menu loop: WM_SIZE queues
    // a layout that only WM_ENTERIDLE can run while that loop owns the thread.
    SetWindowPos(frame->getHWND(), nullptr, 0, 0, 350, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(innerWidth(300), label->getSize().width);
    SendMessageW(frame->getHWND(), WM_ENTERIDLE, MSGF_MENU, 0);
    EXPECT_EQ(innerWidth(350), label->getSize().width);
}

}  // namespace

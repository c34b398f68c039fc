#include <algorithm>
#include <deque>

#include "awt/AWTException.h"
#include "awt/Button.h"
#include "awt/MenuBar.h"
#include "WindowTestComponents.h"

using awt::Dialog;
using awt::Window;

namespace {

constexpr UINT TITLE_STRING = 1;
constexpr UINT TEST_ICON = 101;
constexpr UINT MISSING_ICON = 4711;

// Counts the window events of the window and consumes the chosen kinds.
struct WindowEventRecorder : awt::WindowListener {
    explicit WindowEventRecorder(Window& window, bool consumeClosing = false) : consumeClosing(consumeClosing) {
        window.addWindowListener(this);
    }
    int shown = 0, closing = 0, iconified = 0, deiconified = 0;
    bool consumeClosing, consumeIconified = false;
    void windowShown(awt::WindowEvent*) override { ++shown; }
    void windowClosing(awt::WindowEvent* event) override { ++closing; event->consumed = consumeClosing; }
    void windowHidden(awt::WindowEvent*) override {}
    void windowActivated(awt::WindowEvent*) override {}
    void windowDeactivated(awt::WindowEvent*) override {}
    void windowIconified(awt::WindowEvent* event) override { ++iconified; event->consumed = consumeIconified; }
    void windowDeiconified(awt::WindowEvent* event) override { ++deiconified; event->consumed = consumeIconified; }
};

// A frame that notes its id when its deletion begins.
struct NotedFrame : Frame {
    NotedFrame(std::vector<int>* deletions, int id = 0, Window* owner = nullptr)
        : Frame(owner, L"noted"), deletions(deletions), id(id) {}
    ~NotedFrame() noexcept(false) override { deletions->push_back(id); }
    std::vector<int>* deletions;
    int id;
};

// A window gets its native window on first show, where the system puts it. Each close request,
// by WM_CLOSE or the system menu's close command, asks the listeners and then does what the
// close operation says, unless a listener consumed the request.
TEST(Window, FirstShowAndCloseOperations) {
    const int MOVED = 42;  // the loop was ended by the test, not by EXIT
    const struct { int operation; bool consumed; UINT message; const char* after; int loopResult; } cases[] = {
        {Window::HIDE, false, WM_CLOSE, "hidden", MOVED}, {Window::DISPOSE, false, WM_SYSCOMMAND, "disposed", MOVED},
        {Window::DISPOSE_AND_DELETE, false, WM_CLOSE, "deleted", MOVED}, {Window::EXIT, false, WM_SYSCOMMAND, "shown", 0},
        {Window::DO_NOTHING, false, WM_CLOSE, "shown", MOVED}, {17, false, WM_SYSCOMMAND, "shown", MOVED},
        {Window::DISPOSE_AND_DELETE, true, WM_CLOSE, "shown", MOVED}, {Window::EXIT, true, WM_SYSCOMMAND, "shown", MOVED}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.operation) + (c.consumed ? " consumed " : " ") + std::to_string(c.message));
        std::vector<int> deletions;
        auto* frame = new NotedFrame(&deletions);
        WindowEventRecorder events(*frame, c.consumed);
        frame->setDefaultCloseOperation(c.operation);
        EXPECT_EQ(nullptr, frame->getHWND());
        frame->setVisible(true);
        EXPECT_EQ(bounds(*frame), nativeBounds(frame->getHWND()));
        EXPECT_EQ(1, events.shown);
        SendMessageW(frame->getHWND(), c.message, c.message == WM_CLOSE ? 0 : SC_CLOSE, 0);
        EXPECT_TRUE(deletions.empty()) << "deleted inside the close message";

        DelayedAction moveOn(50, [&] { PostQuitMessage(MOVED); });
        EXPECT_EQ(c.loopResult, awt::Toolkit::getInstance()->run());
        EXPECT_EQ(1, events.closing);
        const HWND hwnd = deletions.empty() ? frame->getHWND() : nullptr;
        const std::string after =
            !deletions.empty() ? "deleted" : !hwnd ? "disposed" : IsWindowVisible(hwnd) ? "shown" : "hidden";
        EXPECT_EQ(c.after, after);
        if (deletions.empty()) {
            EXPECT_EQ(after == "shown", frame->isVisible());
            delete frame;
        }
    }
}

// Owned windows get their native windows with the owner's, lose them with its dispose and are
// deleted with it, last first; work queued for windows deleted meanwhile is dropped. Without owner
// a window is centred on its monitor's work area, with an owner on the owner; the halves of odd
// differences are truncated. A maximized window stays where it is.
TEST(Window, OwnedWindowsFollowTheOwnersNativeWindowAndDeletionAndCentreOnIt) {
    std::vector<int> deletions;
    auto* owner = new NotedFrame(&deletions, 0);
    auto* first = new NotedFrame(&deletions, 1, owner);
    auto* second = new NotedFrame(&deletions, 2, owner);
    auto* grandchild = new NotedFrame(&deletions, 3, first);
    delete new NotedFrame(&deletions, 4, owner);  // leaves the owner's list
    ASSERT_EQ((std::vector<Window*>{first, second}), owner->getOwnedWindows());
    TestControl* child = sized(10, 10);
    owner->add(child);

    owner->createPeer();
    EXPECT_EQ(owner->getHWND(), GetWindow(second->getHWND(), GW_OWNER));
    EXPECT_EQ(first->getHWND(), GetWindow(grandchild->getHWND(), GW_OWNER));
    EXPECT_FALSE(IsWindowVisible(first->getHWND())) << "owned windows stay hidden until shown";
    const HWND natives[] = {owner->getHWND(), child->getHWND(), grandchild->getHWND()};
    owner->dispose();
    EXPECT_FALSE(IsWindow(natives[0]) || IsWindow(natives[1]) || IsWindow(natives[2]));
    EXPECT_EQ(nullptr, grandchild->getHWND());
    owner->setVisible(true);  // a new native window, and a focus request queued
    EXPECT_TRUE(IsChild(owner->getHWND(), child->getHWND())) << "a disposed window gets a new one";

    MONITORINFO monitor{sizeof(MONITORINFO), {}, {}, 0};
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(owner->getHWND(), MONITOR_DEFAULTTOPRIMARY), &monitor));
    const RECT& work = monitor.rcWork;
    // The test display has a work area smaller than the monitor (tools/test.sh), so that centring
    // on the wrong one shows.
    ASSERT_FALSE(EqualRect(&work, &monitor.rcMonitor));
    const int width = 301 - (work.right - work.left) % 2, height = 201 - (work.bottom - work.top) % 2;
    owner->setSize(width, height);
    owner->center();
    const std::wstring centred = bounds(work.left + (work.right - work.left - width) / 2,
                                        work.top + (work.bottom - work.top - height) / 2, width, height);
    EXPECT_EQ(centred, bounds(*owner));
    EXPECT_EQ(centred, nativeBounds(owner->getHWND()));
    owner->setBounds(100, 80, 500, 400);
    first->setSize(201, 100);
    first->center();
    EXPECT_EQ(L"249,230,201,100", bounds(*first));
    ShowWindow(owner->getHWND(), SW_MAXIMIZE);
    ASSERT_TRUE(owner->isMaximized());
    const std::wstring maximized = nativeBounds(owner->getHWND());
    owner->center();
    EXPECT_EQ(maximized, nativeBounds(owner->getHWND()));

    const HWND firstWindow = first->getHWND();
    second->setDefaultCloseOperation(Window::DISPOSE_AND_DELETE);
    SendMessageW(second->getHWND(), WM_CLOSE, 0, 0);  // its deletion queued
    delete owner;

    // Noted as each destruction begins: the owner, then its owned windows last first.
    EXPECT_EQ((std::vector<int>{4, 0, 2, 1, 3}), deletions);
    EXPECT_FALSE(IsWindow(firstWindow));
    // Runnables run in order: once this one has run, the work queued before it has had its turn.
    bool later = false;
    toolkit()->invokeLater(task([&later] { later = true; }));
    ASSERT_TRUE(waitUntil([&later] { return later; }));
    EXPECT_EQ(5u, deletions.size()) << "work queued for a deleted window ran";
}

// Sets full-window drag and puts the user's setting back however the test ends.
struct FullDragSetting {
    BOOL saved = FALSE;
    explicit FullDragSetting(BOOL on) {
        SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &saved, 0);
        SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, on, nullptr, 0);
    }
    ~FullDragSetting() { SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, saved, nullptr, 0); }
};

// The native windows lie where the layout put the components, and pack gives the frame its
// preferred client size. Later layouts show in the centre child's width.
TEST(Window, PackAndDeferredLayoutsWhileSizingWithFullDragAndOnEnterIdle) {
    auto frame = std::make_unique<Frame>(nullptr, L"packed");
    awt::BorderLayout layout;
    layout.setGaps(0, 6);
    layout.setMargin(awt::Insets{8, 8, 8, 8});
    frame->setLayout(&layout);
    TestControl* north = sized(120, 30);
    TestControl* centre = sized(200, 90);
    frame->add(north, awt::BorderLayout::NORTH);
    frame->add(centre, awt::BorderLayout::CENTER);
    frame->pack();
    frame->setVisible(true);
    // Laid out while the window was still hidden: in place before any message is handled.
    RECT client;
    GetClientRect(frame->getHWND(), &client);
    EXPECT_EQ((Dimension{216, 142}), (Dimension{client.right, client.bottom}));
    EXPECT_EQ(L"8,8,200,30", nativeBounds(north->getHWND(), frame->getHWND()));
    EXPECT_EQ(L"8,44,200,90", nativeBounds(centre->getHWND(), frame->getHWND()));
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(centre->getHWND()) != FALSE; }));

    frame->setBounds(50, 50, 300, 200);
    settle();
    // The frame's borders and the margins: the centre child is that much narrower than the frame.
    const int around = frame->getInsets().left + frame->getInsets().right + 16;
    ASSERT_EQ(300 - around, centre->getSize().width);
    // Without full drag the system draws an outline and sizes the window when the mouse is let go.
    const struct { BOOL fullDrag; RECT proposed; Dimension size; } drags[] = {
        {FALSE, {50, 50, 420, 270}, {300, 200}}, {TRUE, {50, 50, 450, 260}, {400, 210}}};
    for (const auto& d : drags) {
        SCOPED_TRACE(d.fullDrag);
        const FullDragSetting setting(d.fullDrag);
        BOOL now = -1;
        ASSERT_TRUE(SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &now, 0) && now == d.fullDrag);
        RECT proposed = d.proposed;
        frame->windowProc(WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&proposed));
        EXPECT_EQ(d.size, frame->getSize());
        EXPECT_EQ(d.size.width - around, centre->getSize().width) << "no layout while dragging";
    }
    // The frame grows behind the toolkit's back, as inside a modal menu loop: WM_SIZE queues a
    // layout that only WM_ENTERIDLE can run while that loop owns the thread.
    SetWindowPos(frame->getHWND(), nullptr, 0, 0, 450, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(400 - around, centre->getSize().width);
    SendMessageW(frame->getHWND(), WM_ENTERIDLE, MSGF_MENU, 0);
    EXPECT_EQ(450 - around, centre->getSize().width);
}

// A border layout that counts the layouts of its container.
struct CountingLayout : awt::BorderLayout {
    int layouts = 0;
    void layoutContainer(awt::Container* parent) override {
        ++layouts;
        BorderLayout::layoutContainer(parent);
    }
};

// Showing a window lays out its own tree at once, nested containers too, and only once; the
// layout another window has pending waits for the loop.
TEST(Window, ShowingLaysOutItsOwnTreeOnceAndLeavesOtherWindowsToTheLoop) {
    CountingLayout shownLayout, innerLayout, otherLayout;
    auto shown = std::make_unique<Frame>(nullptr, L"shown");
    auto other = std::make_unique<Frame>(nullptr, L"other");
    shown->setLayout(&shownLayout);
    other->setLayout(&otherLayout);
    auto* inner = new TestPanel();
    inner->setLayout(&innerLayout);
    TestControl* innerChild = sized(40, 20);
    inner->add(innerChild, awt::BorderLayout::CENTER);
    shown->add(inner, awt::BorderLayout::CENTER);
    other->setVisible(true);
    settle();
    other->setSize(other->getSize().width + 20, other->getSize().height);
    ASSERT_EQ(1, otherLayout.layouts);
    const std::deque<awt::Component*>& invalid = toolkit()->getInvalidQueue();
    ASSERT_EQ(1, std::count(invalid.begin(), invalid.end(), other.get()));

    shown->setVisible(true);
    EXPECT_EQ(inner->getSize(), innerChild->getSize()) << "the nested container was not laid out";
    EXPECT_EQ((std::vector<int>{1, 1, 1}), (std::vector<int>{shownLayout.layouts, innerLayout.layouts, otherLayout.layouts}));
    settle();
    EXPECT_EQ((std::vector<int>{1, 1, 2}), (std::vector<int>{shownLayout.layouts, innerLayout.layouts, otherLayout.layouts}));
}

// A menu bar that notes what the window asks of it.
struct RecordingMenuBar : awt::MenuBar {
    explicit RecordingMenuBar(std::vector<std::string>* calls) : calls(calls) {}
    ~RecordingMenuBar() override { calls->push_back("deleted"); }
    void attach(HWND) override { calls->push_back("attach"); }
    void detach(HWND) override { calls->push_back("detach"); }
    void setItemsEnabled(bool enabled) override { calls->push_back(enabled ? "enable" : "disable"); }
    std::vector<std::string>* calls;
};

TEST(Window, MenuBarFollowsTheNativeWindowAndMenuCommandsCheckTheIndex) {
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
    const std::vector<std::string> expected{"attach", "disable", "enable", "detach", "attach", "detach", "deleted", "attach"};
    EXPECT_EQ(expected, calls);
    // A menu command activates the item at its index and checks the index.
    struct Items : awt::MenuItems {
        std::vector<int> activated;
        int getItemCount() const override { return 2; }
        void activateItem(int index) override { activated.push_back(index); }
    } items;
    HMENU menu = CreatePopupMenu();
    MENUINFO menuInfo{sizeof(MENUINFO), MIM_MENUDATA | MIM_STYLE, MNS_NOTIFYBYPOS, 0, nullptr, 0,
                      reinterpret_cast<ULONG_PTR>(&items)};
    ASSERT_TRUE(SetMenuInfo(menu, &menuInfo));
    frame->windowProc(WM_MENUCOMMAND, 1, reinterpret_cast<LPARAM>(menu));
    EXPECT_FAILURE(frame->windowProc(WM_MENUCOMMAND, 2, reinterpret_cast<LPARAM>(menu)), awt::AWTException,
                   L"bad menu index: 2 (0<=index<2)", NO_CODE);
    EXPECT_EQ((std::vector<int>{1}), items.activated);
    DestroyMenu(menu);
    calls.clear();
    frame.reset();
    EXPECT_EQ((std::vector<std::string>{"deleted"}), calls);
}

// Frames have a caption, system menu and minimize box, and a sizing border and maximize box
// while resizable; dialogs have neither box, and a modal frame when they have an owner. The title,
// always-on-top, the icons and the track sizes reach the native window whether set before or after
// its creation; only the track sizes that are set overwrite the system's.
TEST(Frame, StylesAndSettingsReachTheNativeWindowBeforeAndAfterCreation) {
    const DWORD sizing = WS_THICKFRAME | WS_MAXIMIZEBOX;
    const DWORD checked = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | sizing | WS_POPUP | WS_CLIPCHILDREN;
    auto styleBits = [](Frame* window, DWORD bits) { return GetWindowLongW(window->getHWND(), GWL_STYLE) & bits; };
    auto topmost = [](Frame* f) { return (GetWindowLongW(f->getHWND(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    auto owner = std::make_unique<Frame>(nullptr, L"frame");
    auto* owned = new Dialog(owner.get(), L"owned", false);
    auto lone = std::make_unique<Dialog>(nullptr, L"lone", false);
    auto fixed = std::make_unique<Frame>(nullptr, L"fixed");
    fixed->setResizable(false);
    fixed->setTitle(L"changed early");
    fixed->setAlwaysOnTop(true);
    fixed->setMinimumSize(Dimension{300, -1});
    fixed->setMaximumSize(Dimension{-1, 500});
    owner->setIcon(TEST_ICON);
    const HICON firstSmall = owner->getSmallIcon();
    const struct { Frame* window; DWORD style; bool modalFrame; DWORD resizableAgain; } cases[] = {
        {owner.get(), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | sizing | WS_CLIPCHILDREN, false, sizing},
        {fixed.get(), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, false, sizing},
        {owned, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, true, WS_THICKFRAME},
        {lone.get(), WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, false, WS_THICKFRAME},
    };
    for (const auto& c : cases) {
        c.window->createPeer();
        SCOPED_TRACE(windowText(c.window->getHWND()));
        EXPECT_EQ(c.style, styleBits(c.window, checked));
        EXPECT_EQ(c.modalFrame, (GetWindowLongW(c.window->getHWND(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) != 0);
        EXPECT_EQ(c.window == fixed.get(), topmost(c.window));
        c.window->setResizable(false);
        EXPECT_EQ(c.style & WS_MINIMIZEBOX, styleBits(c.window, sizing | WS_MINIMIZEBOX));
        c.window->setResizable(true);
        EXPECT_EQ(c.resizableAgain, styleBits(c.window, sizing));
    }
    EXPECT_EQ(L"changed early", windowText(fixed->getHWND()));
    MINMAXINFO track{{}, {}, {}, {1, 2}, {3, 4}};
    SendMessageW(fixed->getHWND(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&track));
    EXPECT_EQ(L"300,2,3,500", bounds(track.ptMinTrackSize.x, track.ptMinTrackSize.y, track.ptMaxTrackSize.x,
                                     track.ptMaxTrackSize.y));
    owner->setAlwaysOnTop(true);
    EXPECT_TRUE(topmost(owner.get()));
    owner->setAlwaysOnTop(false);
    EXPECT_FALSE(topmost(owner.get()));
    owner->setTitle(TITLE_STRING);
    EXPECT_EQ(L"タイトル from the string table", windowText(owner->getHWND()));
    EXPECT_EQ(L"タイトル from the string table", owner->getTitle());

    // Icons come in both sizes; a replaced one is destroyed, a missing one throws and changes nothing.
    auto nativeIcon = [&](WPARAM which) { return HICON(SendMessageW(owner->getHWND(), WM_GETICON, which, 0)); };
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(owner->getBigIcon(), &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmMask, sizeof(bitmap), &bitmap);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), bitmap.bmWidth);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    EXPECT_EQ(firstSmall, nativeIcon(ICON_SMALL));
    EXPECT_EQ(owner->getBigIcon(), nativeIcon(ICON_BIG));
    owner->setIcon(TEST_ICON);
    const HICON kept = owner->getSmallIcon();
    EXPECT_EQ(kept, nativeIcon(ICON_SMALL));
    EXPECT_FALSE(GetIconInfo(firstSmall, &info)) << "the replaced icon was not destroyed";
    EXPECT_THROW(owner->setIcon(MISSING_ICON), awt::AWTException);
    EXPECT_EQ(kept, owner->getSmallIcon());
}

// A consumed iconify or restore is suppressed. A frame that is not closable greys its close item
// and ignores close commands.
TEST(Frame, ConsumedIconifyOrRestoreIsSuppressedAndNotClosableIgnoresCloseCommands) {
    auto frame = std::make_unique<Frame>(nullptr, L"not closable");
    WindowEventRecorder events(*frame);
    std::vector<std::wstring> keys;
    Recorder keyRecorder(&keys, L"frame");
    frame->addKeyListener(&keyRecorder);
    frame->setClosable(false);
    frame->setSize(300, 200);
    frame->setVisible(true);
    const HWND hwnd = frame->getHWND();
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == hwnd; }));
    // The low four bits of a system command belong to the system (a double click on the
    // caption restores with SC_RESTORE + 2).
    const struct { WPARAM command; bool consume; bool iconic; } steps[] = {
        {SC_MINIMIZE, true, false}, {SC_MINIMIZE, false, true}, {SC_RESTORE, true, true}, {SC_RESTORE | 2, false, false}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command);
        events.consumeIconified = step.consume;
        SendMessageW(hwnd, WM_SYSCOMMAND, step.command, 0);
        EXPECT_TRUE(waitUntil([&] { return (IsIconic(hwnd) != FALSE) == step.iconic; }, 1000));
        runFor(30);
        EXPECT_EQ(step.iconic, IsIconic(hwnd) != FALSE);
    }
    EXPECT_EQ((std::vector<int>{2, 2}), (std::vector<int>{events.iconified, events.deiconified}));

    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == hwnd; }));
    auto closeItem = [&] { return GetMenuState(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND); };
    EXPECT_NE(0u, closeItem() & MF_GRAYED);
    // What the close box and the system menu send, and Alt+F4 from the keyboard.
    SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    press(VK_F4, {VK_MENU});
    // The close command that F4 with Alt posts is taken before the input that follows it: once
    // both keys are released, it has been handled.
    ASSERT_TRUE(waitUntil([&keys] { return std::count(keys.begin(), keys.end(), L"frame:keyReleased") == 2; }));
    EXPECT_EQ(0, events.closing);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    frame->setClosable(true);
    EXPECT_EQ(0u, closeItem() & MF_GRAYED);
    press(VK_F4, {VK_MENU});
    EXPECT_TRUE(waitUntil([&] { return !frame->isVisible(); }));
    EXPECT_EQ(1, events.closing);
}

// A modal dialog runs its own loop with the owner disabled until something hides it: its button,
// its close box, WM_CLOSE or its own code. It opens at the owner's client corner unless placed.
TEST(Dialog, ModalLoopEndsWhenTheDialogIsHiddenAndTheOwnerIsEnabledAgain) {
    enum Ending { BUTTON, CLOSE_BOX, CLOSE_MESSAGE, SHOWN_AGAIN_THEN_HIDDEN };
    for (const Ending ending : {BUTTON, CLOSE_BOX, CLOSE_MESSAGE, SHOWN_AGAIN_THEN_HIDDEN}) {
        SCOPED_TRACE(ending);
        const bool ownerDisabled = ending == CLOSE_MESSAGE, placed = ending == SHOWN_AGAIN_THEN_HIDDEN;
        awt::ButtonsLayout buttons;
        auto owner = std::make_unique<Frame>(nullptr, L"owner");
        struct Hide : awt::ActionListener {
            Dialog* dialog;
            void actionPerformed(awt::ActionEvent*) override { dialog->setVisible(false); }
        } hide;
        Dialog* dialog = hide.dialog = new Dialog(owner.get(), L"modal", true);  // deleted with its owner
        auto* ok = new awt::Button(L"OK");
        ok->addActionListener(&hide);
        dialog->setLayout(&buttons);
        dialog->add(ok);
        dialog->setSize(250, 120);
        if (placed) {
            dialog->setLocation(37, 41);
        }
        owner->setSize(400, 300);
        owner->setVisible(true);
        ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == owner->getHWND(); }));
        owner->setEnabled(!ownerDisabled);
        bool ownerEnabledMeanwhile = true, shown = false;
        awt::Point location;
        Watchdog watchdog;
        DelayedAction action(200, [&] {
            ownerEnabledMeanwhile = IsWindowEnabled(owner->getHWND()) || owner->isEnabled();
            shown = IsWindowVisible(dialog->getHWND()) != FALSE;
            location = dialog->getLocation();
            RECT rect;
            GetWindowRect(ok->getHWND(), &rect);
            if (ending == BUTTON) {
                clickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
            } else if (placed) {
                dialog->setVisible(true);
                dialog->setVisible(false);
            } else {
                PostMessageW(dialog->getHWND(), ending == CLOSE_BOX ? WM_SYSCOMMAND : WM_CLOSE, SC_CLOSE, 0);
            }
        });
        dialog->setVisible(true);  // returns when the nested loop ends

        EXPECT_TRUE(action.hasRun() && !watchdog.fired()) << "the dialog did not end its loop";
        EXPECT_FALSE(ownerEnabledMeanwhile);
        EXPECT_TRUE(shown);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_NE(nullptr, dialog->getHWND()) << "hidden (the default close operation), not destroyed";
        EXPECT_EQ(!ownerDisabled, IsWindowEnabled(owner->getHWND()) != FALSE);
        POINT corner{0, 0};
        ClientToScreen(owner->getHWND(), &corner);
        EXPECT_EQ((placed ? awt::Point{37, 41} : awt::Point{corner.x, corner.y}), location);
        if (ending == BUTTON) {
            EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == owner->getHWND(); }));
        }
    }
}

}  // namespace

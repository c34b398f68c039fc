#include <windows.h>

#include <commctrl.h>

#include "awt/NullLayout.h"

#include "awt/tests/support/TestSupport.h"

using namespace test;

namespace {

using Journal = std::vector<std::wstring>;

// A layout that notes what the container tells it and places the children in a column.
struct RecordingLayout : awt::LayoutManager {
    void addLayoutComponent(awt::Component* component, const Constraints& constraints) override {
        added.push_back(component);
        lastConstraints = &constraints;
    }
    void removeLayoutComponent(awt::Component* component) override { removed.push_back(component); }
    awt::Dimension preferredLayoutSize(const awt::Container* parent) override {
        return awt::Dimension{parent->getComponentCount() * 10, 7};
    }
    void layoutContainer(awt::Container* parent) override {
        ++layouts;
        for (int i = 0; i < parent->getComponentCount(); ++i) {
            parent->getComponent(i)->setBounds(40, 40 + 30 * i, 60 + layouts, 25);
        }
    }
    std::vector<awt::Component*> added, removed;
    const Constraints* lastConstraints = nullptr;
    int layouts = 0;
};

// Notes when its native window is made and destroyed, and when it is deleted.
template <class Base> struct Journaled : Base {
    Journaled(Journal* journal, std::wstring name) : journal(journal), name(std::move(name)) {}
    ~Journaled() noexcept(false) override { journal->push_back(L"delete " + name); }
    HWND createWindow() override {
        journal->push_back(L"create " + name);
        return Base::createWindow();
    }
    // Noted after the base, which destroys a container's children first.
    void destroyPeer() override {
        const bool had = this->getHWND() != nullptr;
        Base::destroyPeer();
        if (had) { journal->push_back(L"destroy " + name); }
    }
    Journal* journal;
    std::wstring name;
};

LRESULT send(HWND window, UINT message, WPARAM wParam, const void* lParam) {
    return SendMessageW(window, message, wParam, reinterpret_cast<LPARAM>(lParam));
}

} // namespace

TEST(Container, AddChecksInOrderAndLeavesTheContainerUnchanged) {
    TestPanel panel, other;
    auto* child = new TestControl();
    EXPECT_FAILURE(panel.add(nullptr), zeno::NullPointerException, L"child", NO_CODE);
    panel.add(child);
    panel.add(child);
    EXPECT_EQ(&panel, child->getParent());
    EXPECT_FAILURE(other.add(child), zeno::IllegalArgumentException, L"child already added to another container", NO_CODE);
    TestFrame window;
    EXPECT_FAILURE(panel.add(&window), zeno::IllegalArgumentException, L"can't add top level window", NO_CODE);
    awt::LayoutManager::Constraints none;
    auto *loose = new TestControl(), *last = new TestControl();
    for (int index : {2, -1}) {
        EXPECT_FAILURE(panel.addImpl(loose, index, none), zeno::IndexOutOfBoundsException,
                       L"index: " + std::to_wstring(index) + L" (must be 0<=index<2)", NO_CODE);
    }
    EXPECT_EQ(nullptr, loose->getParent());
    panel.addImpl(loose, 0, none);
    panel.addImpl(last, 2, none);
    EXPECT_EQ((std::vector<awt::Component*>{loose, child, last}), panel.getComponents());
    EXPECT_EQ(-1, panel.indexOf(&window));
    EXPECT_FAILURE(panel.getComponent(3), zeno::IndexOutOfBoundsException, L"index: 3 (must be 0<=index<3)", NO_CODE);
    EXPECT_FAILURE(panel.remove(0, child), zeno::IllegalArgumentException, L"child is not at the given position", NO_CODE);
    // The null layout prefers the insets.
    panel.insets = awt::Insets{3, 4, 5, 6};
    EXPECT_EQ((awt::Dimension{10, 8}), panel.getPreferredSize());
}

TEST(Container, LayoutAndListenersHearOfAdditionsAndRemovals) {
    Journal journal;
    TestFrame frame;
    RecordingLayout layout;
    Recorder listener(&journal, L"listener");
    EXPECT_FAILURE(frame.setLayout(nullptr), zeno::NullPointerException, L"layout", NO_CODE);
    frame.setLayout(&layout);
    frame.addContainerListener(&listener);
    awt::LayoutManager::Constraints where;
    auto* child = new TestControl();
    frame.add(child, where);
    EXPECT_EQ(&where, layout.lastConstraints);
    EXPECT_EQ((std::vector<awt::Component*>{child}), layout.added);
    EXPECT_TRUE(listener.lastContainer.child == child && listener.lastContainer.source == &frame);
    EXPECT_EQ((awt::Dimension{10, 7}), frame.getPreferredSize());
    frame.validate();
    EXPECT_EQ(0, layout.layouts) << "no window, no layout";
    frame.createPeer();
    frame.invalidate();
    settle();
    EXPECT_EQ((awt::Rectangle{40, 40, 61, 25}), child->getBounds());

    // Adding to a container with a window makes the child's window at once and lays out again.
    auto* second = new TestControl();
    frame.add(second);
    EXPECT_EQ(frame.getHWND(), GetParent(second->getHWND()));
    settle();
    EXPECT_EQ((awt::Rectangle{40, 70, 62, 25}), second->getBounds());

    frame.remove(0, child);
    EXPECT_TRUE(child->getHWND() == nullptr && child->getParent() == nullptr);
    EXPECT_EQ((Journal{L"listener:added", L"listener:added", L"listener:removed"}), journal);
    EXPECT_EQ(awt::ContainerEvent::REMOVED, listener.lastContainer.id);
    frame.removeContainerListener(&listener);
    delete child;

    // Deleting a child takes it out; a replaced layout lays out at the next pass.
    delete second;
    EXPECT_EQ(0, frame.getComponentCount());
    EXPECT_EQ((std::vector<awt::Component*>{child, second}), layout.removed);
    RecordingLayout another;
    frame.setLayout(&another);
    settle();
    EXPECT_EQ(1, another.layouts);
    frame.setLayout(&awt::NullLayout::instance);
}

TEST(Container, WindowsAreCreatedParentFirstAndDestroyedChildrenLastFirst) {
    Journal journal;
    auto* frame = new TestFrame();
    auto* outer = new Journaled<TestPanel>(&journal, L"outer");
    auto* inner = new Journaled<TestPanel>(&journal, L"inner");
    auto* leaf = new Journaled<TestControl>(&journal, L"leaf");
    outer->add(new Journaled<TestControl>(&journal, L"first"));
    outer->add(inner);
    inner->add(leaf);
    outer->add(new Journaled<TestControl>(&journal, L"second"));
    frame->add(outer);
    frame->createPeer();
    EXPECT_EQ((Journal{L"create outer", L"create first", L"create inner", L"create leaf", L"create second"}), journal);
    EXPECT_EQ(inner->getHWND(), GetParent(leaf->getHWND()));
    journal.clear();
    frame->destroyPeer();
    EXPECT_EQ((Journal{L"destroy second", L"destroy leaf", L"destroy inner", L"destroy first", L"destroy outer"}), journal);
    frame->createPeer();
    HWND leafWindow = leaf->getHWND();
    journal.clear();
    delete frame;
    EXPECT_EQ((Journal{L"delete outer", L"delete second", L"delete inner", L"delete leaf", L"delete first"}), journal);
    EXPECT_FALSE(IsWindow(leafWindow));
}

TEST(Container, StylesRoutingColoursEnablingAndRepaint) {
    TestFrame frame;
    auto* panel = place(&frame, new TestPanel(), 40, 40, 200, 100);
    auto* button = place(panel, new TestControl(), 10, 10, 50, 20);
    auto* label = place(panel, new TestControl(L"STATIC", 0, L"label"), 100, 60, 50, 20);
    auto* group = new TestPanel();
    group->setGroup(true);
    frame.add(group);
    frame.createPeer();
    settle();
    auto style = [](awt::Component* c, int which) { return GetWindowLongPtrW(c->getHWND(), which); };
    EXPECT_EQ(WS_CLIPCHILDREN, style(panel, GWL_STYLE) & (WS_CLIPCHILDREN | WS_GROUP));
    EXPECT_EQ(WS_GROUP, style(group, GWL_STYLE) & WS_GROUP);
    EXPECT_EQ(WS_EX_CONTROLPARENT, style(panel, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);

    // Notifications reach the child that sent them; unhandled or from no component, the default.
    HWND parent = panel->getHWND(), child = button->getHWND();
    button->handleCommands = true;
    EXPECT_EQ(1234, send(parent, WM_COMMAND, MAKEWPARAM(77, EN_CHANGE), child));
    EXPECT_EQ(MAKEWPARAM(77, EN_CHANGE), button->lastWParam);
    NMHDR header{child, 5, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(4321, send(parent, WM_NOTIFY, 5, &header));
    EXPECT_EQ(static_cast<UINT>(NM_CLICK), button->lastCode);
    send(parent, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 321), child);
    EXPECT_EQ(321, button->lastPosition);
    EXPECT_EQ(MAKEWPARAM(SB_THUMBTRACK, 321), button->lastWParam);
    button->handleCommands = false;
    EXPECT_EQ(0, send(parent, WM_COMMAND, MAKEWPARAM(1, 2), child));
    EXPECT_EQ(0, send(parent, WM_COMMAND, MAKEWPARAM(1, 2), GetDesktopWindow()));

    // Setting changes reach every child window.
    button->messages.clear();
    SendMessageW(frame.getHWND(), WM_SETTINGCHANGE, 0, 0);
    SendMessageW(frame.getHWND(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ((std::vector<UINT>{WM_SETTINGCHANGE, WM_SYSCOLORCHANGE}), button->messages);

    // Control colours: the system's answer, with the text colour; with a background, a brush of it.
    HDC dc = GetDC(label->getHWND());
    auto colour = [&](UINT message) { return send(parent, message, reinterpret_cast<WPARAM>(dc), label->getHWND()); };
    const LRESULT system = DefWindowProcW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                          reinterpret_cast<LPARAM>(label->getHWND()));
    label->setForeground(RGB(200, 0, 0));
    EXPECT_EQ(system, colour(WM_CTLCOLORSTATIC));
    EXPECT_EQ(RGB(200, 0, 0), GetTextColor(dc));
    for (COLORREF background : {RGB(0, 0, 250), RGB(0, 250, 0)}) {
        label->setBackground(background);
        LOGBRUSH info{};
        GetObjectW(reinterpret_cast<HBRUSH>(colour(WM_CTLCOLOREDIT)), sizeof(info), &info);
        EXPECT_EQ((std::vector<COLORREF>{background, background, RGB(200, 0, 0)}),
                  (std::vector<COLORREF>{info.lbColor, GetBkColor(dc), GetTextColor(dc)}));
    }
    ReleaseDC(label->getHWND(), dc);

    frame.setTreeEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(button->getHWND()) || panel->isEnabled() || frame.isEnabled());
    frame.setTreeEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(label->getHWND()));

    // A repaint of the panel reaches the children its rectangle touches, in their coordinates.
    settle();
    panel->repaint(0, 0, 40, 40);
    EXPECT_EQ((std::deque<awt::Component*>{panel, button}), toolkit()->getRepaintQueue());
    RECT update;
    ASSERT_TRUE(GetUpdateRect(button->getHWND(), &update, FALSE));
    EXPECT_EQ((std::vector<LONG>{30, 20}), (std::vector<LONG>{update.right, update.bottom}));
    settle();
}

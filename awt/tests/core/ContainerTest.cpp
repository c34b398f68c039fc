#include <windows.h>

#include <commctrl.h>

#include "awt/NullLayout.h"

#include "TestSupport.h"

using namespace test;

namespace {

using Journal = std::vector<std::wstring>;

// A layout that notes what the container tells it and places the children in a column.
class RecordingLayout : public awt::LayoutManager {
public:
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

    std::vector<awt::Component*> added;
    std::vector<awt::Component*> removed;
    const Constraints* lastConstraints = nullptr;
    int layouts = 0;
};

// A container that notes the native windows it makes and destroys.
class JournalPanel : public TestPanel {
public:
    JournalPanel(Journal* journal, std::wstring name) : journal(journal), name(std::move(name)) {}
    ~JournalPanel() noexcept(false) override { journal->push_back(L"delete " + name); }
    HWND createWindow() override {
        journal->push_back(L"create " + name);
        return TestPanel::createWindow();
    }
    // Noted after the base, which destroys the children's windows first.
    void destroyPeer() override {
        bool had = getHWND() != nullptr;
        TestPanel::destroyPeer();
        if (had) {
            journal->push_back(L"destroy " + name);
        }
    }

    Journal* journal;
    std::wstring name;
};

class JournalControl : public TestControl {
public:
    JournalControl(Journal* journal, std::wstring controlName) {
        this->journal = journal;
        name = std::move(controlName);
    }
    HWND createWindow() override {
        journal->push_back(L"create " + name);
        return TestControl::createWindow();
    }
    void destroyPeer() override {
        if (getHWND() != nullptr) {
            journal->push_back(L"destroy " + name);
        }
        TestControl::destroyPeer();
    }
};

} // namespace

TEST(ContainerChildren, AddChecksInOrderAndLeavesTheContainerUnchanged) {
    TestPanel panel;
    TestPanel other;
    auto* child = new TestControl();
    EXPECT_FAILURE(panel.add(nullptr), zeno::NullPointerException, L"child", NO_CODE);
    panel.add(child);
    panel.add(child);
    EXPECT_EQ(1, panel.getComponentCount());
    EXPECT_EQ(&panel, child->getParent());
    EXPECT_FAILURE(other.add(child), zeno::IllegalArgumentException,
                   L"child already added to another container", NO_CODE);
    TestFrame window;
    EXPECT_FAILURE(panel.add(&window), zeno::IllegalArgumentException,
                   L"can't add top level window", NO_CODE);
    EXPECT_EQ(nullptr, window.getParent());

    awt::LayoutManager::Constraints none;
    auto* loose = new TestControl();
    EXPECT_FAILURE(panel.addImpl(loose, 2, none), zeno::IndexOutOfBoundsException,
                   L"index: 2 (must be 0<=index<2)", NO_CODE);
    EXPECT_FAILURE(panel.addImpl(loose, -1, none), zeno::IndexOutOfBoundsException,
                   L"index: -1 (must be 0<=index<2)", NO_CODE);
    EXPECT_EQ(1, panel.getComponentCount());
    EXPECT_EQ(nullptr, loose->getParent());
    panel.addImpl(loose, 0, none);
    auto* last = new TestControl();
    panel.addImpl(last, 2, none);
    EXPECT_EQ((std::vector<awt::Component*>{loose, child, last}), panel.getComponents());
    EXPECT_EQ(1, panel.indexOf(child));
    EXPECT_EQ(-1, panel.indexOf(&window));
    EXPECT_FAILURE(panel.getComponent(3), zeno::IndexOutOfBoundsException,
                   L"index: 3 (must be 0<=index<3)", NO_CODE);
}

TEST(ContainerChildren, LayoutAndListenersHearOfAdditionsAndRemovals) {
    Journal journal;
    TestFrame frame;
    RecordingLayout layout;
    Recorder listener(&journal, L"listener");
    EXPECT_EQ(&awt::NullLayout::instance, frame.getLayout());
    EXPECT_FAILURE(frame.setLayout(nullptr), zeno::NullPointerException, L"layout", NO_CODE);
    frame.setLayout(&layout);
    frame.addContainerListener(&listener);
    awt::LayoutManager::Constraints where;
    auto* child = new TestControl();
    frame.add(child, where);
    EXPECT_EQ(&where, layout.lastConstraints);
    EXPECT_EQ((std::vector<awt::Component*>{child}), layout.added);
    EXPECT_EQ((Journal{L"listener:added"}), journal);
    EXPECT_EQ(awt::ContainerEvent::ADDED, listener.lastContainer.id);
    EXPECT_EQ(child, listener.lastContainer.child);
    EXPECT_EQ(&frame, listener.lastContainer.source);
    EXPECT_EQ((awt::Dimension{10, 7}), frame.getPreferredSize());

    // No window yet: no layout.
    frame.validate();
    EXPECT_EQ(0, layout.layouts);
    frame.createPeer();
    // Shown windows invalidate themselves; this frame was created visible.
    frame.invalidate();
    settle();
    EXPECT_EQ(1, layout.layouts);
    EXPECT_EQ((awt::Rectangle{40, 40, 61, 25}), child->getBounds());

    // Adding to a container with a window makes the child's window at once and lays out again.
    auto* second = new TestControl();
    frame.add(second);
    EXPECT_NE(nullptr, second->getHWND());
    EXPECT_EQ(frame.getHWND(), GetParent(second->getHWND()));
    settle();
    EXPECT_EQ(2, layout.layouts);
    EXPECT_EQ((awt::Rectangle{40, 70, 62, 25}), second->getBounds());

    frame.remove(0, child);
    EXPECT_EQ(nullptr, child->getHWND());
    EXPECT_EQ(nullptr, child->getParent());
    EXPECT_EQ((std::vector<awt::Component*>{child}), layout.removed);
    EXPECT_EQ(L"listener:removed", journal.back());
    EXPECT_EQ(awt::ContainerEvent::REMOVED, listener.lastContainer.id);
    EXPECT_EQ((std::vector<awt::Component*>{second}), frame.getComponents());
    EXPECT_FAILURE(frame.remove(0, child), zeno::IllegalArgumentException,
                   L"child is not at the given position", NO_CODE);
    frame.removeContainerListener(&listener);
    delete child;

    // A replaced layout lays out at the next pass.
    RecordingLayout another;
    frame.setLayout(&another);
    settle();
    EXPECT_EQ(1, another.layouts);
    frame.setLayout(&awt::NullLayout::instance);
}

TEST(ContainerChildren, NullLayoutPrefersTheInsetsAndPlacesNothing) {
    TestPanel panel;
    panel.insets = awt::Insets{3, 4, 5, 6};
    auto* child = new TestControl();
    child->setBounds(1, 2, 3, 4);
    panel.add(child);
    EXPECT_EQ((awt::Dimension{10, 8}), panel.getPreferredSize());
    awt::NullLayout::instance.layoutContainer(&panel);
    EXPECT_EQ((awt::Rectangle{1, 2, 3, 4}), child->getBounds());
}

TEST(ContainerWindows, CreatedParentFirstDestroyedChildrenLastFirst) {
    Journal journal;
    auto* frame = new TestFrame();
    auto* outer = new JournalPanel(&journal, L"outer");
    auto* first = new JournalControl(&journal, L"first");
    auto* second = new JournalControl(&journal, L"second");
    auto* inner = new JournalPanel(&journal, L"inner");
    auto* leaf = new JournalControl(&journal, L"leaf");
    outer->add(first);
    outer->add(inner);
    inner->add(leaf);
    outer->add(second);
    frame->add(outer);
    frame->createPeer();
    EXPECT_EQ((Journal{L"create outer", L"create first", L"create inner", L"create leaf",
                       L"create second"}),
              journal);
    EXPECT_EQ(inner->getHWND(), GetParent(leaf->getHWND()));

    journal.clear();
    frame->destroyPeer();
    EXPECT_EQ((Journal{L"destroy second", L"destroy leaf", L"destroy inner", L"destroy first",
                       L"destroy outer"}),
              journal);
    EXPECT_EQ(nullptr, leaf->getHWND());

    frame->createPeer();
    HWND leafWindow = leaf->getHWND();
    journal.clear();
    delete frame;
    // A container notes its deletion before its children go, last first.
    EXPECT_EQ((Journal{L"delete outer", L"delete second", L"delete inner", L"delete leaf",
                       L"delete first"}),
              journal);
    EXPECT_FALSE(IsWindow(leafWindow));
}

TEST(ContainerWindows, DeletingAChildTakesItOutOfItsContainer) {
    TestFrame frame;
    RecordingLayout layout;
    frame.setLayout(&layout);
    auto* child = new TestControl();
    auto* kept = new TestControl();
    frame.add(child);
    frame.add(kept);
    frame.createPeer();
    delete child;
    EXPECT_EQ((std::vector<awt::Component*>{kept}), frame.getComponents());
    EXPECT_EQ((std::vector<awt::Component*>{child}), layout.removed);
    settle();
    frame.setLayout(&awt::NullLayout::instance);
}

TEST(ContainerWindows, StylesOfContainersAndGroups) {
    TestFrame frame;
    auto* panel = new TestPanel();
    auto* group = new TestPanel();
    group->setGroup(true);
    frame.add(panel);
    frame.add(group);
    frame.createPeer();
    auto style = [](awt::Component* c) { return GetWindowLongPtrW(c->getHWND(), GWL_STYLE); };
    auto exStyle = [](awt::Component* c) { return GetWindowLongPtrW(c->getHWND(), GWL_EXSTYLE); };
    EXPECT_EQ(WS_CLIPCHILDREN, style(panel) & WS_CLIPCHILDREN);
    EXPECT_EQ(0, style(panel) & WS_GROUP);
    EXPECT_EQ(WS_GROUP, style(group) & WS_GROUP);
    EXPECT_EQ(WS_EX_CONTROLPARENT, exStyle(panel) & WS_EX_CONTROLPARENT);
    EXPECT_TRUE(group->isGroup());
    EXPECT_TRUE(frame.isGroup());
    EXPECT_FALSE(panel->isGroup());
}

TEST(ContainerRouting, NotificationsReachTheChildThatSentThem) {
    TestFrame frame;
    auto* button = new TestControl();
    button->setBounds(40, 40, 80, 25);
    frame.add(button);
    frame.createPeer();
    settle();
    HWND parent = frame.getHWND();
    HWND child = button->getHWND();

    // A click of the real button arrives as BN_CLICKED through WM_COMMAND.
    button->handleCommands = true;
    SendMessageW(child, BM_CLICK, 0, 0);
    EXPECT_EQ(static_cast<UINT>(BN_CLICKED), button->lastCode);
    EXPECT_EQ(1234, SendMessageW(parent, WM_COMMAND, MAKEWPARAM(77, EN_CHANGE),
                                 reinterpret_cast<LPARAM>(child)));
    EXPECT_EQ(static_cast<UINT>(EN_CHANGE), button->lastCode);
    EXPECT_EQ(MAKEWPARAM(77, EN_CHANGE), button->lastWParam);

    NMHDR header{child, 5, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(4321, SendMessageW(parent, WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ(static_cast<UINT>(NM_CLICK), button->lastCode);

    SendMessageW(parent, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 321), reinterpret_cast<LPARAM>(child));
    EXPECT_EQ(321, button->lastPosition);
    EXPECT_EQ(MAKEWPARAM(SB_THUMBTRACK, 321), button->lastWParam);

    // Unhandled, or from a window that is no component, the default handling answers.
    button->handleCommands = false;
    EXPECT_EQ(0, SendMessageW(parent, WM_COMMAND, MAKEWPARAM(1, 2), reinterpret_cast<LPARAM>(child)));
    HWND plain = CreateWindowExW(0, L"BUTTON", L"plain", WS_CHILD, 0, 0, 5, 5, parent, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(0, SendMessageW(parent, WM_COMMAND, MAKEWPARAM(1, 2), reinterpret_cast<LPARAM>(plain)));
    NMHDR plainHeader{plain, 1, 2};
    EXPECT_EQ(0, SendMessageW(parent, WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&plainHeader)));
    DestroyWindow(plain);
}

TEST(ContainerRouting, SettingChangesReachEveryChildWindow) {
    TestFrame frame;
    auto* first = new TestControl(L"STATIC", 0);
    auto* second = new TestControl(L"EDIT", 0);
    frame.add(first);
    frame.add(second);
    frame.createPeer();
    first->received.clear();
    second->received.clear();
    SendMessageW(frame.getHWND(), WM_SETTINGCHANGE, 0, 0);
    SendMessageW(frame.getHWND(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ((std::vector<UINT>{WM_SETTINGCHANGE, WM_SYSCOLORCHANGE}), first->received);
    EXPECT_EQ((std::vector<UINT>{WM_SETTINGCHANGE, WM_SYSCOLORCHANGE}), second->received);
}

TEST(ContainerRouting, ControlColoursOfTheChild) {
    TestFrame frame;
    auto* label = new TestControl(L"STATIC", 0, L"label");
    label->setBounds(40, 40, 80, 20);
    frame.add(label);
    frame.createPeer();
    HWND parent = frame.getHWND();
    HWND child = label->getHWND();
    HDC dc = GetDC(child);

    // Neither colour: the system's answer.
    LRESULT expected = DefWindowProcW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                      reinterpret_cast<LPARAM>(child));
    EXPECT_EQ(expected, SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(child)));

    // Only a text colour: the default brush with that colour.
    label->setForeground(RGB(200, 0, 0));
    EXPECT_EQ(expected, SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(child)));
    EXPECT_EQ(RGB(200, 0, 0), GetTextColor(dc));

    // A background: the component's own brush of that colour, made once.
    label->setBackground(RGB(0, 0, 250));
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
        parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child)));
    ASSERT_NE(nullptr, brush);
    LOGBRUSH info{};
    GetObjectW(brush, sizeof(info), &info);
    EXPECT_EQ(RGB(0, 0, 250), info.lbColor);
    EXPECT_EQ(RGB(0, 0, 250), GetBkColor(dc));
    EXPECT_EQ(RGB(200, 0, 0), GetTextColor(dc));
    EXPECT_EQ(reinterpret_cast<LRESULT>(brush),
              SendMessageW(parent, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(child)));

    // A new colour gets a new brush.
    label->setBackground(RGB(0, 250, 0));
    auto green = reinterpret_cast<HBRUSH>(SendMessageW(
        parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child)));
    GetObjectW(green, sizeof(info), &info);
    EXPECT_EQ(RGB(0, 250, 0), info.lbColor);
    ReleaseDC(child, dc);
}

TEST(ContainerTree, EnablingAndRepaintingFollowTheChildren) {
    awt::Toolkit* tk = toolkit();
    TestFrame frame;
    auto* panel = new TestPanel();
    panel->setBounds(40, 40, 200, 100);
    auto* inside = new TestControl();
    inside->setBounds(10, 10, 50, 20);
    auto* outside = new TestControl();
    outside->setBounds(100, 60, 50, 20);
    panel->add(inside);
    panel->add(outside);
    frame.add(panel);
    frame.createPeer();
    settle();

    frame.setTreeEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(inside->getHWND()));
    EXPECT_FALSE(panel->isEnabled());
    EXPECT_FALSE(frame.isEnabled());
    frame.setTreeEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(outside->getHWND()));

    // A repaint of the panel reaches the children its rectangle touches, in their coordinates.
    settle();
    panel->repaint(0, 0, 40, 40);
    auto& queue = tk->getRepaintQueue();
    EXPECT_NE(queue.end(), std::find(queue.begin(), queue.end(), panel));
    EXPECT_NE(queue.end(), std::find(queue.begin(), queue.end(), inside));
    EXPECT_EQ(queue.end(), std::find(queue.begin(), queue.end(), outside));
    RECT update;
    ASSERT_TRUE(GetUpdateRect(inside->getHWND(), &update, FALSE));
    EXPECT_EQ((RECT{0, 0, 30, 20}).right, update.right);
    EXPECT_EQ(20, update.bottom);
    settle();
}

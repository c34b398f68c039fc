#include "awt/KeyStroke.h"
#include "awt/RecursiveListener.h"
#include "WindowTestComponents.h"

using awt::Component;
using awt::KeyStroke;

namespace {

// Notes the order of attach and detach calls.
struct RecordingRecursiveListener : awt::RecursiveListener {
    std::vector<Component*> attached, detached;
    void componentAttached(Component* c) override { attached.push_back(c); }
    void componentDetached(Component* c) override { detached.push_back(c); }
};

TEST(RecursiveListener, FollowsTheWholeTreeParentsFirstAndLaterChanges) {
    auto root = std::make_unique<TestPanel>();
    auto* inner = new TestPanel();
    auto* leaf = new TestControl();
    auto* sibling = new TestControl();
    root->add(inner);
    inner->add(leaf);
    root->add(sibling);

    RecordingRecursiveListener listener;
    listener.attach(root.get());
    EXPECT_EQ((std::vector<Component*>{root.get(), inner, leaf, sibling}), listener.attached);
    auto* late = new TestControl();
    inner->add(late);
    EXPECT_EQ(late, listener.attached.back());
    inner->remove(inner->indexOf(leaf), leaf);
    EXPECT_EQ((std::vector<Component*>{leaf}), listener.detached);
    delete leaf;

    listener.detach(root.get());
    EXPECT_EQ((std::vector<Component*>{leaf, root.get(), inner, late, sibling}), listener.detached);
    inner->add(new TestControl());
    EXPECT_EQ(5u, listener.attached.size()) << "detached from the tree: later additions are not reported";
}

// Counts presses of other than modifier keys and keeps the last one; consumes them when told to.
struct KeyCounter : awt::KeyListener {
    explicit KeyCounter(bool consume = true) : consume(consume) {}
    bool consume;
    int pressed = 0;
    awt::KeyEvent last;
    void keyPressed(awt::KeyEvent* event) override {
        if (event->keyCode != VK_SHIFT && event->keyCode != VK_MENU) {
            ++pressed;
            last = *event;
            event->consumed = consume;
        }
    }
    void keyReleased(awt::KeyEvent*) override {}
    void keyTyped(awt::KeyEvent*) override {}
};

// Types the key with the modifier keys held and lets the loop handle the input.
void type(WORD key, std::initializer_list<WORD> modifiers = {}) {
    press(key, modifiers);
    runFor(100);
}

// One scene for the focus owner, the key accelerators of the active window and the mouse-over
// component, through a dialog in front and components that come and go.
TEST(Window, FocusOwnerKeyAcceleratorsAndMouseOverFollowTheActiveWindowAndTheTree) {
    // A frame with two buttons and a panel in a row, shown in front.
    auto frame = std::make_unique<Frame>(nullptr, L"focus owner");
    awt::GridLayout grid;
    grid.setRowsAndCols(1, 3);
    frame->setLayout(&grid);
    auto* first = new TestControl(L"BUTTON", WS_TABSTOP, L"first");
    auto* second = new TestControl(L"BUTTON", WS_TABSTOP, L"second");
    auto* panel = new TestPanel();
    frame->add(first);
    frame->add(second);
    frame->add(panel);
    frame->setBounds(40, 40, 360, 120);
    frame->setVisible(true);
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == frame->getHWND(); }));
    auto focus = [&](Component* c) {
        c->requestFocus();
        ASSERT_TRUE(waitUntil([&] { return GetFocus() == c->getHWND(); }));
        EXPECT_EQ(c, frame->getFocusOwner());
    };
    auto enter = [](Component* c) { SendMessageW(c->getHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); };
    // A resizable frame has the maximize box, which is the tab-stop bit of a child: with no
    // focus owner it keeps the focus itself.
    EXPECT_TRUE(frame->isFocusable());
    EXPECT_EQ(nullptr, frame->getFocusOwner());
    EXPECT_EQ(frame->getHWND(), GetFocus());

    // F1 is bound on the frame; the focused button notes every key press that reaches it.
    KeyCounter f1, shiftF1, altF1, reachingButton(false);
    first->addKeyListener(&reachingButton);
    frame->addKeyAccelerator(KeyStroke(VK_F1, 0), &f1);
    focus(first);
    frame->addKeyAccelerator(KeyStroke(VK_F1, MOD_SHIFT), &shiftF1);
    frame->addKeyAccelerator(KeyStroke(VK_F1, MOD_ALT), &altF1);
    // Alt+key arrives as WM_SYSKEYDOWN, which accelerators never see.
    const struct { WORD key; std::initializer_list<WORD> modifiers; int f1, shiftF1, reachingButton; } strokes[] = {
        {VK_F1, {}, 1, 0, 0}, {VK_F2, {}, 1, 0, 1}, {VK_F1, {VK_SHIFT}, 1, 1, 1}, {VK_F1, {VK_MENU}, 1, 1, 2}};
    for (const auto& s : strokes) {
        SCOPED_TRACE(s.key);
        type(s.key, s.modifiers);
        EXPECT_EQ((std::vector<int>{s.f1, s.shiftF1, s.reachingButton, 0}),
                  (std::vector<int>{f1.pressed, shiftF1.pressed, reachingButton.pressed, altF1.pressed}));
    }
    EXPECT_EQ(frame.get(), f1.last.source);
    EXPECT_EQ(0u, f1.last.modifiers);
    EXPECT_EQ(static_cast<std::uint32_t>(awt::KeyEvent::SHIFT), shiftF1.last.modifiers);
    // A new binding replaces the old one; a press it does not consume goes on to the control.
    KeyCounter replacement(false);
    frame->addKeyAccelerator(KeyStroke(VK_F1, 0), &replacement);
    type(VK_F1);
    EXPECT_EQ((std::vector<int>{1, 1, 3}), (std::vector<int>{f1.pressed, replacement.pressed, reachingButton.pressed}));

    // A dialog in front passes the focus to its first child, and its own new binding works at
    // once while the frame's do not. Activated again, the frame gives the focus back to the last
    // focused button.
    focus(second);
    auto dialog = std::make_unique<awt::Dialog>(nullptr, L"dialog", false);
    dialog->setLayout(&grid);
    auto* button = new TestControl(L"BUTTON", WS_TABSTOP, L"in dialog");
    dialog->add(button);
    dialog->setSize(200, 100);
    dialog->setVisible(true);
    EXPECT_FALSE(dialog->isFocusable());
    EXPECT_TRUE(waitUntil([&] { return GetFocus() == button->getHWND(); }));
    EXPECT_EQ(button, dialog->getFocusOwner());
    EXPECT_EQ(second, frame->getFocusOwner());
    KeyCounter f3;
    dialog->addKeyAccelerator(KeyStroke(VK_F3, 0), &f3);
    type(VK_F1);
    type(VK_F3);
    EXPECT_EQ((std::vector<int>{1, 1}), (std::vector<int>{replacement.pressed, f3.pressed}));
    frame->toFront();
    EXPECT_TRUE(waitUntil([&] { return GetFocus() == second->getHWND(); }))
        << "activation did not give the focus back to the last focused button";
    type(VK_F1);
    EXPECT_EQ(2, replacement.pressed);

    // A grandchild added later is watched too; one that leaves is no longer the focus owner.
    auto* late = new TestControl(L"BUTTON", WS_TABSTOP, L"late");
    panel->add(late);
    focus(late);
    panel->remove(panel->indexOf(late), late);
    EXPECT_NE(late, frame->getFocusOwner());
    panel->add(late);
    focus(late);

    // Entering a component exits the one the mouse was over; components that leave the tree or
    // are deleted (directly or with their container) are no longer under the mouse or focus owner.
    std::vector<std::wstring> journal;
    Recorder onFirst(&journal, L"first");
    Recorder onSecond(&journal, L"second");
    first->addMouseListener(&onFirst);
    second->addMouseListener(&onSecond);
    enter(first);
    EXPECT_EQ(first, frame->getMouseOverComponent());
    enter(second);
    EXPECT_EQ((std::vector<std::wstring>{L"first:entered", L"first:exited", L"second:entered"}), journal);
    EXPECT_EQ(second, frame->getMouseOverComponent());
    EXPECT_FALSE(first->isMouseInside());

    enter(first);
    delete first;
    EXPECT_EQ(nullptr, frame->getMouseOverComponent());
    EXPECT_EQ(late, frame->getFocusOwner());
    delete panel;
    EXPECT_EQ(nullptr, frame->getFocusOwner()) << "the focus owner went with its container";
    // Activation and mouse entry afterwards reach no deleted component.
    SendMessageW(frame->getHWND(), WM_SETFOCUS, 0, 0);
    enter(second);
    EXPECT_EQ(second, frame->getMouseOverComponent());
    frame->remove(frame->indexOf(second), second);
    EXPECT_EQ(nullptr, frame->getMouseOverComponent()) << "a component that left is not under the mouse";
    delete second;
    runFor(20);
}

TEST(KeyStroke, OrdersByKeyThenModifiersIgnoringTheFlag) {
    KeyStroke a(VK_F1, MOD_SHIFT), b(VK_F1, MOD_SHIFT);
    b.onKeyRelease = 1;
    EXPECT_TRUE(a == b && !(a < b) && !(b < a));
    EXPECT_TRUE(KeyStroke(VK_F1, MOD_ALT | MOD_CONTROL) < KeyStroke(VK_F1, MOD_SHIFT));
    EXPECT_TRUE(KeyStroke(VK_F1, MOD_WIN) < KeyStroke(VK_F2, 0));
    const KeyStroke all = KeyStroke::fromKeyEvent(
        VK_F5, awt::KeyEvent::SHIFT | awt::KeyEvent::CONTROL | awt::KeyEvent::ALT | awt::KeyEvent::WINDOWS);
    EXPECT_EQ(static_cast<std::uint32_t>(VK_F5), all.keyCode);
    EXPECT_EQ(static_cast<std::uint32_t>(MOD_SHIFT | MOD_CONTROL | MOD_ALT | MOD_WIN), all.modifiers);
    EXPECT_EQ(static_cast<std::uint32_t>(MOD_ALT), KeyStroke::fromKeyEvent(VK_F5, awt::KeyEvent::ALT).modifiers);
}

}  // namespace

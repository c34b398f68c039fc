#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include <windows.h>

#include "awt/Dialog.h"
#include "awt/Frame.h"
#include "awt/GridLayout.h"
#include "awt/KeyStroke.h"
#include "awt/Listener.h"
#include "awt/RecursiveListener.h"
#include "WindowTestComponents.h"

using awt::Component;
using awt::Frame;
using awt::KeyStroke;

namespace {

// Records the order of attach and detach calls.
class RecordingRecursiveListener : public awt::RecursiveListener {
public:
    std::vector<Component*> attached;
    std::vector<Component*> detached;
    void componentAttached(Component* c) override { attached.push_back(c); }
    void componentDetached(Component* c) override { detached.push_back(c); }
};

TEST(RecursiveListener, FollowsTheWholeTreeParentsFirstAndLaterChanges) {
    auto root = std::make_unique<InsetContainer>();
    auto* inner = new InsetContainer();
    root->add(inner);
    FixedComponent* leaf = inner->addFixed(1, 1);
    FixedComponent* sibling = root->addFixed(1, 1);

    RecordingRecursiveListener listener;
    listener.attach(root.get());
    EXPECT_EQ((std::vector<Component*>{root.get(), inner, leaf, sibling}), listener.attached);
    FixedComponent* late = inner->addFixed(2, 2);
    EXPECT_EQ(late, listener.attached.back());
    inner->remove(inner->indexOf(leaf), leaf);
    EXPECT_EQ((std::vector<Component*>{leaf}), listener.detached);
    delete leaf;

    listener.detach(root.get());
    EXPECT_EQ((std::vector<Component*>{leaf, root.get(), inner, late, sibling}), listener.detached);
    inner->addFixed(3, 3);
    EXPECT_EQ(5u, listener.attached.size()) << "detached from the tree: later additions are not reported";
}

// A frame with two buttons and a panel in a row, shown in front.
struct FocusTest : ::testing::Test {
    std::unique_ptr<Frame> frame = std::make_unique<Frame>(nullptr, L"focus owner");
    awt::GridLayout grid;
    TestControl* first = new TestControl(L"BUTTON", WS_TABSTOP, L"first");
    TestControl* second = new TestControl(L"BUTTON", WS_TABSTOP, L"second");
    InsetContainer* panel = new InsetContainer();

    void SetUp() override {
        grid.setRowsAndCols(1, 3);
        frame->setLayout(&grid);
        frame->add(first);
        frame->add(second);
        frame->add(panel);
        frame->setBounds(40, 40, 360, 120);
        frame->setVisible(true);
        ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == frame->getHWND(); }));
    }
    void focus(Component* c) {
        c->requestFocus();
        ASSERT_TRUE(waitUntil([&] { return GetFocus() == c->getHWND(); }));
        EXPECT_EQ(c, frame->getFocusOwner());
    }
};

TEST_F(FocusTest, TheFocusReturnsToTheLastFocusedDescendantAndLeaversAreForgotten) {
    // A resizable frame has the maximize box, which is the tab-stop bit of a child: with no
    // focus owner it keeps the focus itself.
    EXPECT_TRUE(frame->isFocusable());
    EXPECT_EQ(nullptr, frame->getFocusOwner());
    EXPECT_EQ(frame->getHWND(), GetFocus());
    focus(second);
    auto other = std::make_unique<Frame>(nullptr, L"elsewhere");
    other->setVisible(true);
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == other->getHWND(); }));
    EXPECT_EQ(second, frame->getFocusOwner());
    frame->toFront();
    EXPECT_TRUE(waitUntil([&] { return GetFocus() == second->getHWND(); }))
        << "activation did not give the focus back to the last focused button";

    // A grandchild added later is watched too; one that leaves is no longer the focus owner.
    auto* late = new TestControl(L"BUTTON", WS_TABSTOP, L"late");
    panel->add(late);
    focus(late);
    panel->remove(panel->indexOf(late), late);
    EXPECT_NE(late, frame->getFocusOwner());
    delete late;
    runFor(20);
}

TEST_F(FocusTest, ADialogPassesTheFocusToItsFirstChild) {
    auto dialog = std::make_unique<awt::Dialog>(nullptr, L"dialog", false);
    awt::GridLayout dialogGrid;
    dialog->setLayout(&dialogGrid);
    auto* button = new TestControl(L"BUTTON", WS_TABSTOP, L"in dialog");
    dialog->add(button);
    dialog->setSize(200, 100);
    dialog->setVisible(true);
    EXPECT_FALSE(dialog->isFocusable());
    EXPECT_TRUE(waitUntil([&] { return GetFocus() == button->getHWND(); }));
    EXPECT_EQ(button, dialog->getFocusOwner());
}

TEST_F(FocusTest, EnteringAComponentExitsTheOneTheMouseWasOver) {
    std::vector<std::wstring> journal;
    Recorder onFirst(&journal, L"first");
    Recorder onSecond(&journal, L"second");
    first->addMouseListener(&onFirst);
    second->addMouseListener(&onSecond);
    SendMessageW(first->getHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(first, frame->getMouseOverComponent());
    SendMessageW(second->getHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ((std::vector<std::wstring>{L"first:entered", L"first:exited", L"second:entered"}), journal);
    EXPECT_EQ(second, frame->getMouseOverComponent());
    EXPECT_FALSE(first->isMouseInside());
    frame->remove(frame->indexOf(second), second);
    EXPECT_EQ(nullptr, frame->getMouseOverComponent()) << "a component that left is not under the mouse";
    delete second;
    runFor(20);
}

TEST_F(FocusTest, ComponentsDeletedDirectlyAreForgottenWithTheirDescendants) {
    auto* late = new TestControl(L"BUTTON", WS_TABSTOP, L"late");
    panel->add(late);
    focus(late);
    SendMessageW(first->getHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(first, frame->getMouseOverComponent());
    delete first;
    EXPECT_EQ(nullptr, frame->getMouseOverComponent());
    EXPECT_EQ(late, frame->getFocusOwner());
    delete panel;
    EXPECT_EQ(nullptr, frame->getFocusOwner()) << "the focus owner went with its container";
    // Activation and mouse entry afterwards reach no deleted component.
    SendMessageW(frame->getHWND(), WM_SETFOCUS, 0, 0);
    SendMessageW(second->getHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(second, frame->getMouseOverComponent());
    runFor(20);
}

// Counts presses of other than modifier keys, remembers the last one and consumes them when told to.
class CountingKeyListener : public awt::KeyListener {
public:
    explicit CountingKeyListener(bool consume = true) : consume(consume) {}
    int pressed = 0;
    std::uint32_t lastModifiers = 0;
    Component* lastSource = nullptr;

    void keyPressed(awt::KeyEvent* event) override {
        if (event->keyCode == VK_SHIFT || event->keyCode == VK_MENU) {
            return;
        }
        ++pressed;
        lastModifiers = event->modifiers;
        lastSource = event->source;
        event->consumed = consume;
    }
    void keyReleased(awt::KeyEvent*) override {}
    void keyTyped(awt::KeyEvent*) override {}

private:
    bool consume;
};

// Types the key with the modifier keys held and lets the loop handle the input.
void type(WORD key, std::initializer_list<WORD> modifiers = {}) {
    press(key, modifiers);
    runFor(100);
}

// F1 is bound on the frame; the focused button notes every key press that reaches it.
TEST_F(FocusTest, KeyAcceleratorsOfTheActiveWindowFireOnTheirStrokeOnly) {
    CountingKeyListener f1;
    CountingKeyListener reachingButton(false);
    first->addKeyListener(&reachingButton);
    frame->addKeyAccelerator(KeyStroke(VK_F1, 0), &f1);
    focus(first);
    CountingKeyListener shiftF1;
    CountingKeyListener altF1;
    frame->addKeyAccelerator(KeyStroke(VK_F1, MOD_SHIFT), &shiftF1);
    frame->addKeyAccelerator(KeyStroke(VK_F1, MOD_ALT), &altF1);
    // Alt+key arrives as WM_SYSKEYDOWN, which accelerators never see.
    const struct {
        WORD key;
        std::initializer_list<WORD> modifiers;
        int f1;
        int shiftF1;
        int reachingButton;
    } strokes[] = {{VK_F1, {}, 1, 0, 0}, {VK_F2, {}, 1, 0, 1}, {VK_F1, {VK_SHIFT}, 1, 1, 1},
                   {VK_F1, {VK_MENU}, 1, 1, 2}};
    for (const auto& s : strokes) {
        SCOPED_TRACE(s.key);
        type(s.key, s.modifiers);
        EXPECT_EQ(s.f1, f1.pressed);
        EXPECT_EQ(s.shiftF1, shiftF1.pressed);
        EXPECT_EQ(s.reachingButton, reachingButton.pressed);
    }
    EXPECT_EQ(frame.get(), f1.lastSource);
    EXPECT_EQ(0u, f1.lastModifiers);
    EXPECT_EQ(static_cast<std::uint32_t>(awt::KeyEvent::SHIFT), shiftF1.lastModifiers);
    EXPECT_EQ(0, altF1.pressed);

    // A new binding replaces the old one; a press it does not consume goes on to the control.
    CountingKeyListener replacement(false);
    frame->addKeyAccelerator(KeyStroke(VK_F1, 0), &replacement);
    type(VK_F1);
    EXPECT_EQ(1, f1.pressed);
    EXPECT_EQ(1, replacement.pressed);
    EXPECT_EQ(3, reachingButton.pressed);

    // Another window in front: its own new binding works at once, the frame's do not.
    auto other = std::make_unique<Frame>(nullptr, L"other");
    other->setVisible(true);
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == other->getHWND(); }));
    CountingKeyListener f3;
    other->addKeyAccelerator(KeyStroke(VK_F3, 0), &f3);
    type(VK_F1);
    type(VK_F3);
    EXPECT_EQ(1, replacement.pressed);
    EXPECT_EQ(1, f3.pressed);
    frame->toFront();
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == frame->getHWND(); }));
    type(VK_F1);
    EXPECT_EQ(2, replacement.pressed);
}

TEST(KeyStroke, OrdersByKeyThenModifiersIgnoringTheFlag) {
    KeyStroke a(VK_F1, MOD_SHIFT);
    KeyStroke b(VK_F1, MOD_SHIFT);
    b.onKeyRelease = 1;
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a < b || b < a);
    EXPECT_TRUE(KeyStroke(VK_F1, MOD_ALT | MOD_CONTROL) < KeyStroke(VK_F1, MOD_SHIFT));
    EXPECT_TRUE(KeyStroke(VK_F1, MOD_WIN) < KeyStroke(VK_F2, 0));
    const KeyStroke all = KeyStroke::fromKeyEvent(
        VK_F5, awt::KeyEvent::SHIFT | awt::KeyEvent::CONTROL | awt::KeyEvent::ALT | awt::KeyEvent::WINDOWS);
    EXPECT_EQ(static_cast<std::uint32_t>(VK_F5), all.keyCode);
    EXPECT_EQ(static_cast<std::uint32_t>(MOD_SHIFT | MOD_CONTROL | MOD_ALT | MOD_WIN), all.modifiers);
    EXPECT_EQ(static_cast<std::uint32_t>(MOD_ALT), KeyStroke::fromKeyEvent(VK_F5, awt::KeyEvent::ALT).modifiers);
}

}  // namespace

#include <gtest/gtest.h>

#include <memory>

#include <windows.h>

#include "awt/Container.h"
#include "awt/Dialog.h"
#include "awt/Frame.h"
#include "awt/GridLayout.h"
#include "awt/Listener.h"
#include "awt/RecursiveListener.h"
#include "LayoutTestComponents.h"
#include "WindowTestSupport.h"

using awt::Frame;

namespace {

// Records the order of attach and detach calls.
class RecordingRecursiveListener : public awt::RecursiveListener {
public:
    std::vector<awt::Component*> attached;
    std::vector<awt::Component*> detached;
    void componentAttached(awt::Component* c) override { attached.push_back(c); }
    void componentDetached(awt::Component* c) override { detached.push_back(c); }
};

TEST(RecursiveListener, FollowsTheWholeTreeParentsFirstAndLaterChanges) {
    auto root = std::make_unique<InsetContainer>();
    auto* inner = new InsetContainer();
    root->add(inner);
    FixedComponent* leaf = inner->addFixed(1, 1);
    FixedComponent* sibling = root->addFixed(1, 1);

    RecordingRecursiveListener listener;
    listener.attach(root.get());
    EXPECT_EQ((std::vector<awt::Component*>{root.get(), inner, leaf, sibling}), listener.attached);

    FixedComponent* late = inner->addFixed(2, 2);
    EXPECT_EQ(late, listener.attached.back());

    inner->remove(inner->indexOf(leaf), leaf);
    EXPECT_EQ((std::vector<awt::Component*>{leaf}), listener.detached);
    delete leaf;

    listener.detach(root.get());
    EXPECT_EQ((std::vector<awt::Component*>{leaf, root.get(), inner, late, sibling}), listener.detached);
    // Detached from the tree: later additions are not reported.
    inner->addFixed(3, 3);
    EXPECT_EQ(5u, listener.attached.size());
}

struct FocusTrackingTest : ::testing::Test {
    std::unique_ptr<Frame> frame = std::make_unique<Frame>(nullptr, L"focus owner");
    awt::GridLayout grid;
    TestButton* first = new TestButton(L"first", nullptr);
    TestButton* second = new TestButton(L"second", nullptr);
    InsetContainer* panel = new InsetContainer();

    void SetUp() override {
        grid.setRowsAndCols(1, 3);
        frame->setLayout(&grid);
        frame->add(first);
        frame->add(second);
        frame->add(panel);
        frame->setBounds(40, 40, 360, 120);
        frame->setVisible(true);
        ASSERT_TRUE(runUntil([&] { return GetForegroundWindow() == frame->getHWND(); }));
    }
};

TEST_F(FocusTrackingTest, TheFocusReturnsToTheLastFocusedDescendant) {
    second->requestFocus();
    ASSERT_TRUE(runUntil([&] { return GetFocus() == second->getHWND(); }));
    EXPECT_EQ(second, frame->getFocusOwner());

    auto other = std::make_unique<Frame>(nullptr, L"elsewhere");
    other->setVisible(true);
    ASSERT_TRUE(runUntil([&] { return GetForegroundWindow() == other->getHWND(); }));
    EXPECT_EQ(second, frame->getFocusOwner());

    frame->toFront();
    EXPECT_TRUE(runUntil([&] { return GetFocus() == second->getHWND(); }))
        << "activation did not give the focus back to the last focused button";
}

TEST_F(FocusTrackingTest, LateGrandchildrenAreMonitoredAndLeaversForgotten) {
    auto* late = new TestButton(L"late", nullptr);
    panel->add(late);
    late->requestFocus();
    ASSERT_TRUE(runUntil([&] { return GetFocus() == late->getHWND(); }));
    EXPECT_EQ(late, frame->getFocusOwner());

    panel->remove(panel->indexOf(late), late);
    // The system moves the focus off the destroyed button, to its parent at most.
    EXPECT_NE(late, frame->getFocusOwner());
    delete late;
    pumpFor(20);
}

TEST_F(FocusTrackingTest, AResizableFrameKeepsTheFocusADialogPassesIt) {
    // The maximize box of a resizable frame is the tab-stop bit of a child.
    EXPECT_TRUE(frame->isFocusable());
    EXPECT_EQ(nullptr, frame->getFocusOwner());
    EXPECT_EQ(frame->getHWND(), GetFocus());

    auto dialog = std::make_unique<awt::Dialog>(nullptr, L"dialog", false);
    awt::GridLayout dialogGrid;
    dialog->setLayout(&dialogGrid);
    auto* button = new TestButton(L"in dialog", nullptr);
    dialog->add(button);
    dialog->setSize(200, 100);
    dialog->setVisible(true);
    EXPECT_FALSE(dialog->isFocusable());
    EXPECT_TRUE(runUntil([&] { return GetFocus() == button->getHWND(); }));
    EXPECT_EQ(button, dialog->getFocusOwner());
}

TEST_F(FocusTrackingTest, ComponentsDeletedDirectlyAreForgottenWithTheirDescendants) {
    auto* late = new TestButton(L"late", nullptr);
    panel->add(late);
    late->requestFocus();
    ASSERT_TRUE(runUntil([&] { return GetFocus() == late->getHWND(); }));
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
    pumpFor(20);
}

// Records mouse events per component.
class MouseRecorder : public awt::MouseListener {
public:
    int entered = 0;
    int exited = 0;
    void mouseEntered(awt::MouseEvent*) override { ++entered; }
    void mouseExited(awt::MouseEvent*) override { ++exited; }
    void mousePressed(awt::MouseEvent*) override {}
    void mouseReleased(awt::MouseEvent*) override {}
    void mouseDoubleClicked(awt::MouseEvent*) override {}
};

TEST_F(FocusTrackingTest, EnteringAComponentExitsTheOneTheMouseWasOver) {
    MouseRecorder onFirst;
    MouseRecorder onSecond;
    first->addMouseListener(&onFirst);
    second->addMouseListener(&onSecond);

    SendMessageW(first->getHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(1, onFirst.entered);
    EXPECT_EQ(first, frame->getMouseOverComponent());

    SendMessageW(second->getHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(1, onSecond.entered);
    EXPECT_EQ(1, onFirst.exited) << "the window did not tell the first button the mouse left";
    EXPECT_EQ(second, frame->getMouseOverComponent());
    EXPECT_FALSE(first->isMouseInside());

    // A component that leaves the window is no longer the one under the mouse.
    frame->remove(frame->indexOf(second), second);
    EXPECT_EQ(nullptr, frame->getMouseOverComponent());
    delete second;
    pumpFor(20);
}

}  // namespace

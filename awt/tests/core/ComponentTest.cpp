#include "awt/tests/support/TestSupport.h"

using namespace test;

namespace {

bool queued(const std::deque<awt::Component*>& queue, const awt::Component* component) {
    return std::find(queue.begin(), queue.end(), component) != queue.end();
}

} // namespace

TEST(Component, PositionsInTheParentsWindowCoordinatesShowingAndFocus) {
    TestFrame frame(120, 90, 400, 300);
    auto* panel = place(&frame, new TestPanel(WS_CAPTION | WS_BORDER), 30, 40, 200, 150);
    auto* control = place(panel, new TestControl(), 7, 8, 60, 25);
    frame.createPeer();
    settle();
    EXPECT_EQ((awt::Rectangle{120, 90, 400, 300}), screenBounds(&frame));
    EXPECT_EQ((awt::Rectangle{150, 130, 200, 150}), screenBounds(panel));
    EXPECT_EQ((awt::Rectangle{157, 138, 60, 25}), screenBounds(control));

    // The frames measured from the live windows agree with what their styles give.
    EXPECT_EQ(frame.getStyleInsets(), frame.getFrameInsets());
    EXPECT_EQ(panel->getStyleInsets(), panel->getFrameInsets());
    const awt::Insets insets = panel->getFrameInsets();
    EXPECT_GT(insets.top, insets.left);

    // Native moves are read back; moves through the component land natively.
    MoveWindow(control->getHWND(), 3, 4, 60, 25, FALSE);
    EXPECT_EQ((awt::Point{3 + insets.left, 4 + insets.top}), control->getLocation());
    control->setLocation(50, 60);
    EXPECT_EQ((awt::Rectangle{200, 190, 60, 25}), screenBounds(control));
    EXPECT_EQ((awt::Point{11, 12}), panel->screenToWindow(161, 142));
    MoveWindow(frame.getHWND(), 160, 130, 320, 210, TRUE);
    EXPECT_EQ((awt::Rectangle{160, 130, 320, 210}), frame.getBounds());

    // Showing needs the window uncovered at its client origin: a sibling over it hides it.
    EXPECT_TRUE(control->isShowing());
    auto* cover = place(panel, new TestControl(), 45, 55, 30, 30);
    SetWindowPos(cover->getHWND(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_FALSE(control->isShowing());
    cover->setVisible(false);
    EXPECT_TRUE(control->isShowing());

    // A focused window that is no component.
    HWND plain = CreateWindowExW(0, L"BUTTON", L"plain", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, frame.getHWND(),
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    SetFocus(plain);
    EXPECT_EQ(nullptr, awt::Component::getFocusedComponent());
    DestroyWindow(plain);
}

TEST(Component, PropertiesAreKeptWithoutAPeerAndAppliedToEveryNewOne) {
    TestControl alone;
    alone.setBounds(1, 1, 20, 20);
    alone.invalidate();
    alone.repaint(0, 0, 10, 10);
    alone.setForeground(RGB(1, 2, 3));
    EXPECT_TRUE(toolkit()->getInvalidQueue().empty() && toolkit()->getRepaintQueue().empty());
    EXPECT_EQ(RGB(1, 2, 3), alone.getForeground());
    EXPECT_EQ((awt::Insets{}), alone.getFrameInsets());

    TestFrame frame;
    auto* hidden = place(&frame, new TestControl(), 1, 2, 30, 40);
    auto* disabled = place(&frame, new TestControl(), 0, 0, 10, 10);
    hidden->setVisible(false);
    disabled->setEnabled(false);
    frame.createPeer();
    EXPECT_EQ(WS_CHILD | WS_CLIPSIBLINGS,
              GetWindowLongPtrW(hidden->getHWND(), GWL_STYLE) & (WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE));
    EXPECT_EQ(WS_EX_NOPARENTNOTIFY, GetWindowLongPtrW(disabled->getHWND(), GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY);
    EXPECT_EQ(reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), disabled->getFont());
    disabled->setEnabled(true);
    hidden->setVisible(true);
    hidden->setText(L"new text");
    EXPECT_TRUE(IsWindowEnabled(disabled->getHWND()) && IsWindowVisible(hidden->getHWND()));
    EXPECT_EQ(L"new text", windowText(hidden->getHWND()));
    disabled->setEnabled(false);
    frame.destroyPeer();
    frame.createPeer();
    EXPECT_FALSE(IsWindowEnabled(disabled->getHWND()));
    EXPECT_EQ((awt::Rectangle{1, 2, 30, 40}), hidden->getBounds());

    // Style functions change the live window.
    auto* label = place(&frame, new TestControl(L"STATIC", WS_BORDER), 5, 5, 40, 20);
    EXPECT_EQ((awt::Insets{1, 1, 1, 1}), label->getFrameInsets());
    EXPECT_FALSE(label->isFocusable());
    label->addStyle(WS_TABSTOP | WS_GROUP);
    EXPECT_TRUE(label->isFocusable());
    label->removeStyle(WS_GROUP);
    label->replaceStyle(SS_TYPEMASK, SS_RIGHT);
    EXPECT_EQ(static_cast<DWORD>(WS_TABSTOP | SS_RIGHT), label->getWindowStyle() & (WS_GROUP | WS_TABSTOP | SS_TYPEMASK));
}

TEST(Component, ChangesQueueValidationAndRepaintOnce) {
    awt::Toolkit* tk = toolkit();
    TestFrame frame;
    auto* control = place(&frame, new TestControl(), 10, 10, 50, 20);
    frame.createPeer();
    settle();
    control->validations = control->updates = 0;
    control->messages.clear();
    control->setSize(50, 20);
    EXPECT_FALSE(control->received(WM_WINDOWPOSCHANGED) || queued(tk->getInvalidQueue(), control));

    control->setSize(70, 30);
    EXPECT_TRUE(queued(tk->getInvalidQueue(), control) && queued(tk->getRepaintQueue(), control));
    EXPECT_FALSE(queued(tk->getRepaintQueue(), &frame)) << "growing leaves the parent alone";
    RECT update;
    EXPECT_TRUE(GetUpdateRect(control->getHWND(), &update, FALSE));
    tk->processPending(false);
    EXPECT_EQ((std::vector<int>{1, 1}), (std::vector<int>{control->validations, control->updates}));
    EXPECT_FALSE(GetUpdateRect(control->getHWND(), &update, FALSE));

    // Shrinking repaints the strip of the parent that the component uncovered.
    control->setSize(40, 30);
    ASSERT_TRUE(queued(tk->getRepaintQueue(), &frame) && GetUpdateRect(frame.getHWND(), &update, FALSE));
    const awt::Insets insets = frame.getFrameInsets();
    EXPECT_EQ((std::vector<LONG>{10 + 40 - insets.left, 10 + 70 - insets.left}), (std::vector<LONG>{update.left, update.right}));
    settle();
    SetWindowPos(control->getHWND(), nullptr, 0, 0, 90, 35, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ((awt::Dimension{90, 35}), control->getSize());
    EXPECT_TRUE(queued(tk->getInvalidQueue(), control));
    settle();

    // Hidden components ignore repaint and invalidate; hiding invalidates the parent.
    control->setVisible(false);
    EXPECT_TRUE(queued(tk->getInvalidQueue(), &frame));
    settle();
    control->repaint(0, 0, 5, 5);
    control->invalidate();
    EXPECT_FALSE(queued(tk->getInvalidQueue(), control) || queued(tk->getRepaintQueue(), control));
}

#include "awt/AWTException.h"

#include "TestSupport.h"

using namespace test;

namespace {

RECT windowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool received(const TestControl& control, UINT message) {
    return std::find(control.received.begin(), control.received.end(), message) !=
           control.received.end();
}

bool queued(const std::deque<awt::Component*>& queue, const awt::Component* component) {
    return std::find(queue.begin(), queue.end(), component) != queue.end();
}

} // namespace

TEST(ComponentGeometry, ChildPositionIsRelativeToTheParentWindowRectangle) {
    TestFrame frame(120, 90, 400, 300);
    auto* panel = new TestPanel(WS_CAPTION | WS_BORDER);
    panel->setBounds(30, 40, 200, 150);
    auto* control = new TestControl();
    control->setBounds(7, 8, 60, 25);
    panel->add(control);
    frame.add(panel);
    frame.createPeer();
    settle();

    RECT frameRect = windowRect(frame.getHWND());
    RECT panelRect = windowRect(panel->getHWND());
    RECT controlRect = windowRect(control->getHWND());
    EXPECT_EQ(frameRect.left + 30, panelRect.left);
    EXPECT_EQ(frameRect.top + 40, panelRect.top);
    EXPECT_EQ(panelRect.left + 7, controlRect.left);
    EXPECT_EQ(panelRect.top + 8, controlRect.top);
    EXPECT_EQ(60, controlRect.right - controlRect.left);
    EXPECT_EQ(25, controlRect.bottom - controlRect.top);

    // The frames measured from the live windows agree with what their styles give.
    EXPECT_EQ(frame.getStyleInsets(), frame.getFrameInsets());
    EXPECT_EQ(panel->getStyleInsets(), panel->getFrameInsets());
    EXPECT_GT(panel->getFrameInsets().top, panel->getFrameInsets().left);
    EXPECT_GT(frame.getFrameInsets().top, 0);

    // A move made natively is read back in the parent's window coordinates.
    awt::Insets panelInsets = panel->getFrameInsets();
    MoveWindow(control->getHWND(), 3, 4, 60, 25, FALSE);
    EXPECT_EQ((awt::Point{3 + panelInsets.left, 4 + panelInsets.top}), control->getLocation());

    // And a move through the component lands there natively.
    control->setLocation(50, 60);
    controlRect = windowRect(control->getHWND());
    EXPECT_EQ(panelRect.left + 50, controlRect.left);
    EXPECT_EQ(panelRect.top + 60, controlRect.top);

    awt::Point inside = panel->screenToWindow(panelRect.left + 11, panelRect.top + 12);
    EXPECT_EQ((awt::Point{11, 12}), inside);
}

TEST(ComponentGeometry, TopLevelPositionIsOnTheScreen) {
    TestFrame frame(150, 110, 300, 200);
    frame.createPeer();
    RECT rect = windowRect(frame.getHWND());
    EXPECT_EQ(150, rect.left);
    EXPECT_EQ(110, rect.top);
    MoveWindow(frame.getHWND(), 160, 130, 320, 210, TRUE);
    EXPECT_EQ((awt::Point{160, 130}), frame.getLocation());
    EXPECT_EQ((awt::Dimension{320, 210}), frame.getSize());
}

TEST(ComponentProperties, StoredBeforeThePeerAndAppliedAtCreation) {
    TestFrame frame;
    auto* hidden = new TestControl();
    hidden->setVisible(false);
    hidden->setBounds(1, 2, 30, 40);
    auto* disabled = new TestControl();
    disabled->setEnabled(false);
    frame.add(hidden);
    frame.add(disabled);
    EXPECT_EQ(nullptr, hidden->getHWND());
    EXPECT_EQ((awt::Rectangle{1, 2, 30, 40}), hidden->getBounds());
    frame.createPeer();

    DWORD hiddenStyle = static_cast<DWORD>(GetWindowLongPtrW(hidden->getHWND(), GWL_STYLE));
    EXPECT_EQ(0u, hiddenStyle & WS_VISIBLE);
    EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_CLIPSIBLINGS), hiddenStyle & (WS_CHILD | WS_CLIPSIBLINGS));
    EXPECT_FALSE(IsWindowEnabled(disabled->getHWND()));
    EXPECT_TRUE(IsWindowVisible(disabled->getHWND()));
    EXPECT_EQ(static_cast<LONG_PTR>(WS_EX_NOPARENTNOTIFY),
              GetWindowLongPtrW(disabled->getHWND(), GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY);
    EXPECT_EQ(reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), disabled->getFont());

    disabled->setEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(disabled->getHWND()));
    hidden->setVisible(true);
    EXPECT_TRUE(IsWindowVisible(hidden->getHWND()));
    hidden->setText(L"new text");
    EXPECT_EQ(L"new text", windowText(hidden->getHWND()));

    // Destroying the peer keeps the properties for the next one.
    disabled->setEnabled(false);
    frame.destroyPeer();
    EXPECT_EQ(nullptr, disabled->getHWND());
    frame.createPeer();
    EXPECT_FALSE(IsWindowEnabled(disabled->getHWND()));
    EXPECT_EQ((awt::Rectangle{1, 2, 30, 40}), hidden->getBounds());
}

TEST(ComponentDeferredWork, ChangesQueueValidationAndRepaintOnce) {
    awt::Toolkit* tk = toolkit();
    TestFrame frame;
    auto* control = new TestControl();
    control->setBounds(10, 10, 50, 20);
    frame.add(control);
    frame.createPeer();
    settle();
    control->validations = 0;
    control->updates = 0;

    // Same size: nothing at all.
    control->received.clear();
    control->setSize(50, 20);
    EXPECT_FALSE(received(*control, WM_WINDOWPOSCHANGED));
    EXPECT_FALSE(queued(tk->getInvalidQueue(), control));

    control->setSize(70, 30);
    control->invalidate();
    EXPECT_TRUE(queued(tk->getInvalidQueue(), control));
    EXPECT_TRUE(queued(tk->getRepaintQueue(), control));
    // Growing leaves the parent alone.
    EXPECT_FALSE(queued(tk->getRepaintQueue(), &frame));
    RECT update;
    EXPECT_TRUE(GetUpdateRect(control->getHWND(), &update, FALSE));
    tk->processPending(false);
    EXPECT_EQ(1, control->validations);
    EXPECT_EQ(1, control->updates);
    EXPECT_FALSE(GetUpdateRect(control->getHWND(), &update, FALSE));

    // Shrinking repaints the strip of the parent that the component uncovered.
    control->setSize(40, 30);
    EXPECT_TRUE(queued(tk->getRepaintQueue(), &frame));
    ASSERT_TRUE(GetUpdateRect(frame.getHWND(), &update, FALSE));
    awt::Insets insets = frame.getFrameInsets();
    EXPECT_EQ(10 + 40 - insets.left, update.left);
    EXPECT_EQ(10 + 70 - insets.left, update.right);
    settle();

    // A native resize is read back and invalidates.
    SetWindowPos(control->getHWND(), nullptr, 0, 0, 90, 35, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ((awt::Dimension{90, 35}), control->getSize());
    EXPECT_TRUE(queued(tk->getInvalidQueue(), control));
    settle();

    // Hidden components ignore repaint and invalidate; hiding invalidates the parent.
    control->setVisible(false);
    EXPECT_FALSE(IsWindowVisible(control->getHWND()));
    EXPECT_TRUE(queued(tk->getInvalidQueue(), &frame));
    settle();
    control->repaint(0, 0, 5, 5);
    control->invalidate();
    EXPECT_FALSE(queued(tk->getInvalidQueue(), control));
    EXPECT_FALSE(queued(tk->getRepaintQueue(), control));
}

TEST(ComponentDeferredWork, WithoutPeerNothingIsQueued) {
    awt::Toolkit* tk = toolkit();
    TestControl control;
    control.setBounds(1, 1, 20, 20);
    control.invalidate();
    control.repaint(0, 0, 10, 10);
    control.setForeground(RGB(1, 2, 3));
    EXPECT_TRUE(tk->getInvalidQueue().empty());
    EXPECT_TRUE(tk->getRepaintQueue().empty());
    EXPECT_EQ(RGB(1, 2, 3), control.getForeground());
    EXPECT_EQ((awt::Insets{}), control.getFrameInsets());
}

TEST(ComponentText, MeasuresInTheWindowFont) {
    TestFrame frame;
    auto* control = new TestControl();
    frame.add(control);
    frame.createPeer();

    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE expected{};
    GetTextExtentPoint32W(dc, L"Measure me", 10, &expected);
    TEXTMETRICW expectedMetrics{};
    GetTextMetricsW(dc, &expectedMetrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);

    awt::Dimension extent = control->getTextExtent(L"Measure me");
    EXPECT_EQ(expected.cx, extent.width);
    EXPECT_EQ(expected.cy, extent.height);
    EXPECT_EQ(expectedMetrics.tmHeight, control->getTextMetrics().tmHeight);
    EXPECT_EQ(expectedMetrics.tmAveCharWidth, control->getTextMetrics().tmAveCharWidth);

    std::vector<awt::Dimension> extents;
    TEXTMETRICW metrics{};
    control->measureTexts({L"a", L"", L"a longer line"}, &extents, &metrics);
    ASSERT_EQ(3u, extents.size());
    EXPECT_EQ(0, extents[1].width);
    EXPECT_GT(extents[2].width, extents[0].width);
    EXPECT_EQ(expectedMetrics.tmHeight, metrics.tmHeight);

    // A bigger font set on the window measures bigger.
    LOGFONTW big{};
    big.lfHeight = -40;
    wcscpy(big.lfFaceName, L"Tahoma");
    HFONT font = CreateFontIndirectW(&big);
    SendMessageW(control->getHWND(), WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    EXPECT_GT(control->getTextExtent(L"Measure me").height, extent.height);
    SendMessageW(control->getHWND(), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    DeleteObject(font);
}

TEST(ComponentStyle, StyleFunctionsChangeTheLiveWindow) {
    TestFrame frame;
    auto* control = new TestControl(L"STATIC", WS_BORDER);
    control->setBounds(5, 5, 40, 20);
    frame.add(control);
    frame.createPeer();
    EXPECT_EQ((awt::Insets{1, 1, 1, 1}), control->getStyleInsets());
    EXPECT_EQ(control->getStyleInsets(), control->getFrameInsets());
    EXPECT_FALSE(control->isFocusable());
    control->addStyle(WS_TABSTOP | WS_GROUP);
    EXPECT_TRUE(control->isFocusable());
    EXPECT_EQ(static_cast<DWORD>(WS_GROUP), control->getWindowStyle() & WS_GROUP);
    control->removeStyle(WS_GROUP);
    EXPECT_EQ(0u, control->getWindowStyle() & WS_GROUP);
    control->replaceStyle(SS_TYPEMASK, SS_RIGHT);
    EXPECT_EQ(static_cast<DWORD>(SS_RIGHT), control->getWindowStyle() & SS_TYPEMASK);
    EXPECT_NE(0u, control->getWindowStyle() & WS_TABSTOP);
}

TEST(ComponentShowing, NeedsAVisibleUncoveredWindow) {
    TestFrame frame;
    auto* below = new TestControl();
    below->setBounds(20, 40, 100, 30);
    auto* cover = new TestControl();
    cover->setBounds(200, 40, 100, 30);
    frame.add(below);
    frame.add(cover);
    EXPECT_FALSE(below->isShowing());
    frame.createPeer();
    settle();
    EXPECT_TRUE(below->isShowing());
    EXPECT_TRUE(cover->isShowing());

    // A sibling over its client origin hides it from the point of view of the screen.
    cover->setLocation(15, 35);
    SetWindowPos(cover->getHWND(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(below->getHWND(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_FALSE(below->isShowing());
    cover->setVisible(false);
    EXPECT_TRUE(below->isShowing());
    below->setVisible(false);
    EXPECT_FALSE(below->isShowing());
}

TEST(ComponentFocus, RequestFocusAndTheFocusedComponent) {
    TestFrame frame;
    auto* first = new TestControl();
    first->setBounds(10, 10, 60, 20);
    auto* second = new TestControl();
    second->setBounds(10, 40, 60, 20);
    frame.add(first);
    frame.add(second);
    frame.createPeer();
    settle();
    first->requestFocus();
    EXPECT_EQ(first, awt::Component::getFocusedComponent());
    second->requestFocus();
    EXPECT_EQ(second, awt::Component::getFocusedComponent());
    // A focused window that is no component.
    HWND plain = CreateWindowExW(0, L"BUTTON", L"plain", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                 frame.getHWND(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SetFocus(plain);
    EXPECT_EQ(plain, GetFocus());
    EXPECT_EQ(nullptr, awt::Component::getFocusedComponent());
    DestroyWindow(plain);
    SetFocus(nullptr);
    EXPECT_EQ(nullptr, awt::Component::getFocusedComponent());
}

#include "awt/ListenerAdapters.h"
#include "awt/ListenerRegistry.h"

#include "awt/tests/support/TestSupport.h"

using namespace test;

namespace {

using Journal = std::vector<std::wstring>;

// A frame with a bordered, captioned panel holding two buttons. The cursor stays away, so only
// the messages of the test reach the windows.
struct Scene {
    Scene() { SetCursorPos(2, 2); frame.createPeer(); settle(); }
    TestFrame frame;
    TestPanel* panel = place(&frame, new TestPanel(WS_CAPTION | WS_BORDER), 20, 20, 300, 200);
    TestControl* left = place(panel, new TestControl(), 10, 30, 80, 30);
    TestControl* right = place(panel, new TestControl(), 150, 30, 80, 30);
};

void send(awt::Component* to, UINT message, WPARAM wParam = 0, int x = 0, int y = 0) {
    SendMessageW(to->getHWND(), message, wParam, MAKELPARAM(x, y));
}

// A focus listener that runs its function when the focus is gained.
struct OnFocus : awt::FocusListener {
    explicit OnFocus(std::function<void()> gained) : gained(std::move(gained)) {}
    void focusGained(awt::FocusEvent*) override { gained(); }
    void focusLost(awt::FocusEvent*) override {}
    std::function<void()> gained;
};

// Counts the calls of its member.
struct Target { void call() { ++calls; } int calls = 0; };

} // namespace

TEST(Listeners, ChangesDuringDispatchCallNobodyTwiceAndSkipTheRemoved) {
    Journal journal;
    using Listeners = std::initializer_list<awt::FocusListener*>;
    awt::ListenerRegistry registry;
    Recorder earliest(&journal, L"earliest"), kept(&journal, L"kept"), called(&journal, L"called"), late(&journal, L"late");
    // Removes earliest, called and itself, and adds late.
    OnFocus editor([&] {
        journal.push_back(L"editor");
        for (awt::FocusListener* each : Listeners{&earliest, &called, &editor}) { registry.remove(each); }
        registry.add<awt::FocusListener>(&late);
    });
    for (awt::FocusListener* each : Listeners{&earliest, &kept, &editor, &called}) { registry.add(each); }
    awt::FocusEvent focus;
    registry.fire(&awt::FocusListener::focusGained, &focus);
    EXPECT_EQ((Journal{L"called:focusGained", L"editor", L"kept:focusGained"}), journal);
    journal.clear();
    registry.fire(&awt::FocusListener::focusGained, &focus);
    EXPECT_EQ((Journal{L"late:focusGained", L"kept:focusGained"}), journal);
}

TEST(MouseEvents, ButtonsCountsWindowCoordinatesOneExitAndListenersLastAddedFirst) {
    Scene scene;
    Journal journal;
    Recorder onPanel(&journal, L"panel"), onRight(&journal, L"right");
    scene.panel->addMouseListener(&onPanel);
    scene.right->addMouseListener(&onRight);
    const awt::Insets in = scene.panel->getFrameInsets();
    const awt::Rectangle panel = screenBounds(scene.panel);
    struct Row { UINT message; WPARAM wParam; int x, y; std::int32_t button, clickCount, windowX, windowY; };
    const Row rows[] = {
        {WM_RBUTTONDOWN, MK_RBUTTON, 5, 6, awt::MouseEvent::RIGHT_BUTTON, 1, 5 + in.left, 6 + in.top},
        {WM_MBUTTONDBLCLK, 0, 1, 2, awt::MouseEvent::MIDDLE_BUTTON, 2, 1 + in.left, 2 + in.top},
        {WM_RBUTTONUP, 0, 1, 2, awt::MouseEvent::RIGHT_BUTTON, 1, 1 + in.left, 2 + in.top},
        // Non-client messages carry screen points.
        {WM_NCLBUTTONUP, HTCAPTION, panel.x + 9, panel.y + 3, awt::MouseEvent::LEFT_BUTTON, 1, 9, 3},
    };
    for (const Row& row : rows) {
        send(scene.panel, row.message, row.wParam, row.x, row.y);
        const awt::MouseEvent& seen = onPanel.lastMouse;
        EXPECT_EQ((std::vector<std::int32_t>{row.button, row.clickCount, row.windowX, row.windowY}),
                  (std::vector<std::int32_t>{seen.button, seen.clickCount, seen.x, seen.y})) << row.message;
    }
    EXPECT_EQ(scene.panel, onPanel.lastMouse.source);
    EXPECT_EQ((Journal{L"panel:entered", L"panel:pressed", L"panel:double", L"panel:released", L"panel:released"}),
              journal);

    // A leave while the cursor is over the component's own window is ignored; elsewhere it is
    // one exit, at the cursor in window coordinates.
    journal.clear();
    send(scene.right, WM_MOUSEMOVE, 0, 2, 3);
    send(scene.right, WM_MOUSEMOVE, 0, 4, 3);
    EXPECT_TRUE(scene.right->isMouseInside());
    const awt::Rectangle right = screenBounds(scene.right);
    for (POINT cursor : {POINT{right.x + 10, right.y + 10}, POINT{5, 5}}) {
        SetCursorPos(cursor.x, cursor.y);
        pumpMessages();
        PostMessageW(scene.right->getHWND(), WM_MOUSELEAVE, 0, 0);
        pumpMessages();
    }
    EXPECT_EQ((awt::Point{5 - right.x, 5 - right.y}), (awt::Point{onRight.lastMouse.x, onRight.lastMouse.y}));
    EXPECT_EQ(0, onRight.lastMouse.clickCount);
    EXPECT_FALSE(scene.right->isMouseInside());
    // Coming back into the component the window still remembers gives no second exit.
    send(scene.right, WM_MOUSEMOVE, 0, 4, 4);
    EXPECT_EQ((Journal{L"panel:exited", L"right:entered", L"right:exited", L"right:entered"}), journal);

    // Listeners of the left button: the last added is called first, each once, all of them after
    // one consumed the event, and then not the control.
    Journal order;
    Recorder first(&order, L"first"), second(&order, L"second", true);
    for (Recorder* each : {&first, &second, &first}) { scene.left->addMouseListener(each); }
    EXPECT_EQ(2u, scene.left->getListenerRegistry().count(&awt::MouseListener::TAG));
    send(scene.left, WM_LBUTTONDOWN, MK_LBUTTON, 5, 6);
    EXPECT_EQ((Journal{L"second:entered", L"first:entered", L"second:pressed", L"first:pressed"}), order);
    // The consumed press never reached the button; an unconsumed one does.
    EXPECT_EQ(0, SendMessageW(scene.left->getHWND(), BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_NE(scene.left->getHWND(), GetCapture());
    send(scene.right, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    EXPECT_NE(0, SendMessageW(scene.right->getHWND(), BM_GETSTATE, 0, 0) & BST_PUSHED);
    send(scene.right, WM_LBUTTONUP, 0, 200, 200);
    ReleaseCapture();
    scene.left->removeMouseListener(&first);
    scene.left->removeMouseListener(&first);
    EXPECT_FALSE(scene.left->getListenerRegistry().contains<awt::MouseListener>(&first));
    EXPECT_TRUE(scene.left->getListenerRegistry().contains<awt::MouseListener>(&second));

    awt::ListenerRegistry registry;
    registry.add<awt::MouseListener>(&first);
    registry.add<awt::KeyListener>(&first);
    EXPECT_EQ(2u, registry.size());
    EXPECT_FAILURE(registry.add(&awt::MouseListener::TAG, nullptr), zeno::NullPointerException, L"listener", NO_CODE);
    EXPECT_EQ(std::wstring(L"awt::MouseListener"), awt::MouseListener::TAG.getName());
    EXPECT_EQ(std::wstring(L"awt::TextListener"), awt::TextListener::TAG.getName());
}

// The mouse through the system's input queue and the toolkit's loop, as a user moves it.
TEST(MouseEvents, RealInputEntersClicksMovesOnAndLeaves) {
    Scene scene;
    SetForegroundWindow(scene.frame.getHWND());
    Journal journal;
    Recorder onLeft(&journal, L"left"), onRight(&journal, L"right");
    scene.left->addMouseListener(&onLeft);
    scene.right->addMouseListener(&onRight);
    scene.left->handleCommands = true;
    const awt::Rectangle left = screenBounds(scene.left);
    clickAt(left.x + 10, left.y + 10);
    waitUntil([&] { return journal.size() >= 3; }, 2000);
    EXPECT_EQ((Journal{L"left:entered", L"left:pressed", L"left:released"}), journal);
    EXPECT_EQ((awt::Point{10, 10}), (awt::Point{onLeft.lastMouse.x, onLeft.lastMouse.y}));
    EXPECT_EQ(static_cast<UINT>(BN_CLICKED), scene.left->lastCode) << "the button told its parent";
    journal.clear();
    SetCursorPos(screenBounds(scene.right).x + 20, screenBounds(scene.right).y + 15);
    waitUntil([&] { return journal.size() >= 2; }, 2000);
    EXPECT_EQ((Journal{L"left:exited", L"right:entered"}), journal);
    // The system reports the leave a while after the cursor went.
    journal.clear();
    SetCursorPos(2, 2);
    EXPECT_TRUE(waitUntil([&] { return !journal.empty(); }, 2000));
    EXPECT_EQ((Journal{L"right:exited"}), journal);
    EXPECT_FALSE(scene.right->isMouseInside());
}

// Key events with the modifiers of the key state, focus events as the native focus moves, and
// the key adapter that consumes the presses it handles.
TEST(KeyAndFocusEvents, KindsCodesModifiersGainedLostAndConsumedTabs) {
    Scene scene;
    Journal journal;
    Recorder keys(&journal, L"keys"), mouseOnly(&journal, L"mouse");
    scene.left->addKeyListener(&keys);
    scene.left->addMouseListener(&mouseOnly);
    using awt::KeyEvent;
    struct Row { std::initializer_list<int> held; UINT message; std::uint32_t key, id, modifiers; };
    const Row rows[] = {
        {{VK_SHIFT}, WM_KEYDOWN, 'A', KeyEvent::PRESSED, KeyEvent::SHIFT}, {{}, WM_CHAR, L'\u00e9', KeyEvent::TYPED, 0},
        {{VK_CONTROL, VK_MENU}, WM_SYSKEYUP, VK_F4, KeyEvent::RELEASED, KeyEvent::CONTROL | KeyEvent::ALT},
        {{VK_RWIN}, WM_KEYUP, 'B', KeyEvent::RELEASED, KeyEvent::WINDOWS},
        {{VK_LWIN, VK_SHIFT}, WM_KEYUP, 'C', KeyEvent::RELEASED, KeyEvent::WINDOWS | KeyEvent::SHIFT},
    };
    for (const Row& row : rows) {
        HeldKeys held(row.held);
        EXPECT_EQ(row.modifiers, awt::getModifiers()) << row.key;
        send(scene.left, row.message, row.key);
        const KeyEvent& seen = keys.lastKey;
        EXPECT_EQ((std::vector<std::uint32_t>{row.id, row.key, row.modifiers}),
                  (std::vector<std::uint32_t>{static_cast<std::uint32_t>(seen.id), seen.keyCode, seen.modifiers}))
            << row.key;
    }
    EXPECT_EQ((Journal{L"keys:keyPressed", L"keys:keyTyped", L"keys:keyReleased", L"keys:keyReleased", L"keys:keyReleased"}),
              journal);

    journal.clear();
    Recorder left(&journal, L"left"), right(&journal, L"right");
    scene.left->addFocusListener(&left);
    scene.right->addFocusListener(&right);
    scene.left->requestFocus();
    scene.right->requestFocus();
    scene.right->removeFocusListener(&right);
    scene.left->requestFocus();
    EXPECT_EQ((Journal{L"left:focusGained", L"left:focusLost", L"right:focusGained", L"left:focusGained"}), journal);

    Target target;
    awt::ActionListener_mem_fun_t<Target>(&target, &Target::call).actionPerformed(nullptr);
    awt::ItemListener_mem_fun_t<Target>(&target, &Target::call).itemStateChanged(nullptr);
    awt::TextListener_mem_fun_t<Target>(&target, &Target::call).textValueChanged(nullptr);
    EXPECT_EQ(3, target.calls);
    // Bound as key listener, Tab no longer moves the focus; without it, it does.
    awt::KeyListener_mem_fun_t<Target> key(&target, &Target::call);
    scene.left->addKeyListener(&key);
    HeldKeys none;
    send(scene.left, WM_KEYDOWN, VK_TAB);
    send(scene.left, WM_KEYUP, VK_TAB);
    EXPECT_EQ(4, target.calls);
    EXPECT_EQ(scene.left, awt::Component::getFocusedComponent());
    scene.left->removeKeyListener(&key);
    send(scene.left, WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(scene.right, awt::Component::getFocusedComponent());
}

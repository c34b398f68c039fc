#include "awt/ListenerAdapters.h"
#include "awt/ListenerRegistry.h"

#include "awt/tests/support/TestSupport.h"

using namespace test;

namespace {

using Journal = std::vector<std::wstring>;

// A frame with a bordered, captioned panel holding two buttons.
struct MouseScene {
    MouseScene() {
        // The cursor stays away, so only the messages of the test reach the windows.
        SetCursorPos(2, 2);
        panel = new TestPanel(WS_CAPTION | WS_BORDER);
        panel->setBounds(20, 20, 300, 200);
        left = new TestControl();
        left->setBounds(10, 30, 80, 30);
        right = new TestControl();
        right->setBounds(150, 30, 80, 30);
        panel->add(left);
        panel->add(right);
        frame.add(panel);
        frame.createPeer();
        settle();
    }
    TestFrame frame;
    TestPanel* panel;
    TestControl* left;
    TestControl* right;
};

LPARAM point(int x, int y) {
    return MAKELPARAM(x, y);
}

struct Target {
    void call() { ++calls; }
    int calls = 0;
};

} // namespace

TEST(ListenerRegistry, LastAddedIsCalledFirstAndEveryoneRunsAfterConsume) {
    MouseScene scene;
    Journal journal;
    Recorder first(&journal, L"first");
    Recorder second(&journal, L"second", true);
    scene.left->addMouseListener(&first);
    scene.left->addMouseListener(&second);
    scene.left->addMouseListener(&first);
    EXPECT_EQ(2u, scene.left->getListenerRegistry().count(&awt::MouseListener::TAG));

    SendMessageW(scene.left->getHWND(), WM_LBUTTONDOWN, MK_LBUTTON, point(5, 6));
    EXPECT_EQ((Journal{L"second:entered", L"first:entered", L"second:pressed", L"first:pressed"}),
              journal);
    ReleaseCapture();

    // Removing once removes the pair completely; the other stays.
    scene.left->removeMouseListener(&first);
    scene.left->removeMouseListener(&first);
    EXPECT_FALSE(scene.left->getListenerRegistry().contains<awt::MouseListener>(&first));
    EXPECT_TRUE(scene.left->getListenerRegistry().contains<awt::MouseListener>(&second));
}

TEST(ListenerRegistry, OneObjectUnderTwoTagsAndListenersRemovedDuringDispatch) {
    awt::ListenerRegistry registry;
    Journal journal;
    Recorder both(&journal, L"both");
    registry.add<awt::MouseListener>(&both);
    registry.add<awt::KeyListener>(&both);
    EXPECT_EQ(2u, registry.size());
    awt::KeyEvent key;
    registry.fire(&awt::KeyListener::keyPressed, &key);
    EXPECT_EQ((Journal{L"both:keyPressed"}), journal);

    // A listener that removes one not yet called keeps it from being called.
    struct Remover : awt::FocusListener {
        void focusGained(awt::FocusEvent*) override { registry->remove<awt::FocusListener>(victim); }
        void focusLost(awt::FocusEvent*) override {}
        awt::ListenerRegistry* registry = nullptr;
        awt::FocusListener* victim = nullptr;
    } remover;
    Recorder victim(&journal, L"victim");
    remover.registry = &registry;
    remover.victim = &victim;
    registry.add<awt::FocusListener>(&victim);
    registry.add<awt::FocusListener>(&remover);
    journal.clear();
    awt::FocusEvent focus;
    registry.fire(&awt::FocusListener::focusGained, &focus);
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(3u, registry.size());

    // Removing a pair registered before the running one, or the running one itself, neither
    // calls anyone twice nor skips a listener still registered; one added meanwhile waits.
    struct Editor : awt::FocusListener {
        void focusGained(awt::FocusEvent*) override {
            journal->push_back(L"editor");
            registry->remove<awt::FocusListener>(removed);
            registry->remove<awt::FocusListener>(this);
            registry->add<awt::FocusListener>(added);
        }
        void focusLost(awt::FocusEvent*) override {}
        Journal* journal = nullptr;
        awt::ListenerRegistry* registry = nullptr;
        awt::FocusListener* removed = nullptr;
        awt::FocusListener* added = nullptr;
    } editor;
    awt::ListenerRegistry editedRegistry;
    Recorder earliest(&journal, L"earliest");
    Recorder kept(&journal, L"kept");
    Recorder late(&journal, L"late");
    editor.journal = &journal;
    editor.registry = &editedRegistry;
    editor.removed = &earliest;
    editor.added = &late;
    editedRegistry.add<awt::FocusListener>(&earliest);
    editedRegistry.add<awt::FocusListener>(&kept);
    editedRegistry.add<awt::FocusListener>(&editor);
    journal.clear();
    editedRegistry.fire(&awt::FocusListener::focusGained, &focus);
    EXPECT_EQ((Journal{L"editor", L"kept:focusGained"}), journal);
    journal.clear();
    editedRegistry.fire(&awt::FocusListener::focusGained, &focus);
    EXPECT_EQ((Journal{L"late:focusGained", L"kept:focusGained"}), journal);

    EXPECT_FAILURE(registry.add(&awt::MouseListener::TAG, nullptr), zeno::NullPointerException,
                   L"listener", NO_CODE);
    EXPECT_EQ(std::wstring(L"awt::MouseListener"), awt::MouseListener::TAG.getName());
    EXPECT_EQ(std::wstring(L"awt::TextListener"), awt::TextListener::TAG.getName());
}

TEST(MouseEvents, EnteredComesFirstAtWindowCoordinates) {
    MouseScene scene;
    Journal journal;
    Recorder onPanel(&journal, L"panel");
    scene.panel->addMouseListener(&onPanel);
    SendMessageW(scene.panel->getHWND(), WM_RBUTTONDOWN, MK_RBUTTON, point(5, 6));
    EXPECT_EQ((Journal{L"panel:entered", L"panel:pressed"}), journal);
    awt::Insets insets = scene.panel->getFrameInsets();
    EXPECT_EQ(5 + insets.left, onPanel.lastMouse.x);
    EXPECT_EQ(6 + insets.top, onPanel.lastMouse.y);
    EXPECT_EQ(awt::MouseEvent::RIGHT_BUTTON, onPanel.lastMouse.button);
    EXPECT_EQ(1, onPanel.lastMouse.clickCount);
    EXPECT_EQ(scene.panel, onPanel.lastMouse.source);

    SendMessageW(scene.panel->getHWND(), WM_MBUTTONDBLCLK, 0, point(1, 2));
    EXPECT_EQ(L"panel:double", journal.back());
    EXPECT_EQ(awt::MouseEvent::MIDDLE_BUTTON, onPanel.lastMouse.button);
    EXPECT_EQ(2, onPanel.lastMouse.clickCount);
    SendMessageW(scene.panel->getHWND(), WM_RBUTTONUP, 0, point(1, 2));
    EXPECT_EQ(L"panel:released", journal.back());
    EXPECT_EQ(4u, journal.size());

    // Non-client messages carry screen points.
    RECT rect;
    GetWindowRect(scene.panel->getHWND(), &rect);
    SendMessageW(scene.panel->getHWND(), WM_NCLBUTTONUP, HTCAPTION, point(rect.left + 9, rect.top + 3));
    EXPECT_EQ(L"panel:released", journal.back());
    EXPECT_EQ(9, onPanel.lastMouse.x);
    EXPECT_EQ(3, onPanel.lastMouse.y);
    EXPECT_EQ(awt::MouseEvent::LEFT_BUTTON, onPanel.lastMouse.button);
}

TEST(MouseEvents, ConsumedButtonEventSuppressesTheControlsOwnHandling) {
    MouseScene scene;
    Journal journal;
    Recorder consumer(&journal, L"consumer", true);
    scene.left->addMouseListener(&consumer);
    SendMessageW(scene.left->getHWND(), WM_LBUTTONDOWN, MK_LBUTTON, point(5, 5));
    EXPECT_EQ(0, SendMessageW(scene.left->getHWND(), BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_NE(scene.left->getHWND(), GetCapture());

    scene.left->removeMouseListener(&consumer);
    Recorder watcher(&journal, L"watcher");
    scene.right->addMouseListener(&watcher);
    SendMessageW(scene.right->getHWND(), WM_LBUTTONDOWN, MK_LBUTTON, point(5, 5));
    EXPECT_NE(0, SendMessageW(scene.right->getHWND(), BM_GETSTATE, 0, 0) & BST_PUSHED);
    SendMessageW(scene.right->getHWND(), WM_LBUTTONUP, 0, point(200, 200));
    ReleaseCapture();
}

TEST(MouseEvents, TopLevelWindowHandsTheMouseOnAndLeavesAreChecked) {
    MouseScene scene;
    Journal journal;
    Recorder left(&journal, L"left");
    Recorder right(&journal, L"right");
    scene.left->addMouseListener(&left);
    scene.right->addMouseListener(&right);

    SendMessageW(scene.left->getHWND(), WM_MOUSEMOVE, 0, point(5, 5));
    SendMessageW(scene.left->getHWND(), WM_MOUSEMOVE, 0, point(6, 5));
    EXPECT_EQ((Journal{L"left:entered"}), journal);
    EXPECT_TRUE(scene.left->isMouseInside());
    EXPECT_EQ(scene.left, scene.frame.mouseOver);

    // Entering the other button tells the first one, at the point in its own coordinates.
    SendMessageW(scene.right->getHWND(), WM_MOUSEMOVE, 0, point(2, 3));
    EXPECT_EQ((Journal{L"left:entered", L"left:exited", L"right:entered"}), journal);
    EXPECT_EQ(140 + 2, left.lastMouse.x);
    EXPECT_EQ(3, left.lastMouse.y);
    EXPECT_FALSE(scene.left->isMouseInside());

    // A leave while the cursor is over the component's own window is ignored.
    RECT rect;
    GetWindowRect(scene.right->getHWND(), &rect);
    SetCursorPos(rect.left + 10, rect.top + 10);
    pumpMessages();
    PostMessageW(scene.right->getHWND(), WM_MOUSELEAVE, 0, 0);
    pumpMessages();
    EXPECT_TRUE(scene.right->isMouseInside());

    // Elsewhere it is one exit (from the posted leave or the tracked one), at the cursor in
    // window coordinates.
    journal.clear();
    SetCursorPos(5, 5);
    pumpMessages();
    PostMessageW(scene.right->getHWND(), WM_MOUSELEAVE, 0, 0);
    pumpMessages();
    EXPECT_FALSE(scene.right->isMouseInside());
    EXPECT_EQ((Journal{L"right:exited"}), journal);
    EXPECT_EQ(5 - rect.left, right.lastMouse.x);
    EXPECT_EQ(5 - rect.top, right.lastMouse.y);
    EXPECT_EQ(0, right.lastMouse.clickCount);

    // Coming back into a component the window still remembers gives no second exit.
    journal.clear();
    SendMessageW(scene.right->getHWND(), WM_MOUSEMOVE, 0, point(4, 4));
    EXPECT_EQ((Journal{L"right:entered"}), journal);
    EXPECT_TRUE(scene.right->isMouseInside());
}

TEST(KeyEvents, KindsCodesAndModifiers) {
    MouseScene scene;
    Journal journal;
    Recorder keys(&journal, L"keys");
    Recorder mouseOnly(&journal, L"mouse");
    scene.left->addKeyListener(&keys);
    scene.left->addMouseListener(&mouseOnly);
    {
        HeldKeys shift({VK_SHIFT});
        SendMessageW(scene.left->getHWND(), WM_KEYDOWN, 'A', 0);
    }
    EXPECT_EQ(awt::KeyEvent::PRESSED, keys.lastKey.id);
    EXPECT_EQ(static_cast<std::uint32_t>('A'), keys.lastKey.keyCode);
    EXPECT_EQ(awt::KeyEvent::SHIFT, keys.lastKey.modifiers);
    HeldKeys none;
    SendMessageW(scene.left->getHWND(), WM_CHAR, L'\u00e9', 0);
    EXPECT_EQ(awt::KeyEvent::TYPED, keys.lastKey.id);
    EXPECT_EQ(0xE9u, keys.lastKey.keyCode);
    EXPECT_EQ(0u, keys.lastKey.modifiers);
    SendMessageW(scene.left->getHWND(), WM_SYSKEYUP, VK_F4, 0);
    EXPECT_EQ(awt::KeyEvent::RELEASED, keys.lastKey.id);
    EXPECT_EQ(static_cast<std::uint32_t>(VK_F4), keys.lastKey.keyCode);
    EXPECT_EQ((Journal{L"keys:keyPressed", L"keys:keyTyped", L"keys:keyReleased"}), journal);
}

TEST(KeyEvents, ModifiersComeFromTheKeyState) {
    {
        HeldKeys keys({VK_CONTROL, VK_MENU});
        EXPECT_EQ(awt::KeyEvent::CONTROL | awt::KeyEvent::ALT, awt::getModifiers());
    }
    {
        HeldKeys keys({VK_RWIN, VK_SHIFT});
        EXPECT_EQ(awt::KeyEvent::WINDOWS | awt::KeyEvent::SHIFT, awt::getModifiers());
    }
    HeldKeys none;
    EXPECT_EQ(0u, awt::getModifiers());
}

TEST(FocusEvents, GainedAndLostFollowTheNativeFocus) {
    MouseScene scene;
    Journal journal;
    Recorder left(&journal, L"left");
    Recorder right(&journal, L"right");
    scene.left->addFocusListener(&left);
    scene.right->addFocusListener(&right);
    scene.left->requestFocus();
    scene.right->requestFocus();
    EXPECT_EQ((Journal{L"left:focusGained", L"left:focusLost", L"right:focusGained"}), journal);
    scene.right->removeFocusListener(&right);
    scene.left->requestFocus();
    EXPECT_EQ(L"left:focusGained", journal.back());
}

TEST(ListenerAdapters, CallTheMemberAndTheKeyAdapterConsumesPresses) {
    Target target;
    awt::ActionListener_mem_fun_t<Target> action(&target, &Target::call);
    awt::ItemListener_mem_fun_t<Target> item(&target, &Target::call);
    awt::TextListener_mem_fun_t<Target> text(&target, &Target::call);
    awt::ActionEvent actionEvent;
    action.actionPerformed(&actionEvent);
    awt::ItemEvent itemEvent;
    item.itemStateChanged(&itemEvent);
    awt::TextEvent textEvent;
    text.textValueChanged(&textEvent);
    EXPECT_EQ(3, target.calls);
    EXPECT_FALSE(actionEvent.consumed);

    // Bound as key listener, Tab no longer moves the focus.
    MouseScene scene;
    Target keyTarget;
    awt::KeyListener_mem_fun_t<Target> key(&keyTarget, &Target::call);
    scene.left->addKeyListener(&key);
    scene.left->requestFocus();
    HeldKeys none;
    SendMessageW(scene.left->getHWND(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(1, keyTarget.calls);
    EXPECT_EQ(scene.left, awt::Component::getFocusedComponent());
    SendMessageW(scene.left->getHWND(), WM_KEYUP, VK_TAB, 0);
    EXPECT_EQ(1, keyTarget.calls);

    // Without it the same key moves on.
    scene.left->removeKeyListener(&key);
    SendMessageW(scene.left->getHWND(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(scene.right, awt::Component::getFocusedComponent());
}

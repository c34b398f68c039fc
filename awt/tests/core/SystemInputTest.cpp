#include "awt/tests/support/TestSupport.h"

using namespace test;

// Input synthesized through the system's input path (SendInput), not sent to a window.

namespace {

using Journal = std::vector<std::wstring>;

void key(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(INPUT));
}

void mouseButton(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(INPUT));
}

// Moves the cursor to a point of the component's window (window coordinates).
void moveOver(awt::Component* component, int x, int y) {
    RECT rect;
    GetWindowRect(component->getHWND(), &rect);
    SetCursorPos(rect.left + x, rect.top + y);
}

struct Scene {
    Scene() {
        SetCursorPos(2, 2);
        first = control(40, 40);
        second = control(40, 80);
        third = control(160, 80);
        frame.add(first);
        frame.add(second);
        frame.add(third);
        frame.createPeer();
        SetForegroundWindow(frame.getHWND());
        settle();
    }
    static TestControl* control(int x, int y) {
        auto* c = new TestControl();
        c->setBounds(x, y, 100, 30);
        return c;
    }
    TestFrame frame;
    TestControl* first;
    TestControl* second;
    TestControl* third;
};

} // namespace

TEST(SystemInput, TabAndShiftTabFromTheKeyboard) {
    Scene scene;
    Watchdog watchdog;
    scene.first->requestFocus();
    key(VK_TAB, false);
    key(VK_TAB, true);
    runFor(200);
    EXPECT_EQ(scene.second, awt::Component::getFocusedComponent());

    key(VK_SHIFT, false);
    key(VK_TAB, false);
    key(VK_TAB, true);
    key(VK_SHIFT, true);
    runFor(200);
    EXPECT_EQ(scene.first, awt::Component::getFocusedComponent());

    key(VK_SHIFT, false);
    key(VK_TAB, false);
    key(VK_TAB, true);
    key(VK_SHIFT, true);
    runFor(200);
    EXPECT_EQ(scene.third, awt::Component::getFocusedComponent());
}

TEST(SystemInput, MouseEntersClicksAndLeaves) {
    Scene scene;
    Watchdog watchdog;
    SetCursorPos(2, 2);
    runFor(100);
    Journal journal;
    Recorder first(&journal, L"first");
    Recorder second(&journal, L"second");
    scene.first->addMouseListener(&first);
    scene.second->addMouseListener(&second);
    scene.first->handleCommands = true;

    moveOver(scene.first, 10, 10);
    runFor(150);
    mouseButton(MOUSEEVENTF_LEFTDOWN);
    mouseButton(MOUSEEVENTF_LEFTUP);
    runFor(150);
    EXPECT_EQ((Journal{L"first:entered", L"first:pressed", L"first:released"}), journal);
    EXPECT_EQ(10, first.lastMouse.x);
    EXPECT_EQ(10, first.lastMouse.y);
    // The click reached the button, which told its parent.
    EXPECT_EQ(static_cast<UINT>(BN_CLICKED), scene.first->lastCode);

    journal.clear();
    moveOver(scene.second, 20, 15);
    runFor(150);
    EXPECT_EQ((Journal{L"first:exited", L"second:entered"}), journal);

    // The system reports the leave a while after the cursor went.
    journal.clear();
    SetCursorPos(2, 2);
    runFor(1000);
    EXPECT_EQ((Journal{L"second:exited"}), journal);
    EXPECT_FALSE(scene.second->isMouseInside());
}

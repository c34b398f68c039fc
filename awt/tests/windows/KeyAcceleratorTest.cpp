#include <gtest/gtest.h>

#include <memory>

#include <windows.h>

#include "awt/Frame.h"
#include "awt/KeyStroke.h"
#include "awt/Listener.h"
#include "WindowTestSupport.h"

using awt::Frame;
using awt::KeyStroke;

namespace {

// Counts key presses, remembers the last one and consumes them when told to.
class CountingKeyListener : public awt::KeyListener {
public:
    explicit CountingKeyListener(bool consume = true) : consume(consume) {}
    int pressed = 0;
    std::uint32_t lastModifiers = 0;
    awt::Component* lastSource = nullptr;

    void keyPressed(awt::KeyEvent* event) override {
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

struct KeyAcceleratorTest : ::testing::Test {
    std::unique_ptr<Frame> frame = std::make_unique<Frame>(nullptr, L"accelerators");
    TestButton* button = new TestButton(L"focus", nullptr);
    CountingKeyListener f1;
    CountingKeyListener reachingButton{false};

    void SetUp() override {
        frame->add(button);
        button->addKeyListener(&reachingButton);
        frame->addKeyAccelerator(KeyStroke(VK_F1, 0), &f1);
        frame->setSize(300, 200);
        frame->setVisible(true);
        ASSERT_TRUE(runUntil([&] { return GetForegroundWindow() == frame->getHWND(); }));
        button->requestFocus();
        ASSERT_TRUE(runUntil([&] { return GetFocus() == button->getHWND(); }));
    }

    void TearDown() override {
        pressKey(VK_SHIFT, false);
        pressKey(VK_MENU, false);
        pumpFor(20);
    }

    // Types the key with the modifier keys held and lets the loop handle the input.
    void type(WORD key, std::initializer_list<WORD> modifiers = {}) {
        for (WORD modifier : modifiers) {
            pressKey(modifier, true);
        }
        pressKey(key, true);
        pressKey(key, false);
        for (WORD modifier : modifiers) {
            pressKey(modifier, false);
        }
        pumpFor(100);
    }
};

TEST_F(KeyAcceleratorTest, FiresOnTheBoundKeyAndHidesItFromTheFocusedControl) {
    type(VK_F1);
    EXPECT_EQ(1, f1.pressed);
    EXPECT_EQ(0u, f1.lastModifiers);
    EXPECT_EQ(frame.get(), f1.lastSource);
    EXPECT_EQ(0, reachingButton.pressed);

    type(VK_F2);
    EXPECT_EQ(1, f1.pressed);
    EXPECT_EQ(1, reachingButton.pressed);

    // A new binding replaces the old one; a press it does not consume goes on to the control.
    CountingKeyListener replacement(false);
    frame->addKeyAccelerator(KeyStroke(VK_F1, 0), &replacement);
    type(VK_F1);
    EXPECT_EQ(1, f1.pressed);
    EXPECT_EQ(1, replacement.pressed);
    EXPECT_EQ(2, reachingButton.pressed);
}

TEST_F(KeyAcceleratorTest, ModifiersMustMatchAndAltNeverReachesAccelerators) {
    type(VK_F1, {VK_SHIFT});
    EXPECT_EQ(0, f1.pressed) << "a binding without modifiers fired with Shift";
    EXPECT_GE(reachingButton.pressed, 1);

    CountingKeyListener shiftF1;
    CountingKeyListener altF1;
    frame->addKeyAccelerator(KeyStroke(VK_F1, MOD_SHIFT), &shiftF1);
    frame->addKeyAccelerator(KeyStroke(VK_F1, MOD_ALT), &altF1);
    type(VK_F1, {VK_SHIFT});
    EXPECT_EQ(1, shiftF1.pressed);
    EXPECT_EQ(static_cast<std::uint32_t>(awt::KeyEvent::SHIFT), shiftF1.lastModifiers);
    type(VK_F1, {VK_MENU});
    EXPECT_EQ(0, altF1.pressed);
    EXPECT_EQ(0, f1.pressed);
}

TEST_F(KeyAcceleratorTest, OnlyTheActiveWindowsBindingsFireAndANewOneWorksAtOnce) {
    auto other = std::make_unique<Frame>(nullptr, L"other");
    other->setVisible(true);
    ASSERT_TRUE(runUntil([&] { return GetForegroundWindow() == other->getHWND(); }));
    CountingKeyListener f3;
    other->addKeyAccelerator(KeyStroke(VK_F3, 0), &f3);
    type(VK_F1);
    type(VK_F3);
    EXPECT_EQ(0, f1.pressed);
    EXPECT_EQ(1, f3.pressed);

    frame->toFront();
    ASSERT_TRUE(runUntil([&] { return GetForegroundWindow() == frame->getHWND(); }));
    type(VK_F1);
    EXPECT_EQ(1, f1.pressed);
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
        VK_F5, awt::KeyEvent::SHIFT | awt::KeyEvent::CONTROL | awt::KeyEvent::ALT |
                   awt::KeyEvent::WINDOWS);
    EXPECT_EQ(static_cast<std::uint32_t>(VK_F5), all.keyCode);
    EXPECT_EQ(static_cast<std::uint32_t>(MOD_SHIFT | MOD_CONTROL | MOD_ALT | MOD_WIN), all.modifiers);
    EXPECT_EQ(static_cast<std::uint32_t>(MOD_ALT),
              KeyStroke::fromKeyEvent(VK_F5, awt::KeyEvent::ALT).modifiers);
}

}  // namespace

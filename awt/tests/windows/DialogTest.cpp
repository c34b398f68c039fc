#include <gtest/gtest.h>

#include <memory>

#include <windows.h>

#include "awt/ButtonsLayout.h"
#include "awt/Dialog.h"
#include "awt/Frame.h"
#include "awt/Toolkit.h"
#include "WindowTestSupport.h"

using awt::Dialog;
using awt::Frame;

namespace {

struct ModalDialogTest : ::testing::Test {
    std::unique_ptr<Frame> owner = std::make_unique<Frame>(nullptr, L"owner");
    // Owned by the owner frame, which deletes it.
    Dialog* dialog = new Dialog(owner.get(), L"modal", true);
    awt::ButtonsLayout buttons;

    void SetUp() override {
        owner->setSize(400, 300);
        owner->setVisible(true);
        dialog->setLayout(&buttons);
        dialog->setSize(250, 120);
        ASSERT_TRUE(runUntil([&] { return GetForegroundWindow() == owner->getHWND(); }));
    }
};

TEST_F(ModalDialogTest, EndedFromAButtonHandler) {
    bool ownerDisabledMeanwhile = false;
    bool dialogShownMeanwhile = false;
    auto* ok = new TestButton(L"OK", [&] { dialog->setVisible(false); });
    dialog->add(ok);
    LoopWatchdog watchdog;
    DelayedAction click(300, [&] {
        ownerDisabledMeanwhile = !IsWindowEnabled(owner->getHWND()) && !owner->isEnabled();
        dialogShownMeanwhile = IsWindowVisible(dialog->getHWND()) != FALSE;
        // A real click on the button, through the input queue.
        RECT rect;
        GetWindowRect(ok->getHWND(), &rect);
        clickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    });

    dialog->setVisible(true);  // returns when the nested loop ends

    EXPECT_FALSE(watchdog.fired()) << "the button did not end the modal loop";
    EXPECT_TRUE(click.hasRun());
    EXPECT_TRUE(ownerDisabledMeanwhile);
    EXPECT_TRUE(dialogShownMeanwhile);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(owner->isEnabled());
    EXPECT_TRUE(IsWindowEnabled(owner->getHWND()));
    EXPECT_TRUE(runUntil([&] { return GetForegroundWindow() == owner->getHWND(); }));
}

TEST_F(ModalDialogTest, EndedFromTheCloseBox) {
    bool clicked = false;
    LoopWatchdog watchdog;
    DelayedAction close(300, [&] {
        POINT point;
        // Under a window manager that draws the frames itself the close box is not on the
        // screen where the window says; then the command the close box sends is sent instead.
        if (findCloseBox(dialog->getHWND(), &point) &&
            WindowFromPoint(point) == dialog->getHWND()) {
            clicked = true;
            clickAt(point.x, point.y);
        } else {
            PostMessageW(dialog->getHWND(), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
    });

    dialog->setVisible(true);

    RecordProperty("closeBoxClicked", clicked ? "yes" : "no");
    EXPECT_FALSE(watchdog.fired()) << "the close box did not end the modal loop";
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(owner->isEnabled());
    // Hidden (the default close operation), not destroyed.
    EXPECT_NE(nullptr, dialog->getHWND());
}

TEST_F(ModalDialogTest, OwnerThatWasDisabledStaysDisabled) {
    owner->setEnabled(false);
    LoopWatchdog watchdog;
    DelayedAction close(100, [&] { PostMessageW(dialog->getHWND(), WM_CLOSE, 0, 0); });

    dialog->setVisible(true);

    EXPECT_FALSE(watchdog.fired());
    EXPECT_FALSE(owner->isEnabled());
    EXPECT_FALSE(IsWindowEnabled(owner->getHWND()));
    owner->setEnabled(true);
}

TEST_F(ModalDialogTest, ShowingAVisibleModalDialogReturnsAtOnce) {
    bool secondShowReturned = false;
    LoopWatchdog watchdog;
    DelayedAction again(100, [&] {
        dialog->setVisible(true);
        secondShowReturned = true;
        dialog->setVisible(false);
    });

    dialog->setVisible(true);

    EXPECT_FALSE(watchdog.fired());
    EXPECT_TRUE(secondShowReturned);
    EXPECT_TRUE(owner->isEnabled());
}

TEST_F(ModalDialogTest, OpensAtTheOwnersClientCorner) {
    awt::Point placed;
    awt::Insets ownerInsets = owner->getInsets();
    DelayedAction look(100, [&] {
        placed = dialog->getLocation();
        dialog->setVisible(false);
    });
    LoopWatchdog watchdog;

    dialog->setVisible(true);

    EXPECT_FALSE(watchdog.fired());
    EXPECT_GT(ownerInsets.top, ownerInsets.left);  // a caption above the client area
    EXPECT_EQ(owner->getLocation().x + ownerInsets.left, placed.x);
    EXPECT_EQ(owner->getLocation().y + ownerInsets.top, placed.y);
    POINT clientOrigin{0, 0};
    ClientToScreen(owner->getHWND(), &clientOrigin);
    EXPECT_EQ(clientOrigin.x, placed.x);
    EXPECT_EQ(clientOrigin.y, placed.y);
}

TEST_F(ModalDialogTest, ExplicitLocationIsKept) {
    dialog->setLocation(37, 41);
    DelayedAction look(100, [&] { dialog->setVisible(false); });
    LoopWatchdog watchdog;
    dialog->setVisible(true);
    EXPECT_EQ(37, dialog->getLocation().x);
    EXPECT_EQ(41, dialog->getLocation().y);
}

TEST(Dialog, StyleHasNoBoxesAndAModalFrameOnlyWithAnOwner) {
    auto owner = std::make_unique<Frame>(nullptr, L"owner");
    auto* owned = new Dialog(owner.get(), L"owned", false);
    auto lone = std::make_unique<Dialog>(nullptr, L"lone", false);
    owned->createPeer();
    lone->createPeer();

    for (Dialog* d : {owned, lone.get()}) {
        const DWORD style = GetWindowLongW(d->getHWND(), GWL_STYLE);
        EXPECT_EQ(0u, style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
        EXPECT_EQ(static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_THICKFRAME),
                  style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME));
        EXPECT_EQ(0u, style & WS_POPUP);
    }
    EXPECT_NE(0u, GetWindowLongW(owned->getHWND(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    EXPECT_EQ(0u, GetWindowLongW(lone->getHWND(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

    // Not resizable takes the sizing border away, and no maximize box comes back with it.
    lone->setResizable(false);
    EXPECT_EQ(0u, GetWindowLongW(lone->getHWND(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    lone->setResizable(true);
    const DWORD resizable = GetWindowLongW(lone->getHWND(), GWL_STYLE);
    EXPECT_NE(0u, resizable & WS_THICKFRAME);
    EXPECT_EQ(0u, resizable & WS_MAXIMIZEBOX);
}

TEST(Dialog, NonModalShowReturnsAndWithoutOwnerTheSystemPlacesIt) {
    auto dialog = std::make_unique<Dialog>(nullptr, L"modeless", false);
    dialog->setVisible(true);
    EXPECT_TRUE(dialog->isVisible());
    RECT rect;
    GetWindowRect(dialog->getHWND(), &rect);
    EXPECT_EQ(rect.left, dialog->getLocation().x);
    EXPECT_EQ(rect.top, dialog->getLocation().y);
    EXPECT_NE(CW_USEDEFAULT, dialog->getLocation().x);
    pumpFor(30);
}

}  // namespace

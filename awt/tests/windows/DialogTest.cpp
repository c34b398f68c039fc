#include <gtest/gtest.h>

#include <memory>

#include <windows.h>

#include "awt/ButtonsLayout.h"
#include "awt/Dialog.h"
#include "awt/Frame.h"
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

    // Shows the dialog; `whileShown` runs from its loop after a moment. True when the dialog
    // ended its loop itself, before the watchdog did.
    bool showModal(const std::function<void()>& whileShown) {
        LoopWatchdog watchdog;
        DelayedAction action(200, whileShown);
        dialog->setVisible(true);  // returns when the nested loop ends
        return action.hasRun() && !watchdog.fired();
    }
};

TEST_F(ModalDialogTest, EndedFromAButtonHandlerWithTheOwnerDisabledMeanwhile) {
    bool ownerDisabled = false;
    bool dialogShown = false;
    auto* ok = new TestButton(L"OK", [&] { dialog->setVisible(false); });
    dialog->add(ok);

    EXPECT_TRUE(showModal([&] {
        ownerDisabled = !IsWindowEnabled(owner->getHWND()) && !owner->isEnabled();
        dialogShown = IsWindowVisible(dialog->getHWND()) != FALSE;
        RECT rect;
        GetWindowRect(ok->getHWND(), &rect);
        clickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    })) << "the button did not end the modal loop";

    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(dialogShown);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(IsWindowEnabled(owner->getHWND()));
    EXPECT_TRUE(runUntil([&] { return GetForegroundWindow() == owner->getHWND(); }));
}

TEST_F(ModalDialogTest, EndedFromTheCloseBoxAtTheOwnersClientCorner) {
    awt::Point placed;
    bool clicked = false;
    EXPECT_TRUE(showModal([&] {
        placed = dialog->getLocation();
        POINT point;
        // Under a window manager that draws the frames itself the close box is not where the
        // window says; then the command the close box sends is sent instead.
        clicked = findCloseBox(dialog->getHWND(), &point) &&
                  WindowFromPoint(point) == dialog->getHWND();
        if (clicked) {
            clickAt(point.x, point.y);
        } else {
            PostMessageW(dialog->getHWND(), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
    })) << "the close box did not end the modal loop";
    RecordProperty("closeBoxClicked", clicked ? "yes" : "no");

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(owner->isEnabled());
    // Hidden (the default close operation), not destroyed.
    EXPECT_NE(nullptr, dialog->getHWND());
    POINT clientOrigin{0, 0};
    ClientToScreen(owner->getHWND(), &clientOrigin);
    EXPECT_EQ((awt::Point{clientOrigin.x, clientOrigin.y}), placed);
}

TEST_F(ModalDialogTest, OwnerThatWasDisabledStaysDisabled) {
    owner->setEnabled(false);
    EXPECT_TRUE(showModal([&] { PostMessageW(dialog->getHWND(), WM_CLOSE, 0, 0); }));
    EXPECT_FALSE(IsWindowEnabled(owner->getHWND()));
    owner->setEnabled(true);
}

TEST_F(ModalDialogTest, ShowingItAgainReturnsAtOnceAndAnExplicitLocationIsKept) {
    dialog->setLocation(37, 41);
    EXPECT_TRUE(showModal([&] {
        dialog->setVisible(true);
        dialog->setVisible(false);
    }));
    EXPECT_EQ((awt::Point{37, 41}), dialog->getLocation());
    EXPECT_TRUE(owner->isEnabled());
}

TEST(Dialog, StyleHasNoBoxesAndAModalFrameOnlyWithAnOwner) {
    auto owner = std::make_unique<Frame>(nullptr, L"owner");
    auto* owned = new Dialog(owner.get(), L"owned", false);
    auto lone = std::make_unique<Dialog>(nullptr, L"lone", false);
    owned->createPeer();
    lone->createPeer();

    const DWORD checked = WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CAPTION | WS_SYSMENU |
                          WS_THICKFRAME | WS_POPUP;
    for (Dialog* d : {owned, lone.get()}) {
        EXPECT_EQ(static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_THICKFRAME),
                  GetWindowLongW(d->getHWND(), GWL_STYLE) & checked);
    }
    EXPECT_NE(0u, GetWindowLongW(owned->getHWND(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    EXPECT_EQ(0u, GetWindowLongW(lone->getHWND(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

    // Not resizable takes the sizing border away, and no maximize box comes back with it.
    lone->setResizable(false);
    EXPECT_EQ(0u, GetWindowLongW(lone->getHWND(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    lone->setResizable(true);
    EXPECT_EQ(static_cast<DWORD>(WS_THICKFRAME),
              GetWindowLongW(lone->getHWND(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
}

}  // namespace

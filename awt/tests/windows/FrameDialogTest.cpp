#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <windows.h>

#include "awt/AWTException.h"
#include "awt/Button.h"
#include "awt/ButtonsLayout.h"
#include "awt/Dialog.h"
#include "awt/Frame.h"
#include "WindowTestComponents.h"

using awt::Dialog;
using awt::Frame;

namespace {

constexpr UINT TITLE_STRING = 1;
constexpr UINT TEST_ICON = 101;
constexpr UINT MISSING_ICON = 4711;

std::wstring nativeText(HWND window) {
    wchar_t text[128] = {};
    GetWindowTextW(window, text, 128);
    return text;
}

DWORD styleBits(awt::Component& window, DWORD bits) {
    return static_cast<DWORD>(GetWindowLongW(window.getHWND(), GWL_STYLE)) & bits;
}

HICON nativeIcon(HWND window, WPARAM which) {
    return reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
}

TEST(Frame, TitleIsTheWindowTextBeforeAndAfterCreation) {
    auto frame = std::make_unique<Frame>(nullptr, L"before");
    frame->setTitle(L"changed early");
    frame->createPeer();
    EXPECT_EQ(L"changed early", nativeText(frame->getHWND()));
    frame->setTitle(L"changed late");
    EXPECT_EQ(L"changed late", nativeText(frame->getHWND()));
    frame->setTitle(TITLE_STRING);
    EXPECT_EQ(L"タイトル from the string table", nativeText(frame->getHWND()));
    EXPECT_EQ(L"タイトル from the string table", frame->getTitle());
}

// Frames have a caption, system menu and minimize box, and a sizing border and maximize box
// while resizable; dialogs have neither box, and a modal frame when they have an owner.
TEST(Frame, StylesOfFramesAndDialogsAndResizingIsOptional) {
    const DWORD boxes = WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    const DWORD sizing = WS_THICKFRAME | WS_MAXIMIZEBOX;
    const DWORD checked = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | boxes | WS_POPUP | WS_CLIPCHILDREN;
    auto owner = std::make_unique<Frame>(nullptr, L"frame");
    auto* owned = new Dialog(owner.get(), L"owned", false);
    auto lone = std::make_unique<Dialog>(nullptr, L"lone", false);
    auto fixed = std::make_unique<Frame>(nullptr, L"fixed");
    fixed->setResizable(false);
    const struct {
        Frame* window;
        DWORD style;
        bool modalFrame;
        DWORD resizableAgain;
    } cases[] = {
        {owner.get(), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | sizing | WS_CLIPCHILDREN, false, sizing},
        {fixed.get(), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, false, sizing},
        {owned, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, true, WS_THICKFRAME},
        {lone.get(), WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, false, WS_THICKFRAME},
    };
    for (const auto& c : cases) {
        c.window->createPeer();
        SCOPED_TRACE(nativeText(c.window->getHWND()));
        EXPECT_EQ(c.style, styleBits(*c.window, checked));
        EXPECT_EQ(c.modalFrame, (GetWindowLongW(c.window->getHWND(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) != 0);
        c.window->setResizable(false);
        EXPECT_EQ(0u, styleBits(*c.window, sizing));
        EXPECT_EQ(c.style & WS_MINIMIZEBOX, styleBits(*c.window, WS_MINIMIZEBOX));
        c.window->setResizable(true);
        EXPECT_EQ(c.resizableAgain, styleBits(*c.window, sizing));
    }
    // The insets are the native frame around the client area.
    RECT window;
    RECT client;
    GetWindowRect(owner->getHWND(), &window);
    GetClientRect(owner->getHWND(), &client);
    POINT origin{0, 0};
    ClientToScreen(owner->getHWND(), &origin);
    EXPECT_EQ((awt::Insets{origin.y - window.top, origin.x - window.left, window.bottom - origin.y - client.bottom,
                           window.right - origin.x - client.right}),
              owner->getInsets());
    EXPECT_GT(owner->getInsets().top, owner->getInsets().bottom);
}

TEST(Frame, IconsComeInBothSizesAndReplacedOnesAreDestroyed) {
    auto frame = std::make_unique<Frame>(nullptr, L"icons");
    frame->setIcon(TEST_ICON);
    HICON firstSmall = frame->getSmallIcon();
    ASSERT_NE(nullptr, firstSmall);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(frame->getBigIcon(), &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmMask, sizeof(bitmap), &bitmap);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), bitmap.bmWidth);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);

    frame->createPeer();
    EXPECT_EQ(firstSmall, nativeIcon(frame->getHWND(), ICON_SMALL));
    EXPECT_EQ(frame->getBigIcon(), nativeIcon(frame->getHWND(), ICON_BIG));
    frame->setIcon(TEST_ICON);
    EXPECT_NE(firstSmall, frame->getSmallIcon());
    EXPECT_EQ(frame->getSmallIcon(), nativeIcon(frame->getHWND(), ICON_SMALL));
    ICONINFO gone{};
    EXPECT_FALSE(GetIconInfo(firstSmall, &gone)) << "the replaced icon was not destroyed";

    // A missing icon throws and keeps the icons the frame had.
    HICON kept = frame->getSmallIcon();
    try {
        frame->setIcon(MISSING_ICON);
        ADD_FAILURE() << "a missing icon resource was accepted";
    } catch (const awt::AWTException& e) {
        EXPECT_EQ(L"::LoadImage() failed", e.getMessage());
        EXPECT_NE(NO_CODE, e.getErrorCode());
    }
    EXPECT_EQ(kept, frame->getSmallIcon());
}

TEST(Frame, NotClosableGreysTheCloseItemAndIgnoresCloseCommands) {
    auto frame = std::make_unique<Frame>(nullptr, L"not closable");
    WindowEventRecorder events;
    frame->setClosable(false);
    frame->addWindowListener(&events);
    frame->setSize(300, 200);
    frame->setVisible(true);
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == frame->getHWND(); }));
    auto closeItem = [&] { return GetMenuState(GetSystemMenu(frame->getHWND(), FALSE), SC_CLOSE, MF_BYCOMMAND); };
    EXPECT_NE(0u, closeItem() & MF_GRAYED);

    // What the close box and the system menu send, and Alt+F4 from the keyboard.
    SendMessageW(frame->getHWND(), WM_SYSCOMMAND, SC_CLOSE, 0);
    press(VK_F4, {VK_MENU});
    runFor(150);
    EXPECT_EQ(0, events.closing);
    EXPECT_TRUE(IsWindowVisible(frame->getHWND()));

    frame->setClosable(true);
    EXPECT_EQ(0u, closeItem() & MF_GRAYED);
    press(VK_F4, {VK_MENU});
    EXPECT_TRUE(waitUntil([&] { return !frame->isVisible(); }));
    EXPECT_EQ(1, events.closing);
}

TEST(Frame, ConsumedIconifyOrRestoreIsSuppressed) {
    auto frame = std::make_unique<Frame>(nullptr, L"iconify");
    WindowEventRecorder events;
    frame->addWindowListener(&events);
    frame->setVisible(true);
    runFor(30);
    HWND hwnd = frame->getHWND();
    // The low four bits of a system command belong to the system (a double click on the
    // caption restores with SC_RESTORE + 2).
    const struct {
        WPARAM command;
        bool consume;
        bool iconic;
    } steps[] = {{SC_MINIMIZE, true, false}, {SC_MINIMIZE, false, true}, {SC_RESTORE, true, true},
                 {SC_RESTORE | 2, false, false}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command);
        events.consumeIconified = step.consume;
        SendMessageW(hwnd, WM_SYSCOMMAND, step.command, 0);
        EXPECT_TRUE(waitUntil([&] { return (IsIconic(hwnd) != FALSE) == step.iconic; }, 1000));
        runFor(30);
        EXPECT_EQ(step.iconic, IsIconic(hwnd) != FALSE);
    }
    EXPECT_EQ(2, events.iconified);
    EXPECT_EQ(2, events.deiconified);
}

// Runs the function when an ActionEvent arrives.
class OnAction : public awt::ActionListener {
public:
    explicit OnAction(std::function<void()> action) : action(std::move(action)) {}
    void actionPerformed(awt::ActionEvent*) override { action(); }

private:
    std::function<void()> action;
};

// A modal dialog runs its own loop with the owner disabled until something hides it: its button,
// its close box, WM_CLOSE or its own code. It opens at the owner's client corner unless placed.
TEST(Dialog, ModalLoopEndsWhenTheDialogIsHiddenAndTheOwnerIsEnabledAgain) {
    enum Ending { BUTTON, CLOSE_BOX, CLOSE_MESSAGE, SHOWN_AGAIN_THEN_HIDDEN };
    const struct {
        Ending ending;
        bool ownerDisabled;
        bool placed;
    } cases[] = {{BUTTON, false, false}, {CLOSE_BOX, false, false}, {CLOSE_MESSAGE, true, false},
                 {SHOWN_AGAIN_THEN_HIDDEN, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ending);
        awt::ButtonsLayout buttons;
        auto owner = std::make_unique<Frame>(nullptr, L"owner");
        auto* dialog = new Dialog(owner.get(), L"modal", true);  // deleted with its owner
        auto* ok = new awt::Button(L"OK");
        OnAction hide([&] { dialog->setVisible(false); });
        ok->addActionListener(&hide);
        dialog->setLayout(&buttons);
        dialog->add(ok);
        dialog->setSize(250, 120);
        if (c.placed) {
            dialog->setLocation(37, 41);
        }
        owner->setSize(400, 300);
        owner->setVisible(true);
        ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == owner->getHWND(); }));
        owner->setEnabled(!c.ownerDisabled);
        bool ownerEnabledMeanwhile = true;
        bool shown = false;
        awt::Point placed;
        Watchdog watchdog;
        DelayedAction action(200, [&] {
            ownerEnabledMeanwhile = IsWindowEnabled(owner->getHWND()) || owner->isEnabled();
            shown = IsWindowVisible(dialog->getHWND()) != FALSE;
            placed = dialog->getLocation();
            RECT rect;
            GetWindowRect(ok->getHWND(), &rect);
            if (c.ending == BUTTON) {
                clickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
            } else if (c.ending == SHOWN_AGAIN_THEN_HIDDEN) {
                dialog->setVisible(true);
                dialog->setVisible(false);
            } else {
                PostMessageW(dialog->getHWND(), c.ending == CLOSE_BOX ? WM_SYSCOMMAND : WM_CLOSE, SC_CLOSE, 0);
            }
        });
        dialog->setVisible(true);  // returns when the nested loop ends

        EXPECT_TRUE(action.hasRun() && !watchdog.fired()) << "the dialog did not end its loop";
        EXPECT_FALSE(ownerEnabledMeanwhile);
        EXPECT_TRUE(shown);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_NE(nullptr, dialog->getHWND()) << "hidden (the default close operation), not destroyed";
        EXPECT_EQ(!c.ownerDisabled, IsWindowEnabled(owner->getHWND()) != FALSE);
        POINT corner{0, 0};
        ClientToScreen(owner->getHWND(), &corner);
        EXPECT_EQ((c.placed ? awt::Point{37, 41} : awt::Point{corner.x, corner.y}), placed);
        if (c.ending == BUTTON) {
            EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == owner->getHWND(); }));
        }
    }
}

}  // namespace

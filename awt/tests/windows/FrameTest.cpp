#include <gtest/gtest.h>

#include <memory>

#include <windows.h>

#include "awt/AWTException.h"
#include "awt/Frame.h"
#include "awt/Toolkit.h"
#include "WindowTestSupport.h"

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

UINT closeItemState(HWND window) {
    return GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND);
}

TEST(Frame, TitleIsTheWindowTextBeforeAndAfterCreation) {
    auto frame = std::make_unique<Frame>(nullptr, L"before");
    frame->setTitle(L"changed early");
    frame->createPeer();
    EXPECT_EQ(L"changed early", nativeText(frame->getHWND()));

    frame->setTitle(L"changed late");
    EXPECT_EQ(L"changed late", nativeText(frame->getHWND()));
    EXPECT_EQ(L"changed late", frame->getTitle());

    frame->setTitle(TITLE_STRING);
    EXPECT_EQ(awt::Toolkit::loadString(TITLE_STRING), nativeText(frame->getHWND()));
    EXPECT_EQ(L"タイトル from the string table", frame->getTitle());
}

TEST(Frame, StyleHasCaptionSystemMenuAndMinimizeBoxAndResizingIsOptional) {
    auto frame = std::make_unique<Frame>(nullptr, L"style");
    frame->createPeer();
    HWND hwnd = frame->getHWND();
    DWORD style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_EQ(0u, style & WS_POPUP);
    const DWORD expected = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_MAXIMIZEBOX;
    EXPECT_EQ(expected, style & expected);
    EXPECT_NE(0u, style & WS_CLIPCHILDREN);
    EXPECT_NE(0u, GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);

    frame->setResizable(false);
    style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_EQ(0u, style & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_NE(0u, style & WS_MINIMIZEBOX);
    EXPECT_FALSE(frame->isResizable());

    // Created without: the style comes from the flags.
    auto fixed = std::make_unique<Frame>(nullptr, L"fixed");
    fixed->setResizable(false);
    fixed->createPeer();
    EXPECT_EQ(0u, GetWindowLongW(fixed->getHWND(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    fixed->setResizable(true);
    EXPECT_EQ(static_cast<DWORD>(WS_THICKFRAME | WS_MAXIMIZEBOX),
              GetWindowLongW(fixed->getHWND(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
}

TEST(Frame, InsetsAreTheFrameAroundTheClientArea) {
    auto frame = std::make_unique<Frame>(nullptr, L"insets");
    EXPECT_EQ((awt::Insets{0, 0, 0, 0}), frame->getInsets());
    frame->setSize(300, 200);
    frame->createPeer();
    RECT window;
    RECT client;
    GetWindowRect(frame->getHWND(), &window);
    GetClientRect(frame->getHWND(), &client);
    POINT origin{0, 0};
    ClientToScreen(frame->getHWND(), &origin);
    const awt::Insets insets = frame->getInsets();
    EXPECT_EQ(origin.x - window.left, insets.left);
    EXPECT_EQ(origin.y - window.top, insets.top);
    EXPECT_EQ(window.right - origin.x - client.right, insets.right);
    EXPECT_EQ(window.bottom - origin.y - client.bottom, insets.bottom);
    EXPECT_GT(insets.top, insets.bottom);
}

TEST(Frame, IconsComeInBothSizesAndReplacedOnesAreDestroyed) {
    auto frame = std::make_unique<Frame>(nullptr, L"icons");
    frame->setIcon(TEST_ICON);
    HICON firstSmall = frame->getSmallIcon();
    ASSERT_NE(nullptr, firstSmall);
    ASSERT_NE(nullptr, frame->getBigIcon());
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(frame->getBigIcon(), &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmMask, sizeof(bitmap), &bitmap);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), bitmap.bmWidth);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);

    frame->createPeer();
    EXPECT_EQ(firstSmall,
              reinterpret_cast<HICON>(SendMessageW(frame->getHWND(), WM_GETICON, ICON_SMALL, 0)));
    EXPECT_EQ(frame->getBigIcon(),
              reinterpret_cast<HICON>(SendMessageW(frame->getHWND(), WM_GETICON, ICON_BIG, 0)));

    frame->setIcon(TEST_ICON);
    EXPECT_NE(firstSmall, frame->getSmallIcon());
    EXPECT_EQ(frame->getSmallIcon(),
              reinterpret_cast<HICON>(SendMessageW(frame->getHWND(), WM_GETICON, ICON_SMALL, 0)));
    ICONINFO gone{};
    EXPECT_FALSE(GetIconInfo(firstSmall, &gone)) << "the replaced icon was not destroyed";
}

TEST(Frame, MissingIconThrowsAndKeepsTheIconsItHad) {
    auto frame = std::make_unique<Frame>(nullptr, L"icons");
    frame->setIcon(TEST_ICON);
    HICON small = frame->getSmallIcon();
    try {
        frame->setIcon(MISSING_ICON);
        FAIL() << "a missing icon resource was accepted";
    } catch (const awt::AWTException& e) {
        EXPECT_EQ(L"::LoadImage() failed", e.getMessage());
        EXPECT_NE(zeno::Exception::NO_ERROR_CODE, e.getErrorCode());
    }
    EXPECT_EQ(small, frame->getSmallIcon());
}

struct NotClosableFrameTest : ::testing::Test {
    std::unique_ptr<Frame> frame = std::make_unique<Frame>(nullptr, L"not closable");
    WindowEventRecorder events;

    void SetUp() override {
        frame->setClosable(false);
        frame->addWindowListener(&events);
        frame->setSize(300, 200);
        frame->setVisible(true);
        ASSERT_TRUE(runUntil([&] { return GetForegroundWindow() == frame->getHWND(); }));
    }
};

TEST_F(NotClosableFrameTest, CloseItemIsGreyedAndCloseCommandsAreIgnored) {
    EXPECT_NE(0u, closeItemState(frame->getHWND()) & MF_GRAYED);

    // What the close box and the system menu send.
    SendMessageW(frame->getHWND(), WM_SYSCOMMAND, SC_CLOSE, 0);
    // Alt+F4 from the keyboard.
    pressKey(VK_MENU, true);
    pressKey(VK_F4, true);
    pressKey(VK_F4, false);
    pressKey(VK_MENU, false);
    pumpFor(150);

    EXPECT_EQ(0, events.closing);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(IsWindowVisible(frame->getHWND()));

    frame->setClosable(true);
    EXPECT_EQ(0u, closeItemState(frame->getHWND()) & MF_GRAYED);
    pressKey(VK_MENU, true);
    pressKey(VK_F4, true);
    pressKey(VK_F4, false);
    pressKey(VK_MENU, false);
    EXPECT_TRUE(runUntil([&] { return !frame->isVisible(); }));
    EXPECT_EQ(1, events.closing);
}

TEST(FrameIconify, ConsumedIconifyKeepsTheWindowAndRestoreIsReported) {
    auto frame = std::make_unique<Frame>(nullptr, L"iconify");
    WindowEventRecorder events;
    frame->addWindowListener(&events);
    frame->setVisible(true);
    pumpFor(30);

    events.consumeIconified = true;
    SendMessageW(frame->getHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    pumpFor(30);
    EXPECT_EQ(1, events.iconified);
    EXPECT_FALSE(IsIconic(frame->getHWND()));

    events.consumeIconified = false;
    SendMessageW(frame->getHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(runUntil([&] { return IsIconic(frame->getHWND()) != FALSE; }));
    EXPECT_EQ(2, events.iconified);

    events.consumeDeiconified = true;
    SendMessageW(frame->getHWND(), WM_SYSCOMMAND, SC_RESTORE, 0);
    pumpFor(30);
    EXPECT_EQ(1, events.deiconified);
    EXPECT_TRUE(IsIconic(frame->getHWND()));

    // The low four bits of a system command belong to the system (a double click on the
    // caption restores with SC_RESTORE + 2).
    events.consumeDeiconified = false;
    SendMessageW(frame->getHWND(), WM_SYSCOMMAND, SC_RESTORE | 2, 0);
    EXPECT_TRUE(runUntil([&] { return !IsIconic(frame->getHWND()); }));
    EXPECT_EQ(2, events.deiconified);
}

}  // namespace

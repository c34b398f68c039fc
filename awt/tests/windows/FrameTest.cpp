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

DWORD sizingBits(HWND window) {
    return GetWindowLongW(window, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX);
}

HICON nativeIcon(HWND window, WPARAM which) {
    return reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
}

void pressAltF4() {
    pressKey(VK_MENU, true);
    pressKey(VK_F4, true);
    pressKey(VK_F4, false);
    pressKey(VK_MENU, false);
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

TEST(Frame, StyleAndInsetsOfTheNativeWindowAndResizingIsOptional) {
    auto frame = std::make_unique<Frame>(nullptr, L"style");
    frame->setSize(300, 200);
    frame->createPeer();
    HWND hwnd = frame->getHWND();
    const DWORD style = GetWindowLongW(hwnd, GWL_STYLE);
    const DWORD expected = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME |
                           WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
    EXPECT_EQ(expected, style & (expected | WS_POPUP));
    EXPECT_NE(0u, GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);

    RECT window;
    RECT client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    EXPECT_EQ((awt::Insets{origin.y - window.top, origin.x - window.left,
                           window.bottom - origin.y - client.bottom,
                           window.right - origin.x - client.right}),
              frame->getInsets());
    EXPECT_GT(frame->getInsets().top, frame->getInsets().bottom);

    frame->setResizable(false);
    EXPECT_EQ(0u, sizingBits(hwnd));
    EXPECT_NE(0u, GetWindowLongW(hwnd, GWL_STYLE) & WS_MINIMIZEBOX);

    // Created without: the style comes from the flag, and comes back with it.
    auto fixed = std::make_unique<Frame>(nullptr, L"fixed");
    fixed->setResizable(false);
    fixed->createPeer();
    EXPECT_EQ(0u, sizingBits(fixed->getHWND()));
    fixed->setResizable(true);
    EXPECT_EQ(static_cast<DWORD>(WS_THICKFRAME | WS_MAXIMIZEBOX), sizingBits(fixed->getHWND()));
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
        FAIL() << "a missing icon resource was accepted";
    } catch (const awt::AWTException& e) {
        EXPECT_EQ(L"::LoadImage() failed", e.getMessage());
        EXPECT_NE(zeno::Exception::NO_ERROR_CODE, e.getErrorCode());
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
    ASSERT_TRUE(runUntil([&] { return GetForegroundWindow() == frame->getHWND(); }));
    auto closeItem = [&] {
        return GetMenuState(GetSystemMenu(frame->getHWND(), FALSE), SC_CLOSE, MF_BYCOMMAND);
    };
    EXPECT_NE(0u, closeItem() & MF_GRAYED);

    // What the close box and the system menu send, and Alt+F4 from the keyboard.
    SendMessageW(frame->getHWND(), WM_SYSCOMMAND, SC_CLOSE, 0);
    pressAltF4();
    pumpFor(150);
    EXPECT_EQ(0, events.closing);
    EXPECT_TRUE(IsWindowVisible(frame->getHWND()));

    frame->setClosable(true);
    EXPECT_EQ(0u, closeItem() & MF_GRAYED);
    pressAltF4();
    EXPECT_TRUE(runUntil([&] { return !frame->isVisible(); }));
    EXPECT_EQ(1, events.closing);
}

TEST(Frame, ConsumedIconifyKeepsTheWindowAndRestoreIsReported) {
    auto frame = std::make_unique<Frame>(nullptr, L"iconify");
    WindowEventRecorder events;
    frame->addWindowListener(&events);
    frame->setVisible(true);
    pumpFor(30);
    HWND hwnd = frame->getHWND();

    events.consumeIconified = true;
    SendMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    pumpFor(30);
    EXPECT_FALSE(IsIconic(hwnd));
    events.consumeIconified = false;
    SendMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(runUntil([&] { return IsIconic(hwnd) != FALSE; }));
    EXPECT_EQ(2, events.iconified);

    events.consumeDeiconified = true;
    SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    pumpFor(30);
    EXPECT_TRUE(IsIconic(hwnd));
    // The low four bits of a system command belong to the system (a double click on the
    // caption restores with SC_RESTORE + 2).
    events.consumeDeiconified = false;
    SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE | 2, 0);
    EXPECT_TRUE(runUntil([&] { return !IsIconic(hwnd); }));
    EXPECT_EQ(2, events.deiconified);
}

}  // namespace

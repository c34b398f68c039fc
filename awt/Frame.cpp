#include "awt/Frame.h"

#include "awt/AWTException.h"
#include "awt/Toolkit.h"

namespace awt {

namespace {

constexpr DWORD RESIZABLE_FRAME_STYLE = WS_THICKFRAME | WS_MAXIMIZEBOX;
// Popup, caption, system menu and minimize box are replaced by the frame's own choice.
constexpr DWORD FRAME_STYLE_MASK = 0x7F35FFFF;
constexpr DWORD FRAME_STYLE = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr UINT FRAME_CHANGED_FLAGS = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED;

}  // namespace

Frame::Frame(Window* owner, const std::wstring& title)
    : Window(owner), frameFlags(RESIZABLE | CLOSABLE), title(title) {}

Frame::~Frame() noexcept(false) {
    bigIcon.reset();
    smallIcon.reset();
}

void Frame::setResizable(bool resizable) {
    applyResizableStyle(resizable, RESIZABLE_FRAME_STYLE);
}

void Frame::applyResizableStyle(bool resizable, DWORD bits) {
    if (resizable == isResizable()) {
        return;
    }
    if (resizable) {
        frameFlags |= RESIZABLE;
    } else {
        frameFlags &= static_cast<std::uint8_t>(~RESIZABLE);
    }
    if (hwnd == nullptr) {
        return;
    }
    if (resizable) {
        addStyle(bits);
    } else {
        removeStyle(bits);
    }
    if (!SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, FRAME_CHANGED_FLAGS)) {
        throwLastError(L"::SetWindowPos() failed");
    }
    invalidate();
}

void Frame::setClosable(bool closable) {
    if (closable == isClosable()) {
        return;
    }
    if (closable) {
        frameFlags |= CLOSABLE;
    } else {
        frameFlags &= static_cast<std::uint8_t>(~CLOSABLE);
    }
    if (hwnd != nullptr) {
        applyCloseItemState(hwnd);
    }
}

HWND Frame::createWindow() {
    HWND window = Window::createWindow();
    try {
        if (!isClosable()) {
            applyCloseItemState(window);
        }
        sendIcons(window);
    } catch (...) {
        DestroyWindow(window);
        throw;
    }
    return window;
}

LRESULT Frame::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE && !isClosable()) {
        return 0;
    }
    return Window::windowProc(message, wParam, lParam);
}

LPCWSTR Frame::getWindowText() const {
    return title.c_str();
}

DWORD Frame::getStyle() const {
    DWORD style = (Window::getStyle() & FRAME_STYLE_MASK) | FRAME_STYLE;
    if (isResizable()) {
        style |= RESIZABLE_FRAME_STYLE;
    }
    return style;
}

Insets Frame::getInsets() const {
    return getFrameInsets();
}

void Frame::setTitle(const std::wstring& newTitle) {
    title = newTitle;
    if (hwnd != nullptr) {
        setText(title);
    }
}

void Frame::setTitle(UINT stringId) {
    setTitle(Toolkit::loadString(stringId));
}

const std::wstring& Frame::getTitle() const {
    return title;
}

void Frame::setIcon(UINT iconId) {
    OwnedIcon small(Toolkit::loadIcon(iconId, GetSystemMetrics(SM_CXSMICON),
                                      GetSystemMetrics(SM_CYSMICON)));
    OwnedIcon big(Toolkit::loadIcon(iconId, GetSystemMetrics(SM_CXICON),
                                    GetSystemMetrics(SM_CYICON)));
    smallIcon.reset(small.release());
    bigIcon.reset(big.release());
    if (hwnd != nullptr) {
        sendIcons(hwnd);
    }
}

HICON Frame::getSmallIcon() const {
    return smallIcon.get();
}

HICON Frame::getBigIcon() const {
    return bigIcon.get();
}

bool Frame::isResizable() const {
    return (frameFlags & RESIZABLE) != 0;
}

bool Frame::isClosable() const {
    return (frameFlags & CLOSABLE) != 0;
}

void Frame::applyCloseItemState(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (menu == nullptr) {
        throwLastError(L"::GetSystemMenu() failed");
    }
    EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | (isClosable() ? MF_ENABLED : MF_GRAYED));
}

void Frame::sendIcons(HWND window) {
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
}

}  // namespace awt

#include "awt/BorderedPanel.h"

#include <windowsx.h>

#include "awt/Toolkit.h"

namespace awt {

namespace {

constexpr Insets NOT_COMPUTED{-1, -1, -1, -1};

} // namespace

BorderedPanel::BorderedPanel(UINT titleId) : BorderedPanel(Toolkit::loadString(titleId)) {}

BorderedPanel::BorderedPanel(const std::wstring& title) : title(title), insetsCache(NOT_COMPUTED) {
    setGroup(true);
}

LPCWSTR BorderedPanel::getClassName() const { return L"BUTTON"; }

LPCWSTR BorderedPanel::getWindowText() const { return title.c_str(); }

DWORD BorderedPanel::getStyle() const {
    // Panel's SS_NOTIFY reads as BS_LEFT on a button: a left-aligned caption, the default.
    return Panel::getStyle() | BS_GROUPBOX;
}

LRESULT BorderedPanel::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        bool handled = false;
        const LRESULT result = eraseBackground(reinterpret_cast<HDC>(wParam), &handled);
        if (handled) {
            return result;
        }
        break;
    }
    case WM_NCHITTEST: {
        const Point at = screenToWindow(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (at.x >= 0 && at.x < width && at.y >= 0 && at.y < height) {
            return HTCLIENT;
        }
        break;
    }
    default:
        break;
    }
    return Panel::windowProc(message, wParam, lParam);
}

LRESULT BorderedPanel::eraseBackground(HDC dc, bool* handled) {
    if (parent == nullptr || parent->getHWND() == nullptr) {
        return 0;
    }
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(parent->getHWND(), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(hwnd)));
    if (brush == nullptr) {
        return 0;
    }
    const RECT area{0, 0, width, height};
    FillRect(dc, &area, brush);
    *handled = true;
    return 1;
}

void BorderedPanel::destroyPeer() {
    insetsCache = NOT_COMPUTED;
    Panel::destroyPeer();
}

Insets BorderedPanel::getInsets() const {
    if (hwnd == nullptr) {
        return Insets{};
    }
    if (insetsCache.top == -1) {
        const TEXTMETRICW metrics = getTextMetrics();
        const int h = metrics.tmHeight;
        const int a = metrics.tmAveCharWidth;
        insetsCache.top = h + h / 2;
        insetsCache.left = a + GetSystemMetrics(SM_CXEDGE);
        insetsCache.bottom = h / 2 + GetSystemMetrics(SM_CYEDGE);
        insetsCache.right = insetsCache.left;
    }
    return insetsCache;
}

void BorderedPanel::setTitle(const std::wstring& newTitle) {
    if (newTitle == title) {
        return;
    }
    title = newTitle;
    if (hwnd != nullptr) {
        setText(title);
    }
}

const std::wstring& BorderedPanel::getTitle() const { return title; }

} // namespace awt

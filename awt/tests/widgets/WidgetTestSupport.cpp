#include "WidgetTestSupport.h"

#include <algorithm>

namespace widgets_test {

int showcaseHoldMilliseconds = 0;

void settle() {
    for (int round = 0; round < 50; ++round) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message != WM_QUIT) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        toolkit()->processPending(true);
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && toolkit()->getInvalidQueue().empty() &&
            toolkit()->getRepaintQueue().empty()) {
            return;
        }
    }
}

bool waitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        settle();
        if (condition() || GetTickCount() - start >= milliseconds) {
            return condition();
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

namespace {

void CALLBACK endLoop(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    PostQuitMessage(0);
}

} // namespace

void runLoopFor(UINT milliseconds) {
    SetTimer(nullptr, 0, milliseconds, endLoop);
    toolkit()->run();
}

void TestWindow::mouseEnteredComponent(awt::Component* component, int atX, int atY) {
    if (mouseOver != nullptr && mouseOver->getHWND() != nullptr && component->getHWND() != nullptr) {
        POINT point{atX, atY};
        MapWindowPoints(component->getHWND(), mouseOver->getHWND(), &point, 1);
        mouseOver->notifyMouseExited(point.x, point.y);
    }
    mouseOver = component;
}

FontProbe::FontProbe(HWND window) : window(window), dc(GetDC(window)), previous(nullptr) {
    if (auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0))) {
        previous = SelectObject(dc, font);
    }
}

FontProbe::~FontProbe() {
    if (previous != nullptr) {
        SelectObject(dc, previous);
    }
    ReleaseDC(window, dc);
}

TEXTMETRICW FontProbe::metrics() const {
    TEXTMETRICW result{};
    GetTextMetricsW(dc, &result);
    return result;
}

SIZE FontProbe::extent(const std::wstring& text) const {
    SIZE result{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &result);
    return result;
}

int FontProbe::widest(const std::vector<std::wstring>& lines) const {
    int result = 0;
    for (const std::wstring& line : lines) {
        result = std::max(result, static_cast<int>(extent(line).cx));
    }
    return result;
}

awt::Insets frameOf(HWND window) {
    RECT rect{0, 0, 0, 0};
    AdjustWindowRectEx(&rect, styleOf(window), FALSE, static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
    return awt::Insets{-rect.top, -rect.left, rect.bottom, rect.right};
}

std::wstring windowText(HWND window) {
    std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

} // namespace widgets_test

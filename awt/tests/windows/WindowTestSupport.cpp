#include "WindowTestSupport.h"

#include <map>
#include <memory>

#include "awt/Toolkit.h"

namespace {

std::map<UINT_PTR, DelayedAction*>& pendingActions() {
    static std::map<UINT_PTR, DelayedAction*> actions;
    return actions;
}

constexpr int DONE = 0;
constexpr int TIMED_OUT = 1;

}  // namespace

bool runUntil(const std::function<bool()>& done, DWORD limitMs) {
    if (done()) {
        awt::Toolkit::getInstance()->processPending(false);
        return true;
    }
    const DWORD start = GetTickCount();
    bool reached = false;
    std::function<void()> poll;
    std::unique_ptr<DelayedAction> next;
    poll = [&] {
        if (done()) {
            reached = true;
            PostQuitMessage(DONE);
        } else if (GetTickCount() - start > limitMs) {
            PostQuitMessage(TIMED_OUT);
        } else {
            next = std::make_unique<DelayedAction>(10, poll);
        }
    };
    next = std::make_unique<DelayedAction>(10, poll);
    awt::Toolkit::getInstance()->run();
    return reached;
}

void pumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    runUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

DelayedAction::DelayedAction(DWORD delayMs, std::function<void()> action)
    : timer(SetTimer(nullptr, 0, delayMs, &DelayedAction::onTimer)), action(std::move(action)),
      ran(false) {
    pendingActions()[timer] = this;
}

DelayedAction::~DelayedAction() {
    if (!ran) {
        KillTimer(nullptr, timer);
        pendingActions().erase(timer);
    }
}

void CALLBACK DelayedAction::onTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto found = pendingActions().find(id);
    if (found == pendingActions().end()) {
        return;
    }
    DelayedAction* self = found->second;
    pendingActions().erase(found);
    self->ran = true;
    // Moved out first: the action may destroy this object.
    std::function<void()> action = std::move(self->action);
    action();
}

LoopWatchdog::LoopWatchdog(DWORD limitMs) : timeout(limitMs, [] { PostQuitMessage(99); }) {}

TestButton::TestButton(const std::wstring& text, std::function<void()> onClick)
    : text(text), onClick(std::move(onClick)) {}

DWORD TestButton::getStyle() const {
    return Component::getStyle() | WS_TABSTOP | BS_PUSHBUTTON;
}

LRESULT TestButton::processCommand(UINT code, WPARAM, bool* handled) {
    if (code == BN_CLICKED && onClick) {
        onClick();
        *handled = true;
    }
    return 0;
}

void pressKey(WORD virtualKey, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(input));
}

void clickAt(int screenX, int screenY) {
    SetCursorPos(screenX, screenY);
    INPUT inputs[2]{};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

bool findCloseBox(HWND window, POINT* point) {
    RECT rect;
    GetWindowRect(window, &rect);
    for (int py = rect.top; py < rect.top + 40 && py < rect.bottom; py += 2) {
        for (int px = rect.right - 1; px > rect.right - 80 && px > rect.left; px -= 2) {
            const LRESULT hit = SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(px, py));
            if (hit == HTCLOSE) {
                point->x = px - 3;
                point->y = py + 3;
                return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(point->x, point->y)) ==
                       HTCLOSE;
            }
        }
    }
    return false;
}

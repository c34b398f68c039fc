#include "awt/tests/support/Input.h"

#include <cstring>
#include <iterator>
#include <vector>

namespace test {

namespace {

INPUT key(WORD virtualKey, wchar_t unit, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = virtualKey != 0 ? static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) : unit;
    input.ki.dwFlags = (virtualKey == 0 ? KEYEVENTF_UNICODE : 0) | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

void send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

} // namespace

void pressKey(WORD virtualKey, bool down) {
    send({key(virtualKey, 0, !down)});
}

void press(WORD virtualKey, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers) {
        inputs.push_back(key(modifier, 0, false));
    }
    inputs.push_back(key(virtualKey, 0, false));
    inputs.push_back(key(virtualKey, 0, true));
    for (auto modifier = std::rbegin(modifiers); modifier != std::rend(modifiers); ++modifier) {
        inputs.push_back(key(*modifier, 0, true));
    }
    send(inputs);
}

void typeText(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t unit : text) {
        inputs.push_back(key(0, unit, false));
        inputs.push_back(key(0, unit, true));
    }
    send(inputs);
}

void clickAt(int screenX, int screenY) {
    SetCursorPos(screenX, screenY);
    INPUT down{};
    down.type = INPUT_MOUSE;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    INPUT up = down;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    send({down, up});
}

HeldKeys::HeldKeys(std::initializer_list<int> virtualKeys) {
    GetKeyboardState(saved);
    BYTE state[256];
    std::memcpy(state, saved, sizeof(state));
    for (int key : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN, VK_LSHIFT, VK_RSHIFT,
                    VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU}) {
        state[key] = 0;
    }
    for (int key : virtualKeys) {
        state[key] = 0x80;
    }
    SetKeyboardState(state);
}

HeldKeys::~HeldKeys() {
    SetKeyboardState(saved);
}

} // namespace test

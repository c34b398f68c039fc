#include "awt/tests/support/Input.h"

#include <cstring>
#include <vector>

namespace test {

namespace {

// A key by virtual key, or (virtualKey 0) a UTF-16 unit as typed.
INPUT key(WORD virtualKey, bool up, wchar_t unit = 0) {
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

void press(WORD virtualKey, std::initializer_list<WORD> modifiers) {
    std::vector<WORD> keys(modifiers);
    keys.push_back(virtualKey);
    // Down in order, up in the reverse order.
    std::vector<INPUT> inputs(2 * keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        inputs[i] = key(keys[i], false);
        inputs[inputs.size() - 1 - i] = key(keys[i], true);
    }
    send(inputs);
}

void typeText(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t unit : text) {
        inputs.push_back(key(0, false, unit));
        inputs.push_back(key(0, true, unit));
    }
    send(inputs);
}

void clickAt(int screenX, int screenY) {
    SetCursorPos(screenX, screenY);
    INPUT down{INPUT_MOUSE, {}}, up{INPUT_MOUSE, {}};
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    send({down, up});
}

HeldKeys::HeldKeys(std::initializer_list<int> virtualKeys) {
    GetKeyboardState(saved);
    BYTE state[256];
    std::memcpy(state, saved, sizeof(state));
    for (int modifier : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN, VK_LSHIFT, VK_RSHIFT, VK_LCONTROL,
                         VK_RCONTROL, VK_LMENU, VK_RMENU}) {
        state[modifier] = 0;
    }
    for (int held : virtualKeys) { state[held] = 0x80; }
    SetKeyboardState(state);
}

HeldKeys::~HeldKeys() {
    SetKeyboardState(saved);
}

} // namespace test

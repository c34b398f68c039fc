#pragma once

// Real input through the system's input queue (SendInput), as a user gives it. It reaches the
// window in front; run a loop afterwards for it to arrive.

#include <initializer_list>
#include <string>

#include <windows.h>

namespace test {

// A whole stroke of the key while the modifiers (VK_SHIFT, VK_CONTROL, VK_MENU) are held.
void press(WORD virtualKey, std::initializer_list<WORD> modifiers = {});
// The characters as typed, whatever the keyboard layout.
void typeText(const std::wstring& text);
// Moves the cursor there and clicks the left button.
void clickAt(int screenX, int screenY);

// Sets the thread's key state so that the given keys read as held (and no other modifier);
// restores the state when it goes. Reaches only messages sent directly, not the input queue.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<int> virtualKeys = {});
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;
    ~HeldKeys();

private:
    BYTE saved[256];
};

} // namespace test

#include "awt/Event.h"

#include <windows.h>

namespace awt {

namespace {

bool isDown(int virtualKey) {
    return GetKeyState(virtualKey) < 0;
}

} // namespace

std::uint32_t getModifiers() {
    std::uint32_t modifiers = 0;
    if (isDown(VK_SHIFT)) {
        modifiers |= KeyEvent::SHIFT;
    }
    if (isDown(VK_CONTROL)) {
        modifiers |= KeyEvent::CONTROL;
    }
    if (isDown(VK_MENU)) {
        modifiers |= KeyEvent::ALT;
    }
    if (isDown(VK_LWIN) || isDown(VK_RWIN)) {
        modifiers |= KeyEvent::WINDOWS;
    }
    return modifiers;
}

} // namespace awt

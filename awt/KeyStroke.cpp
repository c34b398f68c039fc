#include "awt/KeyStroke.h"

#include "awt/Event.h"

namespace awt {

KeyStroke KeyStroke::fromKeyEvent(std::uint32_t keyCode, std::uint32_t eventModifiers) {
    std::uint32_t modifiers = 0;
    if (eventModifiers & KeyEvent::SHIFT) {
        modifiers |= MOD_SHIFT;
    }
    if (eventModifiers & KeyEvent::CONTROL) {
        modifiers |= MOD_CONTROL;
    }
    if (eventModifiers & KeyEvent::ALT) {
        modifiers |= MOD_ALT;
    }
    if (eventModifiers & KeyEvent::WINDOWS) {
        modifiers |= MOD_WIN;
    }
    return KeyStroke(keyCode, modifiers);
}

}  // namespace awt

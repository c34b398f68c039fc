#pragma once

#include <cstdint>

#include <windows.h>

namespace awt {

// A key with the modifiers that must be held, as a key accelerator is bound to it. The
// modifiers use the RegisterHotKey flags (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN); strokes
// are ordered and compared by key code, then modifiers.
struct KeyStroke {
    std::uint32_t keyCode = 0;
    std::uint32_t modifiers = 0;
    // Set by no producer; takes no part in comparisons.
    std::uint8_t onKeyRelease = 0;

    KeyStroke() = default;
    KeyStroke(std::uint32_t keyCode, std::uint32_t modifiers) : keyCode(keyCode), modifiers(modifiers) {}

    // The stroke of a key event's code and modifier flags (awt::KeyEvent::SHIFT, ...).
    static KeyStroke fromKeyEvent(std::uint32_t keyCode, std::uint32_t eventModifiers);
};

inline bool operator<(const KeyStroke& a, const KeyStroke& b) {
    if (a.keyCode != b.keyCode) {
        return a.keyCode < b.keyCode;
    }
    return a.modifiers < b.modifiers;
}

inline bool operator==(const KeyStroke& a, const KeyStroke& b) {
    return a.keyCode == b.keyCode && a.modifiers == b.modifiers;
}

}  // namespace awt

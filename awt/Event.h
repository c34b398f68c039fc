#pragma once

#include <cstdint>

namespace awt {

class Component;

// Every event starts with its source and the consumed flag; a listener sets consumed to keep the
// firing component from doing its default processing.
struct Event {
    Component* source = nullptr;
    bool consumed = false;
};

struct ComponentEvent : Event {};
using FocusEvent = ComponentEvent;
using WindowEvent = ComponentEvent;

// Fired by buttons, text fields and lists; nothing beyond the common fields.
struct ActionEvent : Event {};
struct ItemEvent : Event {};
struct TextEvent : Event {};

struct MouseEvent : Event {
    static constexpr std::int32_t ENTERED = 0;
    static constexpr std::int32_t EXITED = 1;
    static constexpr std::int32_t PRESSED = 2;
    static constexpr std::int32_t RELEASED = 3;
    static constexpr std::int32_t DOUBLE_CLICKED = 4;

    static constexpr std::int32_t NO_BUTTON = 0;
    static constexpr std::int32_t LEFT_BUTTON = 1;
    static constexpr std::int32_t RIGHT_BUTTON = 2;
    static constexpr std::int32_t MIDDLE_BUTTON = 3;

    std::int32_t id = 0;
    std::int32_t button = 0;
    // Window coordinates of the source.
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t clickCount = 0;
};

struct KeyEvent : Event {
    static constexpr std::int32_t PRESSED = 0;
    static constexpr std::int32_t RELEASED = 1;
    static constexpr std::int32_t TYPED = 2;

    // Modifier flags (getModifiers).
    static constexpr std::uint32_t SHIFT = 1;
    static constexpr std::uint32_t CONTROL = 2;
    static constexpr std::uint32_t ALT = 4;
    static constexpr std::uint32_t WINDOWS = 8;

    std::int32_t id = 0;
    // Virtual-key code when pressed or released, the UTF-16 unit when typed.
    std::uint32_t keyCode = 0;
    std::uint32_t modifiers = 0;
};

struct ContainerEvent : Event {
    static constexpr std::int32_t ADDED = 1;
    static constexpr std::int32_t REMOVED = -1;

    std::int32_t id = 0;
    Component* child = nullptr;
};

// The modifier keys held now (thread key state): KeyEvent::SHIFT, CONTROL, ALT, WINDOWS.
std::uint32_t getModifiers();

} // namespace awt

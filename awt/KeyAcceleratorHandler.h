#pragma once

#include <map>

#include "awt/KeyStroke.h"
#include "awt/MessagePreprocessor.h"
#include "awt/Window.h"

namespace awt {

class KeyListener;

// Sits in the toolkit's preprocessor chain while its window is active and hands a key press
// whose key and modifiers are bound to the bound listener before the message is dispatched.
// Only WM_KEYDOWN is looked at, so Alt combinations (WM_SYSKEYDOWN) never reach accelerators.
class Window::KeyAcceleratorHandler final : public MessagePreprocessor {
public:
    explicit KeyAcceleratorHandler(Window* window);
    KeyAcceleratorHandler(const KeyAcceleratorHandler&) = delete;
    KeyAcceleratorHandler& operator=(const KeyAcceleratorHandler&) = delete;
    ~KeyAcceleratorHandler() = default;

    void preprocess(MSG* message, bool* handled) override;

    // Replaces an earlier binding of the same stroke.
    void bind(const KeyStroke& stroke, KeyListener* listener);
    KeyListener* find(const KeyStroke& stroke) const;

private:
    Window* window;
    std::map<KeyStroke, KeyListener*> bindings;
};

}  // namespace awt

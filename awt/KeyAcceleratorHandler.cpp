#include "awt/KeyAcceleratorHandler.h"

#include "awt/Event.h"
#include "awt/Listener.h"

namespace awt {

Window::KeyAcceleratorHandler::KeyAcceleratorHandler(Window* window) : window(window) {}

void Window::KeyAcceleratorHandler::preprocess(MSG* message, bool* handled) {
    if (message->message != WM_KEYDOWN) {
        return;
    }
    KeyEvent event;
    event.source = window;
    event.id = KeyEvent::PRESSED;
    event.keyCode = static_cast<std::uint32_t>(message->wParam);
    event.modifiers = getModifiers();
    KeyListener* listener = find(KeyStroke::fromKeyEvent(event.keyCode, event.modifiers));
    if (listener == nullptr) {
        return;
    }
    listener->keyPressed(&event);
    if (event.consumed) {
        *handled = true;
    }
}

void Window::KeyAcceleratorHandler::bind(const KeyStroke& stroke, KeyListener* listener) {
    bindings[stroke] = listener;
}

KeyListener* Window::KeyAcceleratorHandler::find(const KeyStroke& stroke) const {
    auto found = bindings.find(stroke);
    return found != bindings.end() ? found->second : nullptr;
}

}  // namespace awt

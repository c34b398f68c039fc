#include "awt/Listener.h"

namespace awt {

// Constant-initialized (constexpr constructor), so they are valid before any dynamic initializer.
const ListenerTag MouseListener::TAG{L"awt::MouseListener"};
const ListenerTag KeyListener::TAG{L"awt::KeyListener"};
const ListenerTag FocusListener::TAG{L"awt::FocusListener"};
const ListenerTag ContainerListener::TAG{L"awt::ContainerListener"};
const ListenerTag WindowListener::TAG{L"awt::WindowListener"};
const ListenerTag ActionListener::TAG{L"awt::ActionListener"};
const ListenerTag ItemListener::TAG{L"awt::ItemListener"};
const ListenerTag TextListener::TAG{L"awt::TextListener"};

} // namespace awt

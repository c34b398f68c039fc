#pragma once

#include <windows.h>

namespace awt {

// Sees every message of the toolkit's loop before it is translated and dispatched. Setting
// *handled keeps the message from being translated and dispatched. An implementer must not add
// or remove preprocessors while it handles a message (the loop throws).
class MessagePreprocessor {
public:
    virtual void preprocess(MSG* message, bool* handled) = 0;

protected:
    // Preprocessors are never deleted through this interface.
    ~MessagePreprocessor() = default;
};

} // namespace awt

#pragma once

#include <windows.h>

namespace awt {

// What the message loop passes to a wait handler when its kernel object is signalled.
struct WaitEvent {
    HANDLE handle = nullptr;
    bool abandoned = false;
};

// Reacts to a kernel object that the toolkit's loop waits on besides messages.
class WaitHandler {
public:
    virtual ~WaitHandler() = default;
    virtual void handleWait(WaitEvent* event) = 0;
};

} // namespace awt

#pragma once

#include <windows.h>

namespace awt {

// Owns one icon handle; null means nothing to destroy. reset() on the normal path throws
// AWTException "::DestroyIcon() failed"; the destructor destroys what is left silently.
class OwnedIcon {
public:
    explicit OwnedIcon(HICON icon = nullptr) : icon(icon) {}
    OwnedIcon(const OwnedIcon&) = delete;
    OwnedIcon& operator=(const OwnedIcon&) = delete;
    ~OwnedIcon();

    HICON get() const { return icon; }
    void reset(HICON replacement = nullptr);
    // Gives up ownership without destroying.
    HICON release() {
        HICON released = icon;
        icon = nullptr;
        return released;
    }

private:
    HICON icon;
};

}  // namespace awt

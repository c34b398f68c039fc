#include "awt/OwnedIcon.h"

#include "awt/AWTException.h"

namespace awt {

OwnedIcon::~OwnedIcon() {
    if (icon != nullptr) {
        ::DestroyIcon(icon);
    }
}

void OwnedIcon::reset(HICON replacement) {
    HICON old = icon;
    icon = replacement;
    if (old != nullptr && !::DestroyIcon(old)) {
        throwLastError(L"::DestroyIcon() failed");
    }
}

}  // namespace awt

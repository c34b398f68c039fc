#include "awt/GdiObject.h"

#include "awt/AWTException.h"

namespace awt {

void deleteGdiObject(HGDIOBJ object) {
    if (!DeleteObject(object)) {
        throwLastError(L"::DeleteObject() failed");
    }
}

} // namespace awt

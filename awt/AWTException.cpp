#include "awt/AWTException.h"

#include <windows.h>

namespace awt {

AWTException::AWTException(const std::wstring& message, std::uint32_t errorCode)
    : zeno::Exception(message, errorCode) {}

void throwLastError(const std::wstring& message) {
    throw AWTException(message, GetLastError());
}

} // namespace awt

#pragma once

#include <cstdint>
#include <string>

#include "zeno/Exception.h"

namespace awt {

// Failures of the GUI toolkit: failed system calls (code from GetLastError) and toolkit misuse
// that is not an argument or state error (code zeno::Exception::NO_ERROR_CODE).
class AWTException : public zeno::Exception {
public:
    AWTException(const std::wstring& message, std::uint32_t errorCode);
};

// Throws AWTException with the message and the calling thread's last error.
[[noreturn]] void throwLastError(const std::wstring& message);

} // namespace awt

#pragma once

#include <cstdint>
#include <string>

namespace zeno {

// Appends the system's message text for a Win32 error code (line end included, as the system
// gives it). Throws zeno::Exception "::FormatMessage() failed" when the system has no text.
void formatMessage(std::uint32_t code, std::wstring& appendTo);

} // namespace zeno

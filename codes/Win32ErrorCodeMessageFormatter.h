#pragma once

#include "codes/MessageFormatter.h"

// Win32 error texts from the system's message table, inserts left as they stand.
class Win32ErrorCodeMessageFormatter : public MessageFormatter {
public:
    // Empty when the system has no text.
    std::wstring format(std::uint32_t code) const override;
};

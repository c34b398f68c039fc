#pragma once

#include <cstdint>
#include <string>

// Turns a code into the system's message text for it.
class MessageFormatter {
public:
    virtual ~MessageFormatter() = default;

    // The text as the system gives it (its line end included), empty when it has none.
    virtual std::wstring format(std::uint32_t code) const = 0;
};

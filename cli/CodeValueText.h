#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Reads a query as a 32-bit code value, as a user pastes it from a log:
//   0xC0000005, 0XC0000005   hexadecimal after 0x or 0X (one to eight digits, leading zeros aside)
//   C0000005, DEADBEEF       bare hexadecimal: hex digits only, at least one of them a letter A-F
//   3221225477, 5, 10        bare decimal digits are always decimal (up to 4294967295)
//   -1073741819              a signed 32-bit value (down to -2147483648), taken as its 32 bits
// Anything else (a name, a part of one, a number out of range) gives no value.
std::optional<std::uint32_t> parseCodeValue(const std::wstring& text);

// 0x and eight upper-case hexadecimal digits, as the SDK headers write codes: 0xC0000005.
std::wstring hexText(std::uint32_t value);

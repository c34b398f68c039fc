#pragma once

#include <cstdint>
#include <string>

// The 8-bit form of the configuration file's values. ASCII stays one byte per unit; other
// units are written as UTF-8, lone surrogates included (3 bytes each), so every wide string
// comes back unchanged.
std::string encodeUtf8(const std::wstring& text);

// Appends the units of 8-bit text: each well-formed UTF-8 sequence becomes its units, every
// other byte one unit by sign extension (0x80..0xFF give U+FF80..U+FFFF).
void decodeUtf8(const char* bytes, std::uint32_t length, std::wstring& appendTo);

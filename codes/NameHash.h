#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// One hash for a name given as 16-bit units or as the 8-bit text of a header, whose bytes stand
// for units by sign extension: the same units give the same hash either way, so the names a scan
// collects can be looked up among the names a table stores. Only the low byte of each unit is
// hashed (a header byte is the low byte of its unit), so the bytes of a header go in four at a time;
// units that differ only in their high byte collide, and the look-ups compare whole names anyway.
namespace nameHashing {

inline std::uint32_t fourLowBytes(const char* bytes)
{
    std::uint32_t four;
    std::memcpy(&four, bytes, 4);
    return four; // x86 is little-endian: the first byte is the lowest
}

inline std::uint32_t fourLowBytes(const wchar_t* units)
{
    return static_cast<std::uint8_t>(units[0]) | static_cast<std::uint8_t>(units[1]) << 8
           | static_cast<std::uint8_t>(units[2]) << 16 | static_cast<std::uint32_t>(static_cast<std::uint8_t>(units[3])) << 24;
}

inline std::uint32_t mix(std::uint32_t hash, std::uint32_t word)
{
    hash = (hash ^ word) * 0x85EBCA6Bu;
    return hash ^ hash >> 15;
}

} // namespace nameHashing

template <typename Char>
std::uint32_t nameHash(std::basic_string_view<Char> name)
{
    using namespace nameHashing;
    std::uint32_t hash = static_cast<std::uint32_t>(name.size()) * 0x9E3779B1u;
    std::size_t i = 0;
    for (; i + 4 <= name.size(); i += 4) {
        hash = mix(hash, fourLowBytes(name.data() + i));
    }
    if (i < name.size()) {
        std::uint32_t rest = 0;
        for (std::size_t shift = 0; i < name.size(); ++i, shift += 8) {
            rest |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(name[i])) << shift;
        }
        hash = mix(hash, rest);
    }
    return hash ^ hash >> 13;
}

#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// One hash for a name given as 16-bit units or as the 8-bit text of a header, whose bytes stand
// for units by sign extension: the same units give the same hash either way, so the names a scan
// collects can be looked up among the names a table stores.
namespace nameHashing {

inline std::uint32_t unitOf(char byte)
{
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(static_cast<signed char>(byte)));
}

inline std::uint32_t unitOf(wchar_t unit)
{
    return static_cast<std::uint16_t>(unit);
}

} // namespace nameHashing

template <typename Char>
std::uint32_t nameHash(std::basic_string_view<Char> name)
{
    using nameHashing::unitOf;
    std::uint32_t hash = static_cast<std::uint32_t>(name.size()) * 0x9E3779B1u;
    std::size_t i = 0;
    for (; i + 2 <= name.size(); i += 2) {
        hash = (hash ^ (unitOf(name[i]) | unitOf(name[i + 1]) << 16)) * 0x85EBCA6Bu;
        hash ^= hash >> 15;
    }
    if (i < name.size()) {
        hash = (hash ^ unitOf(name[i])) * 0x85EBCA6Bu;
    }
    return hash ^ hash >> 13;
}

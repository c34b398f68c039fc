#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory_resource>
#include <vector>

class CodeTable;

// The NTSTATUS values that translate to one Win32 error code, ascending and free of duplicates.
using NtStatusList = std::pmr::vector<std::uint32_t>;

namespace reverse_map_detail {
// A base, so that the memory is made before the map that takes from it and freed after it.
struct Memory {
    explicit Memory(std::size_t firstBlockBytes) : memory(firstBlockBytes) {}
    std::pmr::monotonic_buffer_resource memory;
};
} // namespace reverse_map_detail

// Win32 error code -> the NTSTATUS values that translate to it. A code that nothing translates to
// has no entry (never an empty list). Nodes and lists come from the map's own blocks, released
// together with it: under some heaps a call per node and per list costs more than the rest of the
// build (about 2,000 of them for a current SDK).
class ReverseMap : private reverse_map_detail::Memory, public std::pmr::map<std::uint32_t, NtStatusList> {
public:
    ReverseMap();
    ReverseMap(std::initializer_list<value_type> entries);
    ReverseMap(const ReverseMap&) = delete;
    ReverseMap& operator=(const ReverseMap&) = delete;
};

// Adds every value of the NTSTATUS table under the Win32 code it translates to; values without
// counterpart are left out. Build it once: the map is not cleared first.
void buildReverseMap(ReverseMap& reverseMap, const CodeTable& ntStatusTable);

// The NTSTATUS values for a Win32 error code; throws NotMappedException when there are none.
const NtStatusList& win32ToNtStatus(const ReverseMap& reverseMap, std::uint32_t win32Code);

#pragma once

#include <cstdint>
#include <map>
#include <vector>

class CodeTable;

// Win32 error code -> the NTSTATUS values that translate to it, each vector ascending and free
// of duplicates. A code that nothing translates to has no entry (never an empty vector).
using ReverseMap = std::map<std::uint32_t, std::vector<std::uint32_t>>;

// Adds every value of the NTSTATUS table under the Win32 code it translates to; values without
// counterpart are left out. Build it once: the map is not cleared first.
void buildReverseMap(ReverseMap& reverseMap, const CodeTable& ntStatusTable);

// The NTSTATUS values for a Win32 error code; throws NotMappedException when there are none.
const std::vector<std::uint32_t>& win32ToNtStatus(const ReverseMap& reverseMap, std::uint32_t win32Code);

#include "codes/ReverseMap.h"

#include "codes/CodeExceptions.h"
#include "codes/CodeTable.h"
#include "codes/NtStatusMapping.h"

void buildReverseMap(ReverseMap& reverseMap, const CodeTable& ntStatusTable)
{
    // The table iterates in ascending value order, so appending keeps every vector sorted.
    for (const auto& entry : ntStatusTable) {
        std::uint32_t win32Code = platformNtStatusToDosError(entry.first);
        if (win32Code != NO_WIN32_COUNTERPART) {
            reverseMap[win32Code].push_back(entry.first);
        }
    }
}

const std::vector<std::uint32_t>& win32ToNtStatus(const ReverseMap& reverseMap, std::uint32_t win32Code)
{
    auto found = reverseMap.find(win32Code);
    if (found == reverseMap.end()) {
        throw NotMappedException();
    }
    return found->second;
}

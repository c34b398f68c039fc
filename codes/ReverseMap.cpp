#include "codes/ReverseMap.h"

#include "codes/CodeExceptions.h"
#include "codes/CodeTable.h"
#include "codes/NtStatusMapping.h"

#include <algorithm>
#include <utility>

namespace {

// Enough for the map of a current SDK in two blocks.
constexpr std::size_t FIRST_BLOCK_BYTES = 16384;

} // namespace

ReverseMap::ReverseMap() : Memory(FIRST_BLOCK_BYTES), map(&memory) {}

ReverseMap::ReverseMap(std::initializer_list<value_type> entries) : ReverseMap()
{
    insert(entries);
}

void buildReverseMap(ReverseMap& reverseMap, const CodeTable& ntStatusTable)
{
    // (Win32 code, NTSTATUS value) in ascending order, entered code by code: each node goes in at
    // its hint after the previous one, and each list is sized once.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> translations;
    translations.reserve(ntStatusTable.size());
    for (const auto& entry : ntStatusTable) {
        const std::uint32_t win32Code = platformNtStatusToDosError(entry.first);
        if (win32Code != NO_WIN32_COUNTERPART) {
            translations.emplace_back(win32Code, entry.first);
        }
    }
    std::sort(translations.begin(), translations.end());
    auto hint = reverseMap.end();
    for (auto first = translations.begin(); first != translations.end();) {
        const std::uint32_t win32Code = first->first;
        const auto last = std::find_if(first, translations.end(), [&](const auto& t) { return t.first != win32Code; });
        hint = reverseMap.try_emplace(hint, win32Code);
        NtStatusList& ntStatuses = hint->second;
        ntStatuses.reserve(ntStatuses.size() + static_cast<std::size_t>(last - first));
        for (; first != last; ++first) {
            ntStatuses.push_back(first->second);
        }
        ++hint;
    }
}

const NtStatusList& win32ToNtStatus(const ReverseMap& reverseMap, std::uint32_t win32Code)
{
    auto found = reverseMap.find(win32Code);
    if (found == reverseMap.end()) {
        throw NotMappedException();
    }
    return found->second;
}

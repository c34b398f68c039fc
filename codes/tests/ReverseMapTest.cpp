#include "codes/ReverseMap.h"

#include "codes/CodeTable.h"
#include "codes/NtStatusMapping.h"

#include "zeno/tests/Thrown.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include <windows.h>
#include <winternl.h>

namespace {

// Values in no facility that the platform knows: it answers 317 for them.
const std::uint32_t untranslatable[] = {0xC0DE0001, 0xC0DE0002, 0xC0DEFFFF};

TEST(ReverseMap, ListsEveryTranslatableValueInAscendingOrderUnderItsCodeAndNothingFor317)
{
    CodeTable table;
    for (std::uint32_t value : untranslatable) {
        ASSERT_EQ(317u, RtlNtStatusToDosError(static_cast<NTSTATUS>(value))) << std::hex << value;
        table.add(value, L"STATUS_UNKNOWN_" + std::to_wstring(value));
    }
    table.add(0xC0000034, L"STATUS_OBJECT_NAME_NOT_FOUND");
    table.add(0xC000000F, L"STATUS_NO_SUCH_FILE");
    table.add(0, L"STATUS_SUCCESS");
    ReverseMap reverseMap;
    buildReverseMap(reverseMap, table);
    EXPECT_EQ((ReverseMap{{0, {0}}, {2, {0xC000000F, 0xC0000034}}}), reverseMap);
    EXPECT_EQ(&reverseMap.at(2), &win32ToNtStatus(reverseMap, 2));
    EXPECT_EQ(L"class NotMappedException", zeno_test::outcome([&] { win32ToNtStatus(reverseMap, 317); }));
    EXPECT_EQ(L"class NotMappedException", zeno_test::outcome([&] { win32ToNtStatus(reverseMap, 5); }));
}

TEST(NtStatusToWin32, TranslatesOrReportsNoCounterpart)
{
    const std::pair<std::uint32_t, std::wstring> cases[] = {
        {0, L"0"},             // STATUS_SUCCESS: a valid mapping
        {0xC0000005, L"998"},  // STATUS_ACCESS_VIOLATION -> ERROR_NOACCESS
        {0xC0000034, L"2"},    // STATUS_OBJECT_NAME_NOT_FOUND -> ERROR_FILE_NOT_FOUND
        {0xC0000022, L"5"},    // STATUS_ACCESS_DENIED -> ERROR_ACCESS_DENIED
        {untranslatable[0], L"class NotMappedException"},
        {untranslatable[2], L"class NotMappedException"},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(testCase.second, zeno_test::outcome([&] { return ntStatusToWin32(testCase.first); })) << testCase.first;
    }
}

} // namespace

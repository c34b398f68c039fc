#include "codes/ReverseMap.h"

#include "codes/CodeExceptions.h"
#include "codes/CodeTable.h"
#include "codes/HeaderScanner.h"
#include "codes/NtStatusMapping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include <windows.h>
#include <winternl.h>

namespace {

// The platform's own answer, asked directly, to check the premises of each case.
std::uint32_t platformAnswer(std::uint32_t ntStatus)
{
    return RtlNtStatusToDosError(static_cast<NTSTATUS>(ntStatus));
}

// Values in no facility that the platform knows.
const std::vector<std::uint32_t> untranslatable = {0xC0DE0001, 0xC0DE0002, 0xC0DEFFFF};

TEST(ReverseMap, OfValuesWithoutCounterpartIsEmpty)
{
    CodeTable table;
    for (std::uint32_t value : untranslatable) {
        ASSERT_EQ(317u, platformAnswer(value)) << std::hex << value;
        table.add(value, L"STATUS_UNKNOWN_" + std::to_wstring(value));
    }
    ReverseMap reverseMap;
    buildReverseMap(reverseMap, table);
    EXPECT_TRUE(reverseMap.empty());
    EXPECT_THROW(win32ToNtStatus(reverseMap, 317), NotMappedException);
    EXPECT_THROW(win32ToNtStatus(reverseMap, 0), NotMappedException);
}

TEST(ReverseMap, ListsValuesOfOneCodeInAscendingOrder)
{
    const std::uint32_t noSuchFile = 0xC000000F;        // STATUS_NO_SUCH_FILE
    const std::uint32_t objectNameNotFound = 0xC0000034; // STATUS_OBJECT_NAME_NOT_FOUND
    ASSERT_EQ(2u, platformAnswer(noSuchFile));
    ASSERT_EQ(2u, platformAnswer(objectNameNotFound));
    CodeTable table;
    table.add(objectNameNotFound, L"STATUS_OBJECT_NAME_NOT_FOUND");
    table.add(noSuchFile, L"STATUS_NO_SUCH_FILE");
    table.add(untranslatable[0], L"STATUS_UNKNOWN");
    ReverseMap reverseMap;
    buildReverseMap(reverseMap, table);
    EXPECT_EQ(1u, reverseMap.size());
    EXPECT_EQ((std::vector<std::uint32_t>{noSuchFile, objectNameNotFound}), win32ToNtStatus(reverseMap, 2));
}

TEST(ReverseMap, TakesSuccessAsATranslationToZero)
{
    ASSERT_EQ(0u, platformAnswer(0));
    CodeTable table;
    table.add(0, L"STATUS_SUCCESS");
    ReverseMap reverseMap;
    buildReverseMap(reverseMap, table);
    EXPECT_EQ(std::vector<std::uint32_t>{0}, win32ToNtStatus(reverseMap, 0));
}

TEST(ReverseMap, OfTheSampleHeaderHoldsEveryTranslatableValueOnceUnderItsCode)
{
    CodeTable table;
    scanNtStatusHeader(table, KELVANE_SAMPLE_DIR L"/ntstatus.h");
    ASSERT_GT(table.size(), 1000u);
    ReverseMap reverseMap;
    buildReverseMap(reverseMap, table);

    std::size_t translatable = 0;
    for (const auto& entry : table) {
        std::uint32_t win32Code = platformAnswer(entry.first);
        if (win32Code == 317) {
            continue;
        }
        ++translatable;
        const std::vector<std::uint32_t>& values = win32ToNtStatus(reverseMap, win32Code);
        EXPECT_EQ(1, std::count(values.begin(), values.end(), entry.first)) << std::hex << entry.first;
    }
    std::size_t listed = 0;
    for (const auto& entry : reverseMap) {
        EXPECT_NE(317u, entry.first);
        EXPECT_FALSE(entry.second.empty());
        EXPECT_TRUE(std::adjacent_find(entry.second.begin(), entry.second.end(),
                                       [](std::uint32_t a, std::uint32_t b) { return a >= b; })
                    == entry.second.end())
            << "not strictly ascending under " << entry.first;
        listed += entry.second.size();
    }
    EXPECT_EQ(translatable, listed);
    // The platform translates many values, and some codes have several.
    EXPECT_GT(translatable, 100u);
    EXPECT_LT(reverseMap.size(), translatable);
}

TEST(NtStatusToWin32, TranslatesOrReportsNoCounterpart)
{
    EXPECT_EQ(0u, ntStatusToWin32(0));                 // STATUS_SUCCESS: a valid mapping
    EXPECT_EQ(998u, ntStatusToWin32(0xC0000005));      // STATUS_ACCESS_VIOLATION -> ERROR_NOACCESS
    EXPECT_EQ(2u, ntStatusToWin32(0xC0000034));        // STATUS_OBJECT_NAME_NOT_FOUND -> ERROR_FILE_NOT_FOUND
    EXPECT_EQ(5u, ntStatusToWin32(0xC0000022));        // STATUS_ACCESS_DENIED -> ERROR_ACCESS_DENIED
    for (std::uint32_t value : untranslatable) {
        ASSERT_EQ(317u, platformAnswer(value));
        EXPECT_THROW(ntStatusToWin32(value), NotMappedException);
    }
}

} // namespace

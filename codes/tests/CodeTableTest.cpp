#include "codes/CodeTable.h"

#include "zeno/tests/Thrown.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(CodeTable, KeepsTheLastNameOfAValueFindsEveryNameExactlyAndIteratesInUnsignedOrder)
{
    CodeTable table;
    EXPECT_TRUE(table.size() == 0 && table.begin() == table.end() && table.headerPath().empty());
    EXPECT_EQ(L"class EntryNotFoundException", zeno_test::outcome([&] { return table.nameOf(0); }));
    table.setHeaderPath(L"C:\\sdk\\ntstatus.h");
    for (const auto& [value, name] : std::vector<std::pair<std::uint32_t, std::wstring>>{
             {0xC0000005, L"STATUS_A"}, {0xC0000005, L"STATUS_B"}, {1, L"ERROR_TWICE"}, {2, L"ERROR_TWICE"},
             {0x80000005, L"STATUS_WARNING"}, {0x7FFFFFFF, L"STATUS_HIGHEST_WITHOUT_TOP_BIT"}, {0, L"STATUS_SUCCESS"},
             {0xFFFFFFFF, L"STATUS_ALL_BITS"}}) {
        table.add(value, name);
    }
    EXPECT_EQ(L"C:\\sdk\\ntstatus.h", table.headerPath());
    EXPECT_EQ(7u, table.size());
    using Entries = std::vector<std::pair<std::uint32_t, std::wstring>>;
    EXPECT_EQ((Entries{{0, L"STATUS_SUCCESS"}, {1, L"ERROR_TWICE"}, {2, L"ERROR_TWICE"},
                       {0x7FFFFFFF, L"STATUS_HIGHEST_WITHOUT_TOP_BIT"}, {0x80000005, L"STATUS_WARNING"},
                       {0xC0000005, L"STATUS_B"}, {0xFFFFFFFF, L"STATUS_ALL_BITS"}}),
              Entries(table.begin(), table.end()));
    EXPECT_EQ(L"STATUS_B", table.nameOf(0xC0000005));
    const std::pair<const wchar_t*, std::wstring> byName[] = {
        {L"STATUS_A", L"3221225477"}, {L"STATUS_B", L"3221225477"}, {L"ERROR_TWICE", L"2"},
        {L"error_twice", L"class EntryNotFoundException"}, {L"ERROR_TWIC", L"class EntryNotFoundException"},
        {L"ERROR_TWICE ", L"class EntryNotFoundException"}, {L"", L"class EntryNotFoundException"},
    };
    for (const auto& testCase : byName) {
        EXPECT_EQ(testCase.second, zeno_test::outcome([&] { return table.valueOf(testCase.first); })) << testCase.first;
    }
}

} // namespace

#include "codes/CodeTable.h"

#include "codes/CodeExceptions.h"

#include "zeno/tests/Thrown.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

// The value found for the name, or what was thrown.
std::wstring lookedUp(const CodeTable& table, const std::wstring& name)
{
    std::uint32_t value = 0;
    std::wstring thrown = zeno_test::thrownText([&] { value = table.valueOf(name); });
    return thrown == L"(nothing thrown)" ? std::to_wstring(value) : thrown;
}

TEST(CodeTable, KeepsTheLastNameOfAValueFindsEveryNameExactlyAndIteratesInUnsignedOrder)
{
    CodeTable table;
    EXPECT_TRUE(table.size() == 0 && table.begin() == table.end() && table.headerPath().empty());
    EXPECT_EQ(L"class EntryNotFoundException", zeno_test::thrownText([&] { table.nameOf(0); }));
    EXPECT_EQ(L"class EntryNotFoundException", lookedUp(table, L""));
    table.setHeaderPath(L"C:\\sdk\\ntstatus.h");
    table.add(0xC0000005, L"STATUS_A");
    table.add(0xC0000005, L"STATUS_B");
    table.add(1, L"ERROR_TWICE");
    table.add(2, L"ERROR_TWICE");
    table.add(0x80000005, L"STATUS_WARNING");
    table.add(0x7FFFFFFF, L"STATUS_HIGHEST_WITHOUT_TOP_BIT");
    table.add(0, L"STATUS_SUCCESS");
    table.add(0xFFFFFFFF, L"STATUS_ALL_BITS");
    EXPECT_EQ(L"C:\\sdk\\ntstatus.h", table.headerPath());
    EXPECT_EQ(7u, table.size());
    const std::map<std::uint32_t, std::wstring> byValue = {
        {0, L"STATUS_SUCCESS"}, {1, L"ERROR_TWICE"}, {2, L"ERROR_TWICE"}, {0x7FFFFFFF, L"STATUS_HIGHEST_WITHOUT_TOP_BIT"},
        {0x80000005, L"STATUS_WARNING"}, {0xC0000005, L"STATUS_B"}, {0xFFFFFFFF, L"STATUS_ALL_BITS"},
    };
    std::vector<std::pair<std::uint32_t, std::wstring>> iterated;
    for (auto entry = table.begin(); entry != table.end(); ++entry) {
        iterated.emplace_back(entry->first, entry->second);
    }
    EXPECT_EQ((std::vector<std::pair<std::uint32_t, std::wstring>>(byValue.begin(), byValue.end())), iterated);
    EXPECT_EQ(L"STATUS_B", table.nameOf(0xC0000005));
    const std::pair<const wchar_t*, std::wstring> byName[] = {
        {L"STATUS_A", L"3221225477"}, {L"STATUS_B", L"3221225477"}, {L"ERROR_TWICE", L"2"},
        {L"error_twice", L"class EntryNotFoundException"}, {L"ERROR_TWIC", L"class EntryNotFoundException"},
        {L"ERROR_TWICE ", L"class EntryNotFoundException"},
    };
    for (const auto& testCase : byName) {
        EXPECT_EQ(testCase.second, lookedUp(table, testCase.first)) << testCase.first;
    }
}

} // namespace

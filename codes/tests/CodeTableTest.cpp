#include "codes/CodeTable.h"

#include "codes/CodeExceptions.h"

#include "Failure.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<std::uint32_t, std::wstring>> entriesOf(const CodeTable& table)
{
    return std::vector<std::pair<std::uint32_t, std::wstring>>(table.begin(), table.end());
}

TEST(CodeTable, EmptyTableHasNothingToFind)
{
    CodeTable table;
    EXPECT_EQ(0u, table.size());
    EXPECT_TRUE(table.begin() == table.end());
    EXPECT_TRUE(table.headerPath().empty());
    EXPECT_THROW(table.nameOf(0), EntryNotFoundException);
    EXPECT_THROW(table.valueOf(L"STATUS_SUCCESS"), EntryNotFoundException);
    EXPECT_THROW(table.valueOf(L""), EntryNotFoundException);
}

TEST(CodeTable, LookupFailuresCarryNoMessageAndNoCode)
{
    CodeTable table;
    Failure byValue = failureOf([&] { table.nameOf(5); });
    EXPECT_EQ(L"EntryNotFoundException", byValue.className);
    EXPECT_EQ(L"", byValue.message);
    EXPECT_EQ(zeno::Exception::NO_ERROR_CODE, byValue.errorCode);
    EXPECT_EQ(L"class EntryNotFoundException", EntryNotFoundException().toString());
    EXPECT_EQ(L"class NotMappedException", NotMappedException().toString());
}

TEST(CodeTable, TwoNamesForOneValueKeepTheLastNameForTheValue)
{
    CodeTable table;
    table.add(0xC0000005, L"STATUS_A");
    table.add(0xC0000005, L"STATUS_B");
    EXPECT_EQ(1u, table.size());
    EXPECT_EQ(0xC0000005u, table.valueOf(L"STATUS_A"));
    EXPECT_EQ(0xC0000005u, table.valueOf(L"STATUS_B"));
    EXPECT_EQ(L"STATUS_B", table.nameOf(0xC0000005));
}

TEST(CodeTable, OneNameForTwoValuesFindsTheLastValueByName)
{
    CodeTable table;
    table.add(1, L"ERROR_TWICE");
    table.add(2, L"ERROR_TWICE");
    EXPECT_EQ(2u, table.size());
    EXPECT_EQ(2u, table.valueOf(L"ERROR_TWICE"));
    EXPECT_EQ(L"ERROR_TWICE", table.nameOf(1));
    EXPECT_EQ(L"ERROR_TWICE", table.nameOf(2));
}

TEST(CodeTable, IteratesInUnsignedValueOrder)
{
    CodeTable table;
    table.add(0xC0000005, L"STATUS_ERROR");
    table.add(0x80000005, L"STATUS_WARNING");
    table.add(0x7FFFFFFF, L"STATUS_HIGHEST_WITHOUT_TOP_BIT");
    table.add(0x40000000, L"STATUS_INFORMATIONAL");
    table.add(0, L"STATUS_SUCCESS");
    table.add(0xFFFFFFFF, L"STATUS_ALL_BITS");
    std::vector<std::pair<std::uint32_t, std::wstring>> expected = {
        {0, L"STATUS_SUCCESS"},
        {0x40000000, L"STATUS_INFORMATIONAL"},
        {0x7FFFFFFF, L"STATUS_HIGHEST_WITHOUT_TOP_BIT"},
        {0x80000005, L"STATUS_WARNING"},
        {0xC0000005, L"STATUS_ERROR"},
        {0xFFFFFFFF, L"STATUS_ALL_BITS"},
    };
    EXPECT_EQ(expected, entriesOf(table));
}

TEST(CodeTable, NamesAreCaseSensitive)
{
    CodeTable table;
    table.add(5, L"ERROR_ACCESS_DENIED");
    EXPECT_EQ(5u, table.valueOf(L"ERROR_ACCESS_DENIED"));
    EXPECT_THROW(table.valueOf(L"error_access_denied"), EntryNotFoundException);
    EXPECT_THROW(table.valueOf(L"ERROR_ACCESS_DENIE"), EntryNotFoundException);
    EXPECT_THROW(table.valueOf(L"ERROR_ACCESS_DENIED "), EntryNotFoundException);
}

} // namespace

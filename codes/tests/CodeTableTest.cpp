#include "codes/CodeBatch.h"
#include "codes/CodeTable.h"

#include "zeno/tests/Thrown.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace {

// Every allocation of this program passes here, so that a test can fail the n-th one of its own
// thread and see what the call that made it leaves behind. The library's operator delete frees
// with std::free, so it stays.
std::atomic<DWORD> failingThread{0};
long allocationsToFailure = 0;

} // namespace

void* operator new(std::size_t size)
{
    if (failingThread.load() == GetCurrentThreadId() && --allocationsToFailure == 0) {
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size != 0 ? size : 1)) {
        return block;
    }
    throw std::bad_alloc();
}

namespace {

using Pairs = std::vector<std::pair<std::uint32_t, std::string>>;
using Entries = std::vector<std::pair<std::uint32_t, std::wstring>>;

// Enters the pairs as one batch, as a scan does. With failAt, the failAt-th allocation of the
// entry fails; returns whether it did. The batch is gone on return.
bool addAll(CodeTable& table, Pairs::const_iterator begin, Pairs::const_iterator end, long failAt = 0)
{
    CodeBatch batch;
    for (auto pair = begin; pair != end; ++pair) {
        batch.add(pair->first, pair->second);
    }
    allocationsToFailure = failAt;
    failingThread = failAt > 0 ? GetCurrentThreadId() : 0;
    try {
        table.addAll(std::move(batch));
    } catch (const std::bad_alloc&) {
        if (failAt == 0) {
            throw;
        }
    }
    failingThread = 0;
    return failAt > 0 && allocationsToFailure <= 0;
}

// What a table shows: its entries in order, and what valueOf gives for each of `names`.
std::pair<Entries, std::vector<std::wstring>> contents(const CodeTable& table, const Pairs& names)
{
    std::vector<std::wstring> values;
    for (const auto& pair : names) {
        values.push_back(zeno_test::outcome([&] { return table.valueOf(std::wstring(pair.second.begin(), pair.second.end())); }));
    }
    return {Entries(table.begin(), table.end()), values};
}

// Filled one pair at a time, in one batch, or in two (the second entering a filled table, as a
// second scan does): each way ends with the same table.
TEST(CodeTable, KeepsTheLastNameOfAValueAndValueOfANameHoweverThePairsCome)
{
    const Pairs pairs = {{0xC0000005, "STATUS_A"}, {0xC0000005, "STATUS_B"}, {1, "ERROR_TWICE"},
                         {2, "ERROR_TWICE"}, {0x80000005, "STATUS_WARNING"}, {0x7FFFFFFF, "STATUS_HIGHEST_WITHOUT_TOP_BIT"},
                         {0, "STATUS_SUCCESS"}, {0xFFFFFFFF, "STATUS_ALL_BITS"}};
    const Entries entries = {{0, L"STATUS_SUCCESS"}, {1, L"ERROR_TWICE"}, {2, L"ERROR_TWICE"},
                             {0x7FFFFFFF, L"STATUS_HIGHEST_WITHOUT_TOP_BIT"}, {0x80000005, L"STATUS_WARNING"},
                             {0xC0000005, L"STATUS_B"}, {0xFFFFFFFF, L"STATUS_ALL_BITS"}};
    const std::pair<const wchar_t*, std::wstring> byName[] = {
        {L"STATUS_A", L"3221225477"}, {L"STATUS_B", L"3221225477"}, {L"ERROR_TWICE", L"2"},
        {L"error_twice", L"class EntryNotFoundException"}, {L"ERROR_TWIC", L"class EntryNotFoundException"},
        {L"ERROR_TWICE ", L"class EntryNotFoundException"}, {L"", L"class EntryNotFoundException"},
    };
    // -1: by add(); else the pairs before this index in a first batch, the rest in a second.
    for (const int split : {-1, 0, 1, 3, 8}) {
        SCOPED_TRACE(split);
        CodeTable table;
        EXPECT_TRUE(table.size() == 0 && table.begin() == table.end() && table.headerPath().empty());
        EXPECT_EQ(L"class EntryNotFoundException", zeno_test::outcome([&] { return table.nameOf(0); }));
        EXPECT_EQ(L"class EntryNotFoundException", zeno_test::outcome([&] { return table.valueOf(L"STATUS_A"); }));
        table.setHeaderPath(L"C:\\sdk\\ntstatus.h");
        if (split < 0) {
            for (const auto& [value, name] : pairs) {
                table.add(value, std::wstring(name.begin(), name.end()));
            }
        } else {
            addAll(table, pairs.begin(), pairs.begin() + split);
            addAll(table, pairs.begin() + split, pairs.end());
        }
        EXPECT_EQ(L"C:\\sdk\\ntstatus.h", table.headerPath());
        EXPECT_EQ(7u, table.size());
        EXPECT_EQ(entries, Entries(table.begin(), table.end()));
        EXPECT_EQ(L"STATUS_B", table.nameOf(0xC0000005));
        for (const auto& testCase : byName) {
            EXPECT_EQ(testCase.second, zeno_test::outcome([&] { return table.valueOf(testCase.first); }))
                << testCase.first;
        }
    }
}

// A batch whose entry fails at its n-th allocation, for n = 1, 2, ... until it succeeds, leaves
// the table as it was before, though the batch and its texts are gone by then; the entry that
// succeeds ends as the pairs added one by one.
TEST(CodeTable, AddAllThatRunsOutOfMemoryLeavesTheTableAsItWas)
{
    Pairs many, more = {{7, "ERROR_5"}}; // past the first index's size; a name met again
    for (std::uint32_t i = 0; i < 4200; ++i) {
        (i < 4000 ? many : more).emplace_back(i < 4000 ? i : i - 100, "ERROR_" + std::to_string(i));
    }
    const std::pair<Pairs, Pairs> cases[] = {
        {{}, {{5, "STATUS_A"}, {5, "STATUS_B"}, {1, "STATUS_A"}, {3, "STATUS_C"}}},
        {{{1, "STATUS_A"}, {2, "STATUS_B"}, {9, "STATUS_C"}}, {{2, "STATUS_D"}, {4, "STATUS_A"}, {0, "STATUS_E"}}},
        {many, more},
    };
    for (const auto& [before, added] : cases) {
        Pairs everyName = before;
        everyName.insert(everyName.end(), added.begin(), added.end());
        CodeTable expected;
        for (const auto& [value, name] : everyName) {
            expected.add(value, std::wstring(name.begin(), name.end()));
        }
        long failAt = 1;
        for (bool failed = true; failed; ++failAt) {
            ASSERT_LT(failAt, 100) << "addAll never succeeded";
            CodeTable table;
            addAll(table, before.begin(), before.end());
            const auto contentsBefore = contents(table, everyName);
            failed = addAll(table, added.begin(), added.end(), failAt);
            ASSERT_EQ(failed ? contentsBefore : contents(expected, everyName), contents(table, everyName))
                << before.size() << " pairs before, allocation " << failAt << (failed ? " failed" : "");
        }
        EXPECT_GT(failAt, 2) << "addAll allocated nothing, so no step was made to fail";
    }
}

} // namespace

#include "codes/HeaderScanner.h"

#include "codes/CodeExceptions.h"
#include "codes/CodeTable.h"

#include "zeno/tests/DebugOutputCapture.h"
#include "zeno/tests/TemporaryDirectory.h"

#include "Failure.h"
#include "SampleCounts.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<std::uint32_t, std::wstring>>;

Entries entriesOf(const CodeTable& table)
{
    return Entries(table.begin(), table.end());
}

// Every accepted shape and near miss of an ntstatus.h line. The last line has no line end.
const std::string NTSTATUS_LINES =
    "/* An ntstatus.h of edge cases */\n"
    "#define STATUS_EXAMPLE ((NTSTATUS)0xC0000123L)    // with a comment after it\n"
    "   #define STATUS_INDENTED ((NTSTATUS)0x00000001L)\n"
    "#define\tSTATUS_TABS\t\t((NTSTATUS)0x00000002L)\n"
    "#define STATUS_NO_DIGITS ((NTSTATUS)0xL)\n"
    "#define STATUS_NINE_DIGITS ((NTSTATUS)0x1C0000001L)\n"
    "#define STATUS_LOWER_CASE ((NTSTATUS)0xc00000abL)\n"
    "#define STATUS_MIXED_CASE ((NTSTATUS)0x800000aBL)\n"
    "#define STATUS_ ((NTSTATUS)0x00000004L)\n"
    "#define\xA0STATUS_NBSP\xA0((NTSTATUS)0x00000005L)\n"
    "#define STATUS_CONTROL\x01((NTSTATUS)0x00000006L)\n"
    "#if 0\n"
    "#define STATUS_IN_CONDITIONAL ((NTSTATUS)0x00000007L)\n"
    "#endif\n"
    "#define STATUS_CAPITAL_X ((NTSTATUS)0XC0000010L)\n"
    "#define STATUS_NO_SUFFIX ((NTSTATUS)0xC0000011)\n"
    "#define STATUS_BAD_DIGIT ((NTSTATUS)0xC00G0012L)\n"
    "#define STATUS_BLANK_INSIDE ((NTSTATUS) 0xC0000013L)\n"
    "#define STATUS_NO_VALUE\n"
    "#define STATUS_SEVERITY_ERROR 0x3\n"
    "#define DBG_CONTINUE ((NTSTATUS)0x00010002L)\n"
    "#define status_lower_name ((NTSTATUS)0xC0000014L)\n"
    "//#define STATUS_COMMENTED ((NTSTATUS)0xC0000015L)\n"
    "# define STATUS_SPACED ((NTSTATUS)0xC0000016L)\n"
    "#DEFINE STATUS_UPPER_DEFINE ((NTSTATUS)0xC0000017L)\n"
    "#defined STATUS_LONGER_DEFINE ((NTSTATUS)0xC0000018L)\n"
    "#define \\\n"
    "    STATUS_CONTINUED ((NTSTATUS)0xC0000019L)\n"
    "#define STATUS_LAST ((NTSTATUS)0xC0000009L)";

const Entries NTSTATUS_ACCEPTED = {
    {0x00000000, L"STATUS_NO_DIGITS"},
    {0x00000001, L"STATUS_INDENTED"},
    {0x00000002, L"STATUS_TABS"},
    {0x00000004, L"STATUS_"},
    {0x00000005, L"STATUS_NBSP"},
    {0x00000006, L"STATUS_CONTROL"},
    {0x00000007, L"STATUS_IN_CONDITIONAL"},
    {0x800000AB, L"STATUS_MIXED_CASE"},
    {0xC0000001, L"STATUS_NINE_DIGITS"},
    {0xC0000009, L"STATUS_LAST"},
    {0xC00000AB, L"STATUS_LOWER_CASE"},
    {0xC0000123, L"STATUS_EXAMPLE"},
};

const std::vector<std::wstring> NTSTATUS_PASSED_OVER = {
    L"STATUS_CAPITAL_X", L"STATUS_NO_SUFFIX", L"STATUS_BAD_DIGIT", L"STATUS_BLANK_INSIDE",
    L"STATUS_NO_VALUE", L"STATUS_SEVERITY_ERROR", L"DBG_CONTINUE", L"status_lower_name",
    L"STATUS_COMMENTED", L"STATUS_SPACED", L"STATUS_UPPER_DEFINE", L"STATUS_LONGER_DEFINE",
    L"STATUS_CONTINUED",
};

const std::string WIN32_LINES =
    "#define ERROR_EXAMPLE 87L\n"
    "#define ERROR_SUCCESS                    0L\n"
    "#define ERROR_ONLY_L L\n"
    "#define ERROR_WRAPS 4294967297L\n"
    "#define ERROR_FIRST_OF_TWO 32L\n"
    "#define ERROR_SECOND_OF_TWO 32L  // same value\n"
    "#define ERROR_HEX 0x57\n"
    "#define ERROR_HEX_WITH_L 0x80070057L\n"
    "#define ERROR_HRESULT _HRESULT_TYPEDEF_(0x1L)\n"
    "#define ERROR_LOWER_L 5l\n"
    "#define ERROR_NEGATIVE -5L\n"
    "#define NO_ERROR 0L\n"
    "#define WSAEINTR 10004L\n"
    "#define ERROR_LAST 1460L";

const Entries WIN32_ACCEPTED = {
    {0, L"ERROR_ONLY_L"},
    {1, L"ERROR_WRAPS"},
    {32, L"ERROR_SECOND_OF_TWO"},
    {87, L"ERROR_EXAMPLE"},
    {1460, L"ERROR_LAST"},
};

const std::vector<std::wstring> WIN32_PASSED_OVER = {
    L"ERROR_HEX", L"ERROR_HEX_WITH_L", L"ERROR_HRESULT", L"ERROR_LOWER_L", L"ERROR_NEGATIVE", L"NO_ERROR",
    L"WSAEINTR",
};

class HeaderScanner : public testing::Test {
protected:
    zeno_test::TemporaryDirectory folder;
    zeno_test::DebugOutputCapture debugOutput;

    void SetUp() override
    {
        ASSERT_TRUE(folder.isCreated());
        ASSERT_TRUE(debugOutput.isInstalled());
    }

    std::wstring header(const std::wstring& name, const std::string& bytes)
    {
        std::wstring path = folder.writeFile(name, bytes);
        EXPECT_FALSE(path.empty()) << "cannot write the test header";
        return path;
    }
};

TEST_F(HeaderScanner, TakesExactlyTheNtStatusDefineShape)
{
    CodeTable table;
    scanNtStatusHeader(table, header(L"ntstatus.h", NTSTATUS_LINES));
    EXPECT_EQ(NTSTATUS_ACCEPTED, entriesOf(table));
    for (const std::wstring& name : NTSTATUS_PASSED_OVER) {
        EXPECT_THROW(table.valueOf(name), EntryNotFoundException) << testing::PrintToString(name);
    }
}

TEST_F(HeaderScanner, TakesExactlyTheWin32DefineShape)
{
    CodeTable table;
    scanWin32ErrorHeader(table, header(L"winerror.h", WIN32_LINES));
    EXPECT_EQ(WIN32_ACCEPTED, entriesOf(table));
    EXPECT_EQ(32u, table.valueOf(L"ERROR_FIRST_OF_TWO"));
    EXPECT_EQ(0u, table.valueOf(L"ERROR_SUCCESS"));
    for (const std::wstring& name : WIN32_PASSED_OVER) {
        EXPECT_THROW(table.valueOf(name), EntryNotFoundException) << testing::PrintToString(name);
    }
}

TEST_F(HeaderScanner, WritesTheNumberOfDistinctValuesToTheDebuggerOutput)
{
    CodeTable ntStatusTable;
    CodeTable win32Table;
    scanNtStatusHeader(ntStatusTable, header(L"ntstatus.h", NTSTATUS_LINES));
    scanWin32ErrorHeader(win32Table, header(L"winerror.h", WIN32_LINES));
    // The Win32 lines define seven names but only five values (0 and 32 twice each).
    EXPECT_EQ((std::vector<std::wstring>{L"NTSTATUS loaded 12 entries\n", L"Win32 Error Code loaded 5 entries\n"}),
              debugOutput.outputs());
}

TEST_F(HeaderScanner, AddsToTheTableAndRecordsTheLatestPath)
{
    CodeTable table;
    std::wstring first = header(L"first.h", "#define STATUS_A ((NTSTATUS)0x1L)\n#define STATUS_B ((NTSTATUS)0x2L)\n");
    std::wstring second = header(L"second.h", "#define STATUS_C ((NTSTATUS)0x2L)\n#define STATUS_D ((NTSTATUS)0x3L)\n");
    scanNtStatusHeader(table, first);
    scanNtStatusHeader(table, first);
    EXPECT_EQ((Entries{{1, L"STATUS_A"}, {2, L"STATUS_B"}}), entriesOf(table));
    scanNtStatusHeader(table, second);
    EXPECT_EQ((Entries{{1, L"STATUS_A"}, {2, L"STATUS_C"}, {3, L"STATUS_D"}}), entriesOf(table));
    EXPECT_EQ(2u, table.valueOf(L"STATUS_B"));
    EXPECT_EQ(second, table.headerPath());
    EXPECT_EQ((std::vector<std::wstring>{L"NTSTATUS loaded 2 entries\n", L"NTSTATUS loaded 2 entries\n",
                                         L"NTSTATUS loaded 3 entries\n"}),
              debugOutput.outputs());
}

TEST_F(HeaderScanner, MissingFileIsFileNotFoundWithThePathRecorded)
{
    CodeTable table;
    table.add(7, L"STATUS_EARLIER");
    std::wstring path = folder.file(L"ntstatus.h");
    Failure failure = failureOf([&] { scanNtStatusHeader(table, path); });
    EXPECT_EQ(L"zeno::FileNotFoundException", failure.className);
    EXPECT_EQ(path, failure.message);
    EXPECT_EQ(2u, failure.errorCode);
    EXPECT_EQ(path, table.headerPath());
    EXPECT_EQ(L"STATUS_EARLIER", table.nameOf(7));
    EXPECT_TRUE(debugOutput.outputs().empty());
}

TEST_F(HeaderScanner, MissingFolderIsFileNotFoundWithCode3)
{
    CodeTable table;
    std::wstring path = folder.file(L"no such folder\\winerror.h");
    Failure failure = failureOf([&] { scanWin32ErrorHeader(table, path); });
    EXPECT_EQ(L"zeno::FileNotFoundException", failure.className);
    EXPECT_EQ(path, failure.message);
    EXPECT_EQ(3u, failure.errorCode);
    EXPECT_EQ(path, table.headerPath());
}

TEST_F(HeaderScanner, EmptyPathIsRefusedByThePlatform)
{
    CodeTable table;
    Failure failure = failureOf([&] { scanNtStatusHeader(table, L""); });
    EXPECT_TRUE(failure.className == L"zeno::FileNotFoundException" || failure.className == L"zeno::IOException");
    EXPECT_NE(zeno::Exception::NO_ERROR_CODE, failure.errorCode);
    EXPECT_EQ(0u, table.size());
}

TEST_F(HeaderScanner, ZeroLengthFileCannotBeMapped)
{
    CodeTable table;
    std::wstring path = header(L"ntstatus.h", "");
    Failure failure = failureOf([&] { scanNtStatusHeader(table, path); });
    EXPECT_EQ(L"zeno::IOException", failure.className);
    EXPECT_EQ(L"::CreateFileMapping(" + path + L") failed", failure.message);
    EXPECT_NE(0u, failure.errorCode);
    EXPECT_NE(zeno::Exception::NO_ERROR_CODE, failure.errorCode);
}

TEST_F(HeaderScanner, FileOpenedElsewhereWithoutSharingIsRefused)
{
    CodeTable table;
    std::wstring path = header(L"winerror.h", WIN32_LINES);
    ExclusiveOpen writer(path);
    Failure failure = failureOf([&] { scanWin32ErrorHeader(table, path); });
    EXPECT_EQ(L"zeno::IOException", failure.className);
    EXPECT_EQ(L"::CreateFile(" + path + L") failed", failure.message);
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION), failure.errorCode);
    EXPECT_EQ(0u, table.size());
}

TEST_F(HeaderScanner, ReleasesTheFileAfterTheScan)
{
    CodeTable table;
    std::wstring path = header(L"ntstatus.h", NTSTATUS_LINES);
    scanNtStatusHeader(table, path);
    // Neither the file nor its mapping is still open: it can be replaced at once.
    EXPECT_TRUE(DeleteFileW(path.c_str())) << GetLastError();
}

// The sample headers are made from the mingw-w64 headers at build time. SampleCounts.h holds the
// number of distinct values among their accepted lines, counted separately by
// tools/count-sample-entries.sh with tr and awk (field matching with regular expressions, values
// normalised to 8 hex digits or reduced modulo 2^32, distinct values counted in an awk array).
TEST_F(HeaderScanner, SampleHeadersGiveTheIndependentlyCountedEntries)
{
    CodeTable ntStatusTable;
    CodeTable win32Table;
    scanNtStatusHeader(ntStatusTable, KELVANE_SAMPLE_DIR L"/ntstatus.h");
    scanWin32ErrorHeader(win32Table, KELVANE_SAMPLE_DIR L"/winerror.h");
    EXPECT_EQ(static_cast<std::size_t>(SAMPLE_NTSTATUS_DISTINCT_VALUES), ntStatusTable.size());
    EXPECT_EQ(static_cast<std::size_t>(SAMPLE_WIN32_DISTINCT_VALUES), win32Table.size());
    EXPECT_EQ((std::vector<std::wstring>{
                  L"NTSTATUS loaded " + std::to_wstring(SAMPLE_NTSTATUS_DISTINCT_VALUES) + L" entries\n",
                  L"Win32 Error Code loaded " + std::to_wstring(SAMPLE_WIN32_DISTINCT_VALUES) + L" entries\n"}),
              debugOutput.outputs());

    // Well-known codes, as every SDK defines them.
    EXPECT_EQ(L"STATUS_ACCESS_VIOLATION", ntStatusTable.nameOf(0xC0000005));
    EXPECT_EQ(0x80000005u, ntStatusTable.valueOf(L"STATUS_BUFFER_OVERFLOW"));
    EXPECT_EQ(0u, ntStatusTable.valueOf(L"STATUS_SUCCESS"));
    EXPECT_EQ(L"ERROR_ACCESS_DENIED", win32Table.nameOf(5));
    EXPECT_EQ(32u, win32Table.valueOf(L"ERROR_SHARING_VIOLATION"));
    // Names that the sample defines in shapes the scanner passes over.
    EXPECT_THROW(ntStatusTable.valueOf(L"DBG_CONTINUE"), EntryNotFoundException);
    EXPECT_THROW(win32Table.valueOf(L"NO_ERROR"), EntryNotFoundException);
    EXPECT_THROW(win32Table.valueOf(L"ERROR_AUDITING_DISABLED"), EntryNotFoundException);
}

} // namespace

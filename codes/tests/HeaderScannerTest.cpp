#include "codes/HeaderScanner.h"

#include "codes/CodeTable.h"

#include "zeno/tests/DebugOutputCapture.h"
#include "zeno/tests/TemporaryDirectory.h"
#include "zeno/tests/Thrown.h"

#include "SampleCounts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

using zeno_test::outcome;
using Entries = std::vector<std::pair<std::uint32_t, std::wstring>>;

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

// winerror.h's HRESULT lines with the SDK's trap: names defined in both branches of
// #if defined(_WIN32) && !defined(_MAC) ... #else, the Windows values first.
const std::string HRESULT_LINES =
    "#define _HRESULT_TYPEDEF_(_sc) ((HRESULT)_sc)\n"
    "#define E_UNEXPECTED                     _HRESULT_TYPEDEF_(0x8000FFFFL)\n"
    "#if defined(_WIN32) && !defined(_MAC)\n"
    "#define E_NOTIMPL _HRESULT_TYPEDEF_(0x80004001L)\n"
    "#define E_FAIL _HRESULT_TYPEDEF_(0x80004005L)\n"
    "#else\n"
    "#define E_NOTIMPL _HRESULT_TYPEDEF_(0x80000001L)\n"
    "#define E_FAIL _HRESULT_TYPEDEF_(0x80000008L)\n"
    "#endif\n"
    "#define CO_E_lower_digits\t_HRESULT_TYPEDEF_(0x8004000aL)\n"
    "#define ERROR_AUDITING_DISABLED _HRESULT_TYPEDEF_(0xC0090001L)\n"
    "#define S_OK ((HRESULT)0L)\n"
    "#define E_NO_SUFFIX _HRESULT_TYPEDEF_(0x80004002)\n"
    "#define E_CAPITAL_X _HRESULT_TYPEDEF_(0X80004003L)\n"
    "#define E_BLANK_INSIDE _HRESULT_TYPEDEF_( 0x80004004L)\n"
    "#define ERROR_ACCESS_DENIED 5L\n"
    "#define E_LAST _HRESULT_TYPEDEF_(0x80070005L)";

class HeaderScanner : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isCreated()); }

    zeno_test::TemporaryDirectory folder;
    zeno_test::DebugOutputCapture debugOutput;
};

// Each header of edge cases through its scanner: the entries in value order, the names that must
// find their value (also names whose value a later name took) and the names passed over.
TEST_F(HeaderScanner, TakesExactlyTheDefineShapeOfItsHeaderAndLogsTheNumberOfDistinctValues)
{
    const struct {
        void (*scan)(CodeTable&, const std::wstring&);
        const std::string& lines;
        Entries entries;
        Entries alsoNamed;
        std::vector<std::wstring> passedOver;
        std::wstring debugLine;
    } cases[] = {
        {scanNtStatusHeader, NTSTATUS_LINES,
         {{0x00000000, L"STATUS_NO_DIGITS"}, {0x00000001, L"STATUS_INDENTED"}, {0x00000002, L"STATUS_TABS"},
          {0x00000004, L"STATUS_"}, {0x00000005, L"STATUS_NBSP"}, {0x00000006, L"STATUS_CONTROL"},
          {0x00000007, L"STATUS_IN_CONDITIONAL"}, {0x800000AB, L"STATUS_MIXED_CASE"}, {0xC0000001, L"STATUS_NINE_DIGITS"},
          {0xC0000009, L"STATUS_LAST"}, {0xC00000AB, L"STATUS_LOWER_CASE"}, {0xC0000123, L"STATUS_EXAMPLE"}},
         {},
         {L"STATUS_CAPITAL_X", L"STATUS_NO_SUFFIX", L"STATUS_BAD_DIGIT", L"STATUS_BLANK_INSIDE", L"STATUS_NO_VALUE",
          L"STATUS_SEVERITY_ERROR", L"DBG_CONTINUE", L"status_lower_name", L"STATUS_COMMENTED", L"STATUS_SPACED",
          L"STATUS_UPPER_DEFINE", L"STATUS_LONGER_DEFINE", L"STATUS_CONTINUED"},
         L"NTSTATUS loaded 12 entries\n"},
        // Seven names, five values: 0 and 32 are defined twice each.
        {scanWin32ErrorHeader, WIN32_LINES,
         {{0, L"ERROR_ONLY_L"}, {1, L"ERROR_WRAPS"}, {32, L"ERROR_SECOND_OF_TWO"}, {87, L"ERROR_EXAMPLE"},
          {1460, L"ERROR_LAST"}},
         {{32, L"ERROR_FIRST_OF_TWO"}, {0, L"ERROR_SUCCESS"}},
         {L"ERROR_HEX", L"ERROR_HEX_WITH_L", L"ERROR_HRESULT", L"ERROR_LOWER_L", L"ERROR_NEGATIVE", L"NO_ERROR",
          L"WSAEINTR"},
         L"Win32 Error Code loaded 5 entries\n"},
        // The window's scanner of the same winerror.h takes none of its HRESULT lines.
        {scanWin32ErrorHeader, HRESULT_LINES, {{5, L"ERROR_ACCESS_DENIED"}}, {}, {L"ERROR_AUDITING_DISABLED"},
         L"Win32 Error Code loaded 1 entries\n"},
    };
    std::vector<std::wstring> debugLines;
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.debugLine);
        CodeTable table;
        const std::wstring path = folder.writeFile(L"header.h", testCase.lines);
        testCase.scan(table, path);
        debugLines.push_back(testCase.debugLine);
        EXPECT_EQ(testCase.entries, Entries(table.begin(), table.end()));
        EXPECT_EQ(path, table.headerPath());
        const auto found = [&table](std::wstring_view name) { return outcome([&] { return table.valueOf(name); }); };
        for (const Entries& named : {testCase.entries, testCase.alsoNamed}) {
            for (const auto& entry : named) {
                EXPECT_EQ(std::to_wstring(entry.first), found(entry.second));
            }
        }
        for (const std::wstring& name : testCase.passedOver) {
            EXPECT_EQ(L"class EntryNotFoundException", found(name)) << testing::PrintToString(name);
        }
        // Neither the file nor its mapping is still open: it can be replaced at once.
        EXPECT_TRUE(DeleteFileW(path.c_str())) << GetLastError();
    }
    EXPECT_EQ(debugLines, debugOutput.outputs());
}

// A header that cannot be read: the file layer's failure with its exact text (each kind of it is
// checked through the configuration reader, which opens files the same way), the new path
// recorded anyway, the table and the debugger output untouched. Scans that add to a filled table
// are checked by the differential test.
TEST_F(HeaderScanner, AFailedOpenOrMappingEscapesWithThePathRecorded)
{
    const std::wstring inMissingFolder = folder.file(L"no such folder\\winerror.h");
    const std::wstring empty = folder.writeFile(L"empty.h", "");
    const std::pair<std::wstring, std::wstring> failures[] = {
        {inMissingFolder, L"class zeno::FileNotFoundException: " + inMissingFolder + L": 3"},
        {empty, L"class zeno::IOException: ::CreateFileMapping(" + empty + L") failed: 1006"},
    };
    for (const auto& failure : failures) {
        for (auto scan : {scanNtStatusHeader, scanWin32ErrorHeader}) {
            CodeTable table;
            table.setHeaderPath(L"C:\\earlier.h");
            table.add(7, L"STATUS_EARLIER");
            EXPECT_EQ(failure.second, outcome([&] { scan(table, failure.first); }));
            EXPECT_EQ(failure.first, table.headerPath());
            EXPECT_EQ((Entries{{7, L"STATUS_EARLIER"}}), Entries(table.begin(), table.end()));
        }
    }
    EXPECT_TRUE(debugOutput.outputs().empty());
    EXPECT_TRUE(DeleteFileW(empty.c_str())) << "the failed mapping kept the file open";
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

    // Well-known codes, as every SDK defines them.
    EXPECT_EQ(L"STATUS_ACCESS_VIOLATION", ntStatusTable.nameOf(0xC0000005));
    EXPECT_EQ(0x80000005u, ntStatusTable.valueOf(L"STATUS_BUFFER_OVERFLOW"));
    EXPECT_EQ(0u, ntStatusTable.valueOf(L"STATUS_SUCCESS"));
    EXPECT_EQ(L"ERROR_ACCESS_DENIED", win32Table.nameOf(5));
    EXPECT_EQ(32u, win32Table.valueOf(L"ERROR_SHARING_VIOLATION"));
}

} // namespace

#include "codes/HeaderScanner.h"

#include "codes/CodeExceptions.h"
#include "codes/CodeTable.h"

#include "zeno/tests/DebugOutputCapture.h"
#include "zeno/tests/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<std::uint32_t, std::wstring>>;

// winerror.h's HRESULT lines with the SDK's trap: names defined in both branches of
// #if defined(_WIN32) && !defined(_MAC) ... #else, the Windows values first. The last line has no
// line end.
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

TEST(HResultScan, TakesTheFirstDefinitionOfEachNameAndPassesOverTheOthersEntirely)
{
    zeno_test::TemporaryDirectory folder;
    zeno_test::DebugOutputCapture debugOutput;
    ASSERT_TRUE(debugOutput.isInstalled());
    const std::wstring path = folder.writeFile(L"winerror.h", HRESULT_LINES);
    ASSERT_FALSE(path.empty());

    CodeTable hresults;
    scanHResultHeader(hresults, path);
    EXPECT_EQ((Entries{{0x80004001, L"E_NOTIMPL"},
                       {0x80004005, L"E_FAIL"},
                       {0x8000FFFF, L"E_UNEXPECTED"},
                       {0x8004000A, L"CO_E_lower_digits"},
                       {0x80070005, L"E_LAST"},
                       {0xC0090001, L"ERROR_AUDITING_DISABLED"}}),
              Entries(hresults.begin(), hresults.end()));
    EXPECT_EQ(0x80004005u, hresults.valueOf(L"E_FAIL"));
    for (const wchar_t* name : {L"S_OK", L"E_NO_SUFFIX", L"E_CAPITAL_X", L"E_BLANK_INSIDE", L"ERROR_ACCESS_DENIED"}) {
        EXPECT_THROW(hresults.valueOf(name), EntryNotFoundException) << testing::PrintToString(name);
    }
    // The window's scanner of the same file takes none of the HRESULT lines.
    CodeTable win32;
    scanWin32ErrorHeader(win32, path);
    EXPECT_EQ((Entries{{5, L"ERROR_ACCESS_DENIED"}}), Entries(win32.begin(), win32.end()));
    EXPECT_EQ((std::vector<std::wstring>{L"HRESULT loaded 6 entries\n", L"Win32 Error Code loaded 1 entries\n"}),
              debugOutput.outputs());
}

} // namespace

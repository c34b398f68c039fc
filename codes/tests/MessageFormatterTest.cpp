#include "codes/NTSTATUSMessageFormatter.h"
#include "codes/Win32ErrorCodeMessageFormatter.h"

#include "zeno/Strings.h"
#include "zeno/tests/SystemMessage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

// Texts are compared with what a direct FormatMessageW call gives: under Wine ntdll.dll has no
// message table and the system's texts differ from Windows', so no test asserts English text.

namespace {

TEST(NTSTATUSMessageFormatter, GivesNtdllsTextThenTheSystemsWithItsLineEndOrNothing)
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    // Every severity, and 0xC0DE0001 in no facility, which no table has text for.
    const std::uint32_t codes[] = {0x00000000, 0x00000002, 0x00000102, 0x40000000, 0x80000005,
                                   0xC0000005, 0xC0000034, 0xC000009A, 0xC0DE0001, 0xFFFFFFFF};
    ASSERT_FALSE(zeno_test::systemMessage(0xC0DE0001, ntdll).found);
    // Every system has a text for 2, at least the Win32 one as a fallback.
    ASSERT_TRUE(zeno::endsWith(zeno_test::systemMessage(2, ntdll).text, L"\r\n"));
    std::unique_ptr<MessageFormatter> formatter = std::make_unique<NTSTATUSMessageFormatter>();
    for (std::uint32_t code : codes) {
        EXPECT_EQ(zeno_test::systemMessage(code, ntdll).text, formatter->format(code)) << std::hex << code;
    }
}

// The properties a pane relies on, each on a code chosen for it: a text as the system gives it,
// line end included; an insert sequence kept as it stands (ERROR_BAD_EXE_FORMAT has one on Windows
// and under Wine); nothing for a code without text.
TEST(Win32ErrorCodeMessageFormatter, GivesTheSystemsTextWithItsLineEndAndInsertsOrNothing)
{
    Win32ErrorCodeMessageFormatter formatter;
    const std::uint32_t withInsert = ERROR_BAD_EXE_FORMAT;
    for (std::uint32_t code : {0u, 2u, 5u, withInsert}) {
        const zeno_test::SystemMessage expected = zeno_test::systemMessage(code);
        ASSERT_TRUE(zeno::endsWith(expected.text, L"\r\n")) << code;
        EXPECT_EQ(expected.text, formatter.format(code)) << code;
    }
    ASSERT_NE(std::wstring::npos, zeno_test::systemMessage(withInsert).text.find(L"%1"));
    EXPECT_NE(std::wstring::npos, formatter.format(withInsert).find(L"%1"));
    for (std::uint32_t code : {0xFFFEu, 0x20000000u}) {
        ASSERT_FALSE(zeno_test::systemMessage(code).found) << std::hex << code;
        EXPECT_EQ(L"", formatter.format(code)) << std::hex << code;
    }
}

} // namespace

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

TEST(Win32ErrorCodeMessageFormatter, GivesTheSystemsTextWithItsLineEndAndInsertsOrNothing)
{
    Win32ErrorCodeMessageFormatter formatter;
    std::size_t withText = 0;
    std::uint32_t withInsert = 0;
    // Every code up to 1400, then on to the first text with an insert sequence.
    for (std::uint32_t code = 0; code < 1400 || (withInsert == 0 && code < 16000); ++code) {
        zeno_test::SystemMessage expected = zeno_test::systemMessage(code);
        ASSERT_EQ(expected.text, formatter.format(code)) << code;
        withText += expected.found ? 1 : 0;
        withInsert = withInsert == 0 && expected.text.find(L"%1") != std::wstring::npos ? code : withInsert;
    }
    EXPECT_GT(withText, 100u);
    EXPECT_NE(0u, withInsert) << "the system has no text with an insert";
    ASSERT_FALSE(zeno_test::systemMessage(0xFFFE).found);
    EXPECT_EQ(L"", formatter.format(0xFFFE));
}

} // namespace

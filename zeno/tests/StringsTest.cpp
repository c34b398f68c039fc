#include "zeno/Strings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "zeno/Exception.h"
#include "zeno/tests/Thrown.h"

namespace {

// Built before main from the constants, as static objects of other libraries are.
const std::wstring builtAtStart = zeno::emptyString + zeno::nilString + zeno::crlf + zeno::lineFeed;

TEST(Strings, ConvertNumbersWidenAndUpperCaseUnitByUnit) {
    const std::wstring nonAscii(L"caf\x00E9\0b", 6);
    const std::pair<std::wstring, std::wstring> cases[] = {
        {builtAtStart, L"\xFFFF\r\n\n"},
        {zeno::toString(0, 10), L"0"}, {zeno::toString(-255, 16), L"-ff"}, {zeno::toString(-71, 36), L"-1z"},
        {zeno::toString(-2147483647 - 1, 10), L"-2147483648"},
        {zeno::toString(-2147483647 - 1, 2), L"-10000000000000000000000000000000"},
        {zeno::toString(0xFFFFFFFFu, 10), L"4294967295"}, {zeno::toString(0xDEADBEEFu, 16), L"deadbeef"},
        // LONG and DWORD keep their signedness.
        {zeno::toString(static_cast<DWORD>(0xC0000005ul), 10), L"3221225477"},
        {zeno::toString(static_cast<LONG>(-5), 10), L"-5"},
        {zeno_test::outcome([] { zeno::toString(5, 1); }), L"class zeno::IllegalArgumentException: radix 1 (must be 2<=radix<=36)"},
        {zeno_test::outcome([] { zeno::toString(5u, 37); }), L"class zeno::IllegalArgumentException: radix 37 (must be 2<=radix<=36)"},
        {zeno::widen("a\x7F\x80\xE9\xFF"), L"a\x7F\xFF80\xFFE9\xFFFF"},
        {zeno_test::outcome([] { zeno::widen(nullptr); }), L"class zeno::NullPointerException: text"},
        {zeno::toUpper(L"error_1a{`@z"), L"ERROR_1A{`@Z"},
        {zeno::toUpper(nonAscii), std::wstring(L"CAF\x00E9\0B", 6)},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(testCase.second, testCase.first);
    }
}

TEST(Strings, CompareUnitByUnitAndTellNilByValue) {
    const std::wstring nil(1, static_cast<wchar_t>(0xFFFF));
    EXPECT_TRUE(zeno::isNil(nil) && zeno::isNilOrEmpty(nil) && zeno::isNilOrEmpty(L""));
    EXPECT_FALSE(zeno::isNil(L"") || zeno::isNil(nil + nil) || zeno::isNilOrEmpty(L"x"));
    EXPECT_TRUE(zeno::startsWith(L"STATUS_WAIT_0", L"STATUS_") && zeno::startsWith(L"STATUS_", L"STATUS_") &&
                zeno::startsWith(L"", L""));
    EXPECT_FALSE(zeno::startsWith(L"STATUS", L"STATUS_") || zeno::startsWith(L"status_x", L"STATUS_"));
    EXPECT_TRUE(zeno::endsWith(L"text\r\n", zeno::crlf) && zeno::endsWith(L"\r\n", zeno::crlf) &&
                zeno::endsWith(L"", zeno::emptyString));
    EXPECT_FALSE(zeno::endsWith(L"\n", zeno::crlf) || zeno::endsWith(L"\r\ntext", zeno::crlf) ||
                 zeno::endsWith(L"", zeno::lineFeed));
}

TEST(Strings, ParseDigitsOnlyWrapToThirtyTwoBitsAndRejectWithTheInputAsMessage) {
    const auto decimal = &zeno::parseDecimal;
    const auto hex = &zeno::parseHex;
    const std::wstring rejected = L"class zeno::NumberFormatException: ";
    // Full-width digit one (U+FF11) is no ASCII digit; "/", ":", "@", "`", "G" and "g" border the digits.
    const struct {
        std::uint32_t (*parse)(const std::wstring&);
        std::wstring text;
        std::wstring expected = L""; // "": rejected, the text as message
    } cases[] = {
        {decimal, L"1234567890", L"1234567890"}, {decimal, L"0007", L"7"}, {decimal, L"4294967296", L"0"},
        {decimal, L"4294967297", L"1"}, {hex, L"DeadBeef", L"3735928559"}, {hex, L"abcdef", L"11259375"},
        {hex, L"0123456789", L"591751049"}, {hex, L"100000000", L"0"}, {decimal, L"12a"}, {decimal, L" 1"},
        {decimal, L"1 "}, {decimal, L"-1"}, {decimal, L"/"}, {decimal, L":"}, {decimal, L"\xFF11"},
        {decimal, std::wstring(L"1\0" L"2", 3)}, {hex, L"0x10"}, {hex, L"/"}, {hex, L":"}, {hex, L"@"}, {hex, L"`"},
        {hex, L"G1"}, {hex, L"g"}, {decimal, L"", L"class zeno::NumberFormatException"},
        {hex, L"", L"class zeno::NumberFormatException"},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(testCase.expected.empty() ? rejected + testCase.text : testCase.expected,
                  zeno_test::outcome([&] { return testCase.parse(testCase.text); }));
    }
}

} // namespace

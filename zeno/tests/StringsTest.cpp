#include "zeno/Strings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "zeno/Exception.h"
#include "zeno/tests/Thrown.h"

namespace {

// Built before main from the constants, as static objects of other libraries are.
const std::wstring builtAtStart = zeno::emptyString + zeno::nilString + zeno::crlf + zeno::lineFeed;

TEST(StringConstants, AreReadyForOtherStaticObjectsAndNilIsComparedByValue) {
    EXPECT_EQ(std::wstring(L"\xFFFF\r\n\n"), builtAtStart);
    const std::wstring copy(1, static_cast<wchar_t>(0xFFFF));
    EXPECT_TRUE(zeno::isNil(copy));
    EXPECT_FALSE(zeno::isNil(zeno::emptyString) || zeno::isNil(copy + copy));
    EXPECT_TRUE(zeno::isNilOrEmpty(zeno::emptyString) && zeno::isNilOrEmpty(copy));
    EXPECT_FALSE(zeno::isNilOrEmpty(L"x"));
}

TEST(ToString, WritesLowerCaseDigitsWithoutPrefix) {
    const std::int32_t minimum = std::numeric_limits<std::int32_t>::min();
    const std::uint32_t maximum = std::numeric_limits<std::uint32_t>::max();
    const std::pair<std::wstring, const wchar_t*> cases[] = {
        {zeno::toString(0, 10), L"0"},
        {zeno::toString(-1, 10), L"-1"},
        {zeno::toString(255, 16), L"ff"},
        {zeno::toString(-255, 16), L"-ff"},
        {zeno::toString(-71, 36), L"-1z"},
        {zeno::toString(minimum, 10), L"-2147483648"},
        {zeno::toString(minimum, 2), L"-10000000000000000000000000000000"},
        {zeno::toString(maximum, 10), L"4294967295"},
        {zeno::toString(maximum, 2), L"11111111111111111111111111111111"},
        {zeno::toString(0xDEADBEEFu, 16), L"deadbeef"},
        // LONG and DWORD keep their signedness.
        {zeno::toString(static_cast<DWORD>(0xC0000005ul), 10), L"3221225477"},
        {zeno::toString(static_cast<LONG>(-5), 10), L"-5"},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(testCase.second, testCase.first);
    }
    for (int radix : {-16, 0, 1, 37}) {
        EXPECT_THROW(zeno::toString(5, radix), zeno::IllegalArgumentException) << radix;
        EXPECT_THROW(zeno::toString(5u, radix), zeno::IllegalArgumentException) << radix;
    }
}

TEST(ParseNumbers, AcceptDigitsOnlyAndWrapToThirtyTwoBits) {
    EXPECT_EQ(1234567890u, zeno::parseDecimal(L"1234567890"));
    EXPECT_EQ(4294967295u, zeno::parseDecimal(L"4294967295"));
    EXPECT_EQ(7u, zeno::parseDecimal(L"0007"));
    // 2^32 is one past the largest value.
    EXPECT_EQ(0u, zeno::parseDecimal(L"4294967296"));
    EXPECT_EQ(1u, zeno::parseDecimal(L"4294967297"));
    EXPECT_EQ(0xDEADBEEFu, zeno::parseHex(L"DeadBeef"));
    EXPECT_EQ(0xABCDEFu, zeno::parseHex(L"abcdef"));
    EXPECT_EQ(0x23456789u, zeno::parseHex(L"0123456789"));
    EXPECT_EQ(0u, zeno::parseHex(L"100000000"));
}

TEST(ParseNumbers, RejectWithTheInputAsMessage) {
    // Full-width digit one (U+FF11) is no ASCII digit; "/", ":", "@", "`", "G" and "g" border the digits.
    const std::wstring decimalCases[] = {L"12a", L" 1", L"1 ", L"-1", L"+1", L"\xFF11",
                                         std::wstring(L"1\0" L"2", 3)};
    for (const std::wstring& text : decimalCases) {
        EXPECT_EQ(L"class zeno::NumberFormatException: " + text,
                  zeno_test::thrownText([&text] { zeno::parseDecimal(text); }));
    }
    for (const wchar_t* text : {L"0x10", L"/", L":", L"@", L"`", L"G1", L"g", L"1 "}) {
        EXPECT_EQ(std::wstring(L"class zeno::NumberFormatException: ") + text,
                  zeno_test::thrownText([text] { zeno::parseHex(text); }));
    }
    EXPECT_EQ(L"class zeno::NumberFormatException", zeno_test::thrownText([] { zeno::parseDecimal(L""); }));
    EXPECT_EQ(L"class zeno::NumberFormatException", zeno_test::thrownText([] { zeno::parseHex(L""); }));
}

TEST(TextHelpers, WidenUpperCaseAndCompareUnitByUnit) {
    EXPECT_EQ(L"zeno::Exception", zeno::widen("zeno::Exception"));
    EXPECT_EQ(std::wstring(L"a\x7F\xFF80\xFFE9\xFFFF"), zeno::widen("a\x7F\x80\xE9\xFF"));
    EXPECT_THROW(zeno::widen(nullptr), zeno::NullPointerException);

    EXPECT_EQ(L"ERROR_1A{`@Z", zeno::toUpper(L"error_1a{`@z"));
    EXPECT_EQ(L"CAF\x00E9", zeno::toUpper(L"caf\x00E9"));
    EXPECT_EQ(std::wstring(L"A\0B", 3), zeno::toUpper(std::wstring(L"a\0b", 3)));

    EXPECT_TRUE(zeno::startsWith(L"STATUS_WAIT_0", L"STATUS_") && zeno::startsWith(L"STATUS_", L"STATUS_"));
    EXPECT_TRUE(zeno::startsWith(L"", L""));
    EXPECT_FALSE(zeno::startsWith(L"STATUS", L"STATUS_") || zeno::startsWith(L"status_x", L"STATUS_"));
    EXPECT_THROW(zeno::startsWith(L"abc", nullptr), zeno::NullPointerException);

    EXPECT_TRUE(zeno::endsWith(L"text\r\n", zeno::crlf) && zeno::endsWith(L"\r\n", zeno::crlf));
    EXPECT_TRUE(zeno::endsWith(L"", zeno::emptyString));
    EXPECT_FALSE(zeno::endsWith(L"\n", zeno::crlf) || zeno::endsWith(L"\r\ntext", zeno::crlf));
    EXPECT_FALSE(zeno::endsWith(L"", zeno::lineFeed));
}

} // namespace

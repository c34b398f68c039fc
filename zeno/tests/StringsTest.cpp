#include "zeno/Strings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "zeno/Exception.h"

namespace {

// Built before main from the constants, as static objects of other libraries are.
const std::wstring builtAtStart = zeno::emptyString + zeno::nilString + zeno::crlf + zeno::lineFeed;

// Runs the parse and returns the message of the NumberFormatException it must throw.
template <class Parse>
std::wstring numberFormatMessage(Parse parse, const std::wstring& text) {
    try {
        parse(text);
    } catch (const zeno::NumberFormatException& e) {
        EXPECT_EQ(zeno::Exception::NO_ERROR_CODE, e.getErrorCode());
        return e.getMessage();
    }
    ADD_FAILURE() << "no NumberFormatException for \"" << testing::PrintToString(text) << "\"";
    return L"(not thrown)";
}

TEST(StringConstants, HaveTheirValues) {
    EXPECT_TRUE(zeno::emptyString.empty());
    ASSERT_EQ(1u, zeno::nilString.size());
    EXPECT_EQ(0xFFFF, static_cast<unsigned>(zeno::nilString[0]));
    EXPECT_EQ(std::wstring(1, L'\n'), zeno::lineFeed);
    EXPECT_EQ(std::wstring(L"\r\n"), zeno::crlf);
}

TEST(StringConstants, AreReadyForOtherStaticObjects) {
    EXPECT_EQ(std::wstring(L"\xFFFF\r\n\n"), builtAtStart);
}

TEST(StringConstants, NilIsComparedByValue) {
    const std::wstring copy(1, static_cast<wchar_t>(0xFFFF));
    EXPECT_TRUE(zeno::isNil(copy));
    EXPECT_FALSE(zeno::isNil(zeno::emptyString));
    EXPECT_FALSE(zeno::isNil(copy + copy));
    EXPECT_TRUE(zeno::isNilOrEmpty(zeno::emptyString));
    EXPECT_TRUE(zeno::isNilOrEmpty(copy));
    EXPECT_FALSE(zeno::isNilOrEmpty(L"x"));
}

TEST(ToString, SignedValues) {
    EXPECT_EQ(L"0", zeno::toString(0, 10));
    EXPECT_EQ(L"0", zeno::toString(0, 2));
    EXPECT_EQ(L"0", zeno::toString(0, 36));
    EXPECT_EQ(L"-1", zeno::toString(-1, 10));
    EXPECT_EQ(L"ff", zeno::toString(255, 16));
    EXPECT_EQ(L"-ff", zeno::toString(-255, 16));
    EXPECT_EQ(L"2147483647", zeno::toString(std::numeric_limits<std::int32_t>::max(), 10));
    EXPECT_EQ(L"-2147483648", zeno::toString(std::numeric_limits<std::int32_t>::min(), 10));
    EXPECT_EQ(L"-80000000", zeno::toString(std::numeric_limits<std::int32_t>::min(), 16));
    EXPECT_EQ(L"-10000000000000000000000000000000",
              zeno::toString(std::numeric_limits<std::int32_t>::min(), 2));
    EXPECT_EQ(L"z", zeno::toString(35, 36));
    EXPECT_EQ(L"-10", zeno::toString(-36, 36));
    EXPECT_EQ(L"1010", zeno::toString(10, 2));
}

TEST(ToString, UnsignedValues) {
    EXPECT_EQ(L"0", zeno::toString(0u, 10));
    EXPECT_EQ(L"4294967295", zeno::toString(std::numeric_limits<std::uint32_t>::max(), 10));
    EXPECT_EQ(L"ffffffff", zeno::toString(0xFFFFFFFFu, 16));
    EXPECT_EQ(L"deadbeef", zeno::toString(0xDEADBEEFu, 16));
    EXPECT_EQ(L"11111111111111111111111111111111", zeno::toString(0xFFFFFFFFu, 2));
    EXPECT_EQ(L"2147483648", zeno::toString(0x80000000u, 10));
}

TEST(ToString, WindowsLongTypesPickTheirSignedness) {
    const DWORD code = 0xC0000005ul;
    const LONG negative = -5;
    EXPECT_EQ(L"3221225477", zeno::toString(code, 10));
    EXPECT_EQ(L"-5", zeno::toString(negative, 10));
    EXPECT_EQ(L"42", zeno::toString(42));
}

TEST(ToString, RejectsRadixOutsideTwoToThirtySix) {
    EXPECT_THROW(zeno::toString(5, 1), zeno::IllegalArgumentException);
    EXPECT_THROW(zeno::toString(5, 0), zeno::IllegalArgumentException);
    EXPECT_THROW(zeno::toString(5u, -16), zeno::IllegalArgumentException);
    EXPECT_THROW(zeno::toString(0u, 37), zeno::IllegalArgumentException);
}

TEST(ParseDecimal, AcceptsDigitsAndWraps) {
    EXPECT_EQ(0u, zeno::parseDecimal(L"0"));
    EXPECT_EQ(1234567890u, zeno::parseDecimal(L"1234567890"));
    EXPECT_EQ(4294967295u, zeno::parseDecimal(L"4294967295"));
    EXPECT_EQ(7u, zeno::parseDecimal(L"0007"));
    // 2^32 is one past the largest value and wraps to 0.
    EXPECT_EQ(0u, zeno::parseDecimal(L"4294967296"));
    EXPECT_EQ(1u, zeno::parseDecimal(L"4294967297"));
}

TEST(ParseDecimal, RejectsAnythingButDigitsWithTheInputAsMessage) {
    EXPECT_EQ(L"12a", numberFormatMessage(zeno::parseDecimal, L"12a"));
    EXPECT_EQ(L"", numberFormatMessage(zeno::parseDecimal, L""));
    EXPECT_EQ(L" 1", numberFormatMessage(zeno::parseDecimal, L" 1"));
    EXPECT_EQ(L"1 ", numberFormatMessage(zeno::parseDecimal, L"1 "));
    EXPECT_EQ(L"-1", numberFormatMessage(zeno::parseDecimal, L"-1"));
    EXPECT_EQ(L"+1", numberFormatMessage(zeno::parseDecimal, L"+1"));
    EXPECT_EQ(L"0x10", numberFormatMessage(zeno::parseDecimal, L"0x10"));
    // Full-width digit one (U+FF11) is not an ASCII digit.
    EXPECT_EQ(L"\xFF11", numberFormatMessage(zeno::parseDecimal, L"\xFF11"));
    const std::wstring withNul(L"1\0" L"2", 3);
    EXPECT_EQ(withNul, numberFormatMessage(zeno::parseDecimal, withNul));
}

TEST(ParseHex, AcceptsBothCasesAndKeepsLow32Bits) {
    EXPECT_EQ(0xDEADBEEFu, zeno::parseHex(L"DeadBeef"));
    EXPECT_EQ(0xABCDEFu, zeno::parseHex(L"abcdef"));
    EXPECT_EQ(0x0123456789u & 0xFFFFFFFFu, zeno::parseHex(L"0123456789"));
    EXPECT_EQ(0x23456789u, zeno::parseHex(L"123456789"));
    EXPECT_EQ(0xFFFFFFFFu, zeno::parseHex(L"FFFFFFFF"));
    EXPECT_EQ(0u, zeno::parseHex(L"100000000"));
    EXPECT_EQ(0u, zeno::parseHex(L"0"));
}

TEST(ParseHex, RejectsPrefixAndNonDigits) {
    EXPECT_EQ(L"0x10", numberFormatMessage(zeno::parseHex, L"0x10"));
    EXPECT_EQ(L"", numberFormatMessage(zeno::parseHex, L""));
    EXPECT_EQ(L"g", numberFormatMessage(zeno::parseHex, L"g"));
    EXPECT_EQ(L"G1", numberFormatMessage(zeno::parseHex, L"G1"));
    EXPECT_EQ(L"1 ", numberFormatMessage(zeno::parseHex, L"1 "));
    // Characters just outside the digit ranges.
    EXPECT_EQ(L"/", numberFormatMessage(zeno::parseHex, L"/"));
    EXPECT_EQ(L":", numberFormatMessage(zeno::parseHex, L":"));
    EXPECT_EQ(L"@", numberFormatMessage(zeno::parseHex, L"@"));
    EXPECT_EQ(L"`", numberFormatMessage(zeno::parseHex, L"`"));
}

TEST(Widen, SignExtendsEachByte) {
    EXPECT_EQ(L"", zeno::widen(""));
    EXPECT_EQ(L"zeno::Exception", zeno::widen("zeno::Exception"));
    const std::wstring wide = zeno::widen("a\x7F\x80\xE9\xFF");
    ASSERT_EQ(5u, wide.size());
    EXPECT_EQ(0x0061u, static_cast<unsigned>(wide[0]));
    EXPECT_EQ(0x007Fu, static_cast<unsigned>(wide[1]));
    EXPECT_EQ(0xFF80u, static_cast<unsigned>(wide[2]));
    EXPECT_EQ(0xFFE9u, static_cast<unsigned>(wide[3]));
    EXPECT_EQ(0xFFFFu, static_cast<unsigned>(wide[4]));
    EXPECT_THROW(zeno::widen(nullptr), zeno::NullPointerException);
}

TEST(ToUpper, ChangesOnlyAsciiLetters) {
    EXPECT_EQ(L"STATUS_ACCESS_VIOLATION", zeno::toUpper(L"status_access_violation"));
    EXPECT_EQ(L"ERROR_1A{`@Z", zeno::toUpper(L"error_1a{`@z"));
    EXPECT_EQ(L"CAF\x00E9", zeno::toUpper(L"caf\x00E9"));
    EXPECT_EQ(L"", zeno::toUpper(L""));
    const std::wstring withNul(L"a\0b", 3);
    EXPECT_EQ(std::wstring(L"A\0B", 3), zeno::toUpper(withNul));
}

TEST(StartsWith, ComparesThePrefixUnitByUnit) {
    EXPECT_TRUE(zeno::startsWith(L"STATUS_WAIT_0", L"STATUS_"));
    EXPECT_TRUE(zeno::startsWith(L"STATUS_", L"STATUS_"));
    EXPECT_TRUE(zeno::startsWith(L"abc", L""));
    EXPECT_TRUE(zeno::startsWith(L"", L""));
    EXPECT_FALSE(zeno::startsWith(L"STATUS", L"STATUS_"));
    EXPECT_FALSE(zeno::startsWith(L"status_x", L"STATUS_"));
    EXPECT_FALSE(zeno::startsWith(L"", L"a"));
    EXPECT_THROW(zeno::startsWith(L"abc", nullptr), zeno::NullPointerException);
}

TEST(EndsWith, ComparesTheLastUnits) {
    EXPECT_TRUE(zeno::endsWith(L"text\r\n", zeno::crlf));
    EXPECT_FALSE(zeno::endsWith(L"\n", zeno::crlf));
    EXPECT_FALSE(zeno::endsWith(L"text\n", zeno::crlf));
    EXPECT_FALSE(zeno::endsWith(L"\r\ntext", zeno::crlf));
    EXPECT_TRUE(zeno::endsWith(L"\r\n", zeno::crlf));
    EXPECT_TRUE(zeno::endsWith(L"abc", zeno::emptyString));
    EXPECT_TRUE(zeno::endsWith(L"", zeno::emptyString));
    EXPECT_FALSE(zeno::endsWith(L"", zeno::lineFeed));
}

} // namespace

#include "zeno/Strings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <utility>

#include "zeno/Exception.h"
#include "zeno/tests/Thrown.h"

namespace {

// Built before main from the constants, as static objects of other libraries are.
const std::wstring builtAtStart = zeno::emptyString + zeno::nilString + zeno::crlf + zeno::lineFeed;

TEST(StringConstants, AreReadyForOtherStaticObjectsAndNilIsComparedByValue) {
    EXPECT_EQ(std::wstring(L"\xFFFF\r\n\n"), builtAtStart);
    const std::wstring copy(1, static_cast<wchar_t>(0xFFFF));
    EXPECT_TRUE(zeno::isNil(copy) && zeno::isNilOrEmpty(copy) && zeno::isNilOrEmpty(L""));
    EXPECT_FALSE(zeno::isNil(L"") || zeno::isNil(copy + copy) || zeno::isNilOrEmpty(L"x"));
}

TEST(ToString, WritesLowerCaseDigitsWithoutPrefixAndRefusesRadixesOutsideTwoToThirtySix) {
    const std::pair<std::wstring, const wchar_t*> cases[] = {
        {zeno::toString(0, 10), L"0"},
        {zeno::toString(-1, 10), L"-1"},
        {zeno::toString(-255, 16), L"-ff"},
        {zeno::toString(-71, 36), L"-1z"},
        {zeno::toString(std::numeric_limits<std::int32_t>::min(), 10), L"-2147483648"},
        {zeno::toString(std::numeric_limits<std::int32_t>::min(), 2), L"-10000000000000000000000000000000"},
        {zeno::toString(std::numeric_limits<std::uint32_t>::max(), 10), L"4294967295"},
        {zeno::toString(0xDEADBEEFu, 16), L"deadbeef"},
        // LONG and DWORD keep their signedness.
        {zeno::toString(static_cast<DWORD>(0xC0000005ul), 10), L"3221225477"},
        {zeno::toString(static_cast<LONG>(-5), 10), L"-5"},
        {zeno_test::thrownText([] { zeno::toString(5, 1); }), L"class zeno::IllegalArgumentException: radix 1 (must be 2<=radix<=36)"},
        {zeno_test::thrownText([] { zeno::toString(5u, 37); }), L"class zeno::IllegalArgumentException: radix 37 (must be 2<=radix<=36)"},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(testCase.second, testCase.first);
    }
}

// The value parsed, or what was thrown.
std::wstring parsed(std::uint32_t (*parse)(const std::wstring&), const std::wstring& text) {
    std::uint32_t value = 0;
    const std::wstring thrown = zeno_test::thrownText([&] { value = parse(text); });
    return thrown == L"(nothing thrown)" ? std::to_wstring(value) : thrown;
}

std::wstring rejected(const std::wstring& text) {
    return L"class zeno::NumberFormatException" + (text.empty() ? text : L": " + text);
}

TEST(ParseNumbers, AcceptDigitsOnlyWrapToThirtyTwoBitsAndRejectWithTheInputAsMessage) {
    // Full-width digit one (U+FF11) is no ASCII digit; "/", ":", "@", "`", "G" and "g" border the digits.
    const std::wstring nul(L"1\0" L"2", 3);
    const std::pair<std::wstring, std::wstring> decimal[] = {
        {L"1234567890", L"1234567890"}, {L"0007", L"7"}, {L"4294967296", L"0"}, {L"4294967297", L"1"},
        {L"12a", rejected(L"12a")}, {L" 1", rejected(L" 1")}, {L"1 ", rejected(L"1 ")}, {L"-1", rejected(L"-1")},
        {L"/", rejected(L"/")}, {L":", rejected(L":")}, {L"\xFF11", rejected(L"\xFF11")}, {nul, rejected(nul)},
        {L"", rejected(L"")},
    };
    for (const auto& testCase : decimal) {
        EXPECT_EQ(testCase.second, parsed(&zeno::parseDecimal, testCase.first));
    }
    const std::pair<std::wstring, std::wstring> hex[] = {
        {L"DeadBeef", std::to_wstring(0xDEADBEEFu)}, {L"abcdef", std::to_wstring(0xABCDEFu)},
        {L"0123456789", std::to_wstring(0x23456789u)}, {L"100000000", L"0"}, {L"0x10", rejected(L"0x10")},
        {L"/", rejected(L"/")}, {L":", rejected(L":")}, {L"@", rejected(L"@")}, {L"`", rejected(L"`")},
        {L"G1", rejected(L"G1")}, {L"g", rejected(L"g")}, {L"", rejected(L"")},
    };
    for (const auto& testCase : hex) {
        EXPECT_EQ(testCase.second, parsed(&zeno::parseHex, testCase.first));
    }
}

TEST(TextHelpers, WidenBySignExtensionUpperCaseAsciiOnlyAndCompareUnitByUnit) {
    EXPECT_EQ(std::wstring(L"a\x7F\xFF80\xFFE9\xFFFF"), zeno::widen("a\x7F\x80\xE9\xFF"));
    EXPECT_THROW(zeno::widen(nullptr), zeno::NullPointerException);
    EXPECT_EQ(L"ERROR_1A{`@Z", zeno::toUpper(L"error_1a{`@z"));
    EXPECT_EQ(std::wstring(L"CAF\x00E9\0B", 6), zeno::toUpper(std::wstring(L"caf\x00E9\0b", 6)));
    EXPECT_TRUE(zeno::startsWith(L"STATUS_WAIT_0", L"STATUS_") && zeno::startsWith(L"STATUS_", L"STATUS_") &&
                zeno::startsWith(L"", L""));
    EXPECT_FALSE(zeno::startsWith(L"STATUS", L"STATUS_") || zeno::startsWith(L"status_x", L"STATUS_"));
    EXPECT_THROW(zeno::startsWith(L"abc", nullptr), zeno::NullPointerException);
    EXPECT_TRUE(zeno::endsWith(L"text\r\n", zeno::crlf) && zeno::endsWith(L"\r\n", zeno::crlf) &&
                zeno::endsWith(L"", zeno::emptyString));
    EXPECT_FALSE(zeno::endsWith(L"\n", zeno::crlf) || zeno::endsWith(L"\r\ntext", zeno::crlf) ||
                 zeno::endsWith(L"", zeno::lineFeed));
}

} // namespace

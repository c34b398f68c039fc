#include "codes/ByteSpan.h"

#include "zeno/tests/Thrown.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Pieces = std::vector<std::string>;

ByteSpan spanOf(const std::string& bytes)
{
    return ByteSpan(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

// The lines or the tokens cut from the bytes, each followed by the read position after it.
Pieces cut(const std::string& bytes, bool (ByteSpan::*next)(ByteSpan&))
{
    ByteSpan span = spanOf(bytes), piece;
    Pieces pieces;
    while ((span.*next)(piece)) {
        pieces.push_back(std::string(piece.data(), piece.size()) + "@" + std::to_string(span.position()));
    }
    // An exhausted span stays exhausted.
    EXPECT_FALSE((span.*next)(piece));
    return pieces;
}

TEST(ByteSpan, EveryCrAndEveryLfEndsALineAndBytesOf32AndBelowOrAboveAsciiSeparateTokens)
{
    const struct {
        std::string bytes;
        Pieces lines;
        Pieces tokens;
    } cases[] = {
        {"a\nb\nc\n", {"a@2", "b@4", "c@6"}, {"a@2", "b@4", "c@6"}},
        {"a\rb\rc", {"a@2", "b@4", "c@5"}, {"a@2", "b@4", "c@5"}},
        // A CR LF pair is two line ends: the line, then an empty line.
        {"a\r\nb\r\n", {"a@2", "@3", "b@5", "@6"}, {"a@2", "b@5"}},
        {"\n\rx", {"@1", "@2", "x@3"}, {"x@3"}},
        {"\n", {"@1"}, {}},
        {"", {}, {}},
        {"  \t#define\t\tNAME \x01 VALUE  ", {"  \t#define\t\tNAME \x01 VALUE  @26"}, {"#define@11", "NAME@17", "VALUE@25"}},
        {"a\xA0" "b\xFF" "c!\x7F~d", {"a\xA0" "b\xFF" "c!\x7F~d@9"}, {"a@2", "b@4", "c!\x7F~d@9"}},
        {" \t \x80 ", {" \t \x80 @5"}, {}},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testing::PrintToString(testCase.bytes));
        EXPECT_EQ(testCase.lines, cut(testCase.bytes, &ByteSpan::nextLine));
        EXPECT_EQ(testCase.tokens, cut(testCase.bytes, &ByteSpan::nextToken));
    }
}

TEST(ByteSpan, ComparesLengthsFirstAndBytesSignExtendedAndCutsTheMiddleWithinItsBytes)
{
    const ByteSpan span("STATUS_X", 8), high("\xE9", 1);
    const std::string value = "((NTSTATUS)0xC0000005L)";
    const std::pair<bool, bool> cases[] = {
        {span.equals(L"STATUS_X"), true}, {span.equals(L"STATUS_"), false}, {span.equals(L"STATUS_XY"), false},
        {span.equals(L"status_x"), false}, {span.equals(L""), false}, {ByteSpan().equals(L""), true},
        {span.startsWith(L"STATUS_"), true}, {span.startsWith(L"STATUS_X"), true}, {span.startsWith(L""), true},
        {span.startsWith(L"STATUS_XY"), false}, {span.startsWith(L"TATUS"), false}, {span.endsWith(L"_Y"), false},
        {span.endsWith(L"_X"), true}, {span.endsWith(L""), true}, {span.endsWith(L"STATUS_XX"), false},
        {high.equals(L"\u00E9"), false}, {high.equals(L"\uFFE9"), true},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].second, cases[i].first) << "row " << i;
    }
    const ByteSpan middle = spanOf(value).middle(13, 2);
    EXPECT_EQ("C0000005", std::string(middle.data(), middle.size()));
    EXPECT_EQ(value.data() + 13, middle.data());
    EXPECT_EQ(0u, spanOf(value).middle(13, 10).size());
    EXPECT_EQ(0u, spanOf(value).middle(30, 0).size());
    EXPECT_EQ(value.size(), spanOf(value).middle(0, 0).size());
    std::wstring text = L"<";
    spanOf(std::string("A\x7F\x80\xFF", 4)).appendTo(text);
    EXPECT_EQ(std::wstring(L"<A\x7F\xFF80\xFFFF"), text);
}

TEST(ByteSpan, ParsesDigitsOnlyKeepingTheLow32BitsAndNoDigitsAsZero)
{
    const auto hex = &ByteSpan::parseHex;
    const auto decimal = &ByteSpan::parseDecimal;
    const std::wstring rejected = L"class zeno::NumberFormatException";
    const struct {
        std::string bytes;
        std::uint32_t (ByteSpan::*parse)() const;
        std::wstring value;
    } cases[] = {
        {"C0000005", hex, L"3221225477"}, {"dEaDbEeF", hex, L"3735928559"}, {"1C0000001", hex, L"3221225473"},
        {"0000000000abc", hex, L"2748"}, {"", hex, L"0"}, {"87", decimal, L"87"}, {"4294967295", decimal, L"4294967295"},
        {"4294967296", decimal, L"0"}, {"4294967297", decimal, L"1"}, {"", decimal, L"0"},
        {"0x57", hex, rejected}, {"12G", hex, rejected}, {"12g", hex, rejected}, {"-1", hex, rejected},
        {"1 ", hex, rejected}, {"C0000005L", hex, rejected}, {"\xB0", hex, rejected}, {"@", hex, rejected},
        {"`", hex, rejected}, {"0x57", decimal, rejected}, {"87L", decimal, rejected}, {"-1", decimal, rejected},
        {"1.0", decimal, rejected}, {"A", decimal, rejected}, {"\xB0", decimal, rejected}, {":", decimal, rejected},
        {"/", decimal, rejected},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(testCase.value, zeno_test::outcome([&] { return (spanOf(testCase.bytes).*testCase.parse)(); }))
            << testing::PrintToString(testCase.bytes);
    }
    // From the read position on.
    ByteSpan line("12 34", 5), token;
    ASSERT_TRUE(line.nextToken(token));
    EXPECT_EQ(34u, line.parseDecimal());
    EXPECT_EQ(0x34u, line.parseHex());
}

} // namespace

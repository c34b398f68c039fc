#include "codes/ByteSpan.h"

#include "zeno/Exception.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

ByteSpan spanOf(const std::string& bytes)
{
    return ByteSpan(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

std::string textOf(const ByteSpan& span)
{
    return std::string(span.data(), span.size());
}

std::vector<std::string> linesOf(const std::string& bytes)
{
    ByteSpan file = spanOf(bytes);
    std::vector<std::string> lines;
    ByteSpan line;
    while (file.nextLine(line)) {
        lines.push_back(textOf(line));
    }
    return lines;
}

std::vector<std::string> tokensOf(const std::string& bytes)
{
    ByteSpan line = spanOf(bytes);
    std::vector<std::string> tokens;
    ByteSpan token;
    while (line.nextToken(token)) {
        tokens.push_back(textOf(token));
    }
    return tokens;
}

using Lines = std::vector<std::string>;

TEST(ByteSpanLines, EveryCrAndEveryLfEndsALine)
{
    EXPECT_EQ((Lines{"a", "b", "c"}), linesOf("a\nb\nc\n"));
    EXPECT_EQ((Lines{"a", "b", "c"}), linesOf("a\rb\rc\r"));
    // A CR LF pair is two line ends: the line, then an empty line.
    EXPECT_EQ((Lines{"a", "", "b", ""}), linesOf("a\r\nb\r\n"));
    EXPECT_EQ((Lines{"", "", "x"}), linesOf("\n\rx"));
}

TEST(ByteSpanLines, LastLineWithoutLineEndIsReturnedAndNothingFollowsAFinalLineEnd)
{
    EXPECT_EQ((Lines{"first", "last"}), linesOf("first\nlast"));
    EXPECT_EQ((Lines{"only"}), linesOf("only"));
    EXPECT_EQ((Lines{"only"}), linesOf("only\n"));
    EXPECT_EQ(Lines{}, linesOf(""));
    EXPECT_EQ((Lines{""}), linesOf("\n"));
}

TEST(ByteSpanLines, AnExhaustedSpanStaysExhausted)
{
    std::string bytes = "x";
    ByteSpan file = spanOf(bytes);
    ByteSpan line;
    ASSERT_TRUE(file.nextLine(line));
    EXPECT_FALSE(file.nextLine(line));
    EXPECT_FALSE(file.nextLine(line));
    EXPECT_EQ(1u, file.position());
}

TEST(ByteSpanTokens, BytesOf32AndBelowAndAllHighBytesSeparateTokens)
{
    EXPECT_EQ((Lines{"#define", "NAME", "VALUE"}), tokensOf("#define NAME VALUE"));
    EXPECT_EQ((Lines{"#define", "NAME", "VALUE"}), tokensOf("  \t#define\t\tNAME \x01 VALUE  "));
    EXPECT_EQ((Lines{"a", "b", "c"}), tokensOf("a\xA0" "b\xFF" "c"));
    EXPECT_EQ((Lines{"a!\x7F~b"}), tokensOf("a!\x7F~b"));
    EXPECT_EQ(Lines{}, tokensOf(" \t \x80 "));
    EXPECT_EQ(Lines{}, tokensOf(""));
}

TEST(ByteSpanTokens, DelimiterAfterATokenIsConsumed)
{
    std::string bytes = "ab cd";
    ByteSpan line = spanOf(bytes);
    ByteSpan token;
    ASSERT_TRUE(line.nextToken(token));
    EXPECT_EQ(3u, line.position());
    ASSERT_TRUE(line.nextToken(token));
    EXPECT_EQ("cd", textOf(token));
    EXPECT_EQ(5u, line.position());
    EXPECT_FALSE(line.nextToken(token));
}

TEST(ByteSpanComparison, ComparesLengthsFirstAndBytesSignExtended)
{
    std::string bytes = "STATUS_X";
    ByteSpan span = spanOf(bytes);
    EXPECT_TRUE(span.equals(L"STATUS_X"));
    EXPECT_FALSE(span.equals(L"STATUS_"));
    EXPECT_FALSE(span.equals(L"STATUS_XY"));
    EXPECT_FALSE(span.equals(L"status_x"));
    EXPECT_TRUE(span.startsWith(L"STATUS_"));
    EXPECT_TRUE(span.startsWith(L"STATUS_X"));
    EXPECT_FALSE(span.startsWith(L"STATUS_XY"));
    EXPECT_TRUE(span.endsWith(L"_X"));
    EXPECT_FALSE(span.endsWith(L"STATUS_XX"));
    EXPECT_TRUE(span.startsWith(L""));
    EXPECT_TRUE(span.endsWith(L""));
    EXPECT_FALSE(span.equals(L""));
    EXPECT_TRUE(ByteSpan().equals(L""));

    std::string high = "\xE9";
    EXPECT_FALSE(spanOf(high).equals(L"\u00E9"));
    EXPECT_TRUE(spanOf(high).equals(L"\uFFE9"));
}

TEST(ByteSpanComparison, MiddleDropsBothEndsAndNeverReachesOutside)
{
    std::string bytes = "((NTSTATUS)0xC0000005L)";
    ByteSpan span = spanOf(bytes);
    EXPECT_EQ("C0000005", textOf(span.middle(13, 2)));
    EXPECT_EQ("", textOf(span.middle(13, 10)));
    EXPECT_EQ(0u, span.middle(30, 0).size());
    EXPECT_EQ(bytes, textOf(span.middle(0, 0)));
}

TEST(ByteSpanText, AppendsEveryByteSignExtended)
{
    std::string bytes("A\x7F\x80\xFF", 4);
    std::wstring text = L"<";
    spanOf(bytes).appendTo(text);
    EXPECT_EQ(std::wstring(L"<A\x7F\xFF80\xFFFF"), text);
}

TEST(ByteSpanNumbers, HexKeepsTheLowBitsAndAcceptsBothCases)
{
    EXPECT_EQ(0xC0000005u, spanOf("C0000005").parseHex());
    EXPECT_EQ(0xDEADBEEFu, spanOf("dEaDbEeF").parseHex());
    EXPECT_EQ(0xC0000001u, spanOf("1C0000001").parseHex());
    EXPECT_EQ(0u, spanOf("").parseHex());
    EXPECT_EQ(0xABCu, spanOf("0000000000abc").parseHex());
}

TEST(ByteSpanNumbers, DecimalWrapsModulo2To32)
{
    EXPECT_EQ(87u, spanOf("87").parseDecimal());
    EXPECT_EQ(4294967295u, spanOf("4294967295").parseDecimal());
    EXPECT_EQ(0u, spanOf("4294967296").parseDecimal());
    EXPECT_EQ(1u, spanOf("4294967297").parseDecimal());
    EXPECT_EQ(0u, spanOf("").parseDecimal());
}

// The message of the NumberFormatException that the parse must throw.
template <class Parse>
std::wstring parseFailureMessage(const char* text, Parse parse)
{
    try {
        parse(spanOf(text));
    } catch (const zeno::NumberFormatException& e) {
        EXPECT_EQ(zeno::Exception::NO_ERROR_CODE, e.getErrorCode());
        return e.getMessage();
    }
    ADD_FAILURE() << "no NumberFormatException for " << text;
    return L"(not thrown)";
}

TEST(ByteSpanNumbers, ANonDigitThrowsWithAnEmptyMessage)
{
    for (const char* text : {"0x57", "12G", "-1", "1 ", "C0000005L", "\xB0"}) {
        EXPECT_EQ(L"", parseFailureMessage(text, [](const ByteSpan& span) { return span.parseHex(); })) << text;
    }
    for (const char* text : {"0x57", "87L", "-1", "1.0", "A", "\xB0"}) {
        EXPECT_EQ(L"", parseFailureMessage(text, [](const ByteSpan& span) { return span.parseDecimal(); })) << text;
    }
}

TEST(ByteSpanNumbers, ParseFromTheReadPosition)
{
    std::string bytes = "12 34";
    ByteSpan line = spanOf(bytes);
    ByteSpan token;
    ASSERT_TRUE(line.nextToken(token));
    EXPECT_EQ(34u, line.parseDecimal());
    EXPECT_EQ(0x34u, line.parseHex());
}

} // namespace

#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// Picks the codes out of free text (a log, a build output), fed in pieces of any size. The text is
// 8-bit (UTF-8 or an ANSI code page: only ASCII has meaning) or arrives through feedUtf16.
// A token is a run of letters, digits and underscores; it is a code when it is
//   an exact name that the scanner was given (case counts);
//   0x with one to eight hexadecimal digits (0X too);
//   eight hexadecimal digits with at least one letter (C0000005);
//   a negative decimal in the signed 32-bit range (a '-' right before it, not after a letter or digit);
//   an unsigned decimal from 2147483648 to 4294967295;
//   any decimal up to 4294967295 right after the word error, code, status or returned (any case),
//   with blanks and one ':', '=' or '#' allowed between ("exit code: 1722", "error #5").
// Lines end at LF, at CR, and at CR LF (once).
class LogScanner {
public:
    struct Found {
        std::uint32_t value;
        std::uint64_t line;     // from 1, where the value first appears
        std::string token;      // as it first appears
    };

    // name -> every value it stands for
    void addName(std::string_view name, std::uint32_t value);

    void feed(const char* bytes, std::size_t size);
    // UTF-16 units (of the byte order already settled); units above ASCII separate tokens.
    void feedUtf16(const char16_t* units, std::size_t count);
    // Ends the text: a token at its very end counts.
    void finish();

    // Each distinct value once, in order of first appearance.
    const std::vector<Found>& found() const { return foundCodes; }

private:
    void scan(const char* from, const char* end);
    void token(const char* start, std::size_t length, std::uint64_t tokenLine, bool negative, bool afterKeyword);
    void add(std::uint32_t value, const char* start, std::size_t length, std::uint64_t tokenLine, bool minus = false);

    // The keys are views of nameTexts.
    std::unordered_map<std::string_view, std::vector<std::uint32_t>> names;
    std::vector<std::unique_ptr<std::string>> nameTexts;
    std::size_t shortestName = ~static_cast<std::size_t>(0);
    std::size_t longestName = 0;
    bool nameStarts[256] = {};

    std::vector<Found> foundCodes;
    std::unordered_set<std::uint32_t> seen;

    std::uint64_t line = 1;
    bool afterCr = false;
    bool afterWord = false;
    // The byte before is a '-' that does not follow a letter or digit.
    bool afterMinus = false;
    // After one of the keywords: 0 blanks so far, 1 after the separator, -1 not (any more).
    int keywordGap = -1;
    // A token that a piece's end cut, kept until its end arrives; too long a token is not kept.
    bool carrying = false;
    std::string carry;
    bool carryTooLong = false;
    std::uint64_t carryLine = 0;
    bool carryNegative = false;
    bool carryAfterKeyword = false;
};

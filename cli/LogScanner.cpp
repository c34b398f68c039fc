#include "cli/LogScanner.h"

#include <algorithm>
#include <cstring>

namespace {

enum ByteClass : unsigned char { OTHER, WORD, LINE_END, BLANK, SEPARATOR };

// No name or number of interest is longer; longer tokens are passed over without being kept.
const std::size_t LONGEST_TOKEN = 160;
const std::size_t UTF16_PIECE = 16384;

struct ByteClasses {
    unsigned char of[256] = {};
    ByteClasses()
    {
        for (int byte = 0; byte < 256; ++byte) {
            const bool word = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9')
                              || byte == '_';
            of[byte] = word ? WORD : OTHER;
        }
        of[static_cast<unsigned char>('\r')] = of[static_cast<unsigned char>('\n')] = LINE_END;
        of[static_cast<unsigned char>(' ')] = of[static_cast<unsigned char>('\t')] = BLANK;
        of[static_cast<unsigned char>(':')] = of[static_cast<unsigned char>('=')] = SEPARATOR;
        of[static_cast<unsigned char>('#')] = SEPARATOR;
    }
};
const ByteClasses CLASSES;

inline unsigned char classOf(char byte)
{
    return CLASSES.of[static_cast<unsigned char>(byte)];
}

int hexDigit(char byte)
{
    if (byte >= '0' && byte <= '9') {
        return byte - '0';
    }
    const char lower = static_cast<char>(byte | 0x20);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// The hexadecimal digits' value; false when one is not a digit.
bool hexValue(const char* digits, std::size_t count, std::uint32_t& value, bool& hasLetter)
{
    value = 0;
    hasLetter = false;
    for (std::size_t i = 0; i < count; ++i) {
        const int digit = hexDigit(digits[i]);
        if (digit < 0) {
            return false;
        }
        hasLetter = hasLetter || digit >= 10;
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return true;
}

bool isKeyword(const char* start, std::size_t length)
{
    static const char* const KEYWORDS[] = {"error", "code", "status", "returned"};
    for (const char* keyword : KEYWORDS) {
        if (std::strlen(keyword) == length
            && std::equal(start, start + length, keyword, [](char a, char b) { return (a | 0x20) == b; })) {
            return true;
        }
    }
    return false;
}

} // namespace

void LogScanner::addName(std::string_view name, std::uint32_t value)
{
    if (name.empty()) {
        return;
    }
    auto known = names.find(name);
    if (known == names.end()) {
        nameTexts.push_back(std::make_unique<std::string>(name));
        known = names.emplace(*nameTexts.back(), std::vector<std::uint32_t>()).first;
    }
    if (std::find(known->second.begin(), known->second.end(), value) == known->second.end()) {
        known->second.push_back(value);
    }
    shortestName = std::min(shortestName, name.size());
    longestName = std::max(longestName, name.size());
    nameStarts[static_cast<unsigned char>(name[0])] = true;
}

void LogScanner::feed(const char* bytes, std::size_t size)
{
    scan(bytes, bytes + size);
}

void LogScanner::feedUtf16(const char16_t* units, std::size_t count)
{
    char bytes[UTF16_PIECE];
    while (count > 0) {
        const std::size_t piece = std::min(count, UTF16_PIECE);
        for (std::size_t i = 0; i < piece; ++i) {
            bytes[i] = units[i] < 0x80 ? static_cast<char>(units[i]) : '\x80';
        }
        scan(bytes, bytes + piece);
        units += piece;
        count -= piece;
    }
}

void LogScanner::finish()
{
    if (carrying) {
        carrying = false;
        if (!carryTooLong) {
            token(carry.data(), carry.size(), carryLine, carryNegative, carryAfterKeyword);
        }
        carry.clear();
    }
}

void LogScanner::scan(const char* p, const char* const end)
{
    if (carrying) {
        const char* tokenEnd = p;
        while (tokenEnd != end && classOf(*tokenEnd) == WORD) {
            ++tokenEnd;
        }
        carryTooLong = carryTooLong || carry.size() + static_cast<std::size_t>(tokenEnd - p) > LONGEST_TOKEN;
        if (!carryTooLong) {
            carry.append(p, tokenEnd);
        }
        if (tokenEnd == end) {
            return;
        }
        p = tokenEnd;
        finish();
    }
    while (p != end) {
        const unsigned char byteClass = classOf(*p);
        if (byteClass == WORD) {
            const char* const start = p;
            while (p != end && classOf(*p) == WORD) {
                ++p;
            }
            const bool negative = afterMinus;
            const bool afterKeyword = keywordGap >= 0;
            afterCr = afterMinus = false;
            afterWord = true;
            if (p == end) {
                const std::size_t length = static_cast<std::size_t>(p - start);
                carrying = true;
                carryTooLong = length > LONGEST_TOKEN;
                carry.assign(start, carryTooLong ? 0 : length);
                carryLine = line;
                carryNegative = negative;
                carryAfterKeyword = afterKeyword;
                return;
            }
            token(start, static_cast<std::size_t>(p - start), line, negative, afterKeyword);
            continue;
        }
        if (byteClass == LINE_END) {
            if (*p == '\r' || !afterCr) {
                ++line;
            }
            afterCr = *p == '\r';
            keywordGap = -1;
        } else {
            afterCr = false;
            if (keywordGap >= 0 && byteClass != BLANK) {
                keywordGap = byteClass == SEPARATOR && keywordGap == 0 ? 1 : -1;
            }
        }
        afterMinus = *p == '-' && !afterWord;
        afterWord = false;
        ++p;
    }
}

void LogScanner::token(const char* start, std::size_t length, std::uint64_t tokenLine, bool negative,
                       bool afterKeyword)
{
    keywordGap = -1;
    if (length >= shortestName && length <= longestName && nameStarts[static_cast<unsigned char>(*start)]) {
        const auto named = names.find(std::string_view(start, length));
        if (named != names.end()) {
            for (std::uint32_t value : named->second) {
                add(value, start, length, tokenLine);
            }
            return;
        }
    }
    std::uint32_t value;
    bool hasLetter;
    if (length >= 3 && length <= 10 && start[0] == '0' && (start[1] | 0x20) == 'x') {
        if (hexValue(start + 2, length - 2, value, hasLetter)) {
            add(value, start, length, tokenLine);
        }
        return;
    }
    if (length == 8 && hexValue(start, length, value, hasLetter) && hasLetter) {
        add(value, start, length, tokenLine);
        return;
    }
    if (*start >= '0' && *start <= '9') {
        std::uint64_t number = 0;
        for (std::size_t i = 0; i < length && number <= 0xFFFFFFFFull; ++i) {
            if (start[i] < '0' || start[i] > '9') {
                return;
            }
            number = number * 10 + static_cast<std::uint64_t>(start[i] - '0');
        }
        if (negative) {
            if (number <= 0x80000000ull) {
                add(static_cast<std::uint32_t>(0x100000000ull - number), start, length, tokenLine, true);
            }
        } else if (number <= 0xFFFFFFFFull && (number >= 0x80000000ull || afterKeyword)) {
            add(static_cast<std::uint32_t>(number), start, length, tokenLine);
        }
        return;
    }
    if (isKeyword(start, length)) {
        keywordGap = 0;
    }
}

void LogScanner::add(std::uint32_t value, const char* start, std::size_t length, std::uint64_t tokenLine, bool minus)
{
    if (seen.insert(value).second) {
        foundCodes.push_back({value, tokenLine, (minus ? "-" : "") + std::string(start, length)});
    }
}

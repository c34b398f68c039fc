#include "codes/ByteSpan.h"

#include "codes/ByteSearch.h"

#include "zeno/Exception.h"

namespace {

wchar_t widened(char byte)
{
    return static_cast<wchar_t>(static_cast<signed char>(byte));
}

bool sameUnits(const char* bytes, std::wstring_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (widened(bytes[i]) != text[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

ByteSpan::ByteSpan() : start(nullptr), length(0), readPosition(0)
{
}

ByteSpan::ByteSpan(const void* start, std::uint32_t length)
    : start(static_cast<const char*>(start)), length(length), readPosition(0)
{
}

const char* ByteSpan::data() const
{
    return start;
}

std::uint32_t ByteSpan::size() const
{
    return length;
}

std::uint32_t ByteSpan::position() const
{
    return readPosition;
}

bool ByteSpan::nextLine(ByteSpan& line)
{
    const char* end = start + length;
    const char* lineStart = start + readPosition;
    const char* cursor = lineStart;
    while (cursor != end && !ByteSearch::isLineEnd(*cursor)) {
        ++cursor;
    }
    std::uint32_t count = static_cast<std::uint32_t>(cursor - lineStart);
    if (cursor == end) {
        readPosition = length;
        if (count == 0) {
            return false;
        }
    } else {
        readPosition = static_cast<std::uint32_t>(cursor - start) + 1;
    }
    line = ByteSpan(lineStart, count);
    return true;
}

bool ByteSpan::nextToken(ByteSpan& token)
{
    const char* end = start + length;
    const char* cursor = start + readPosition;
    while (cursor != end && ByteSearch::isBlank(*cursor)) {
        ++cursor;
    }
    if (cursor == end) {
        readPosition = length;
        return false;
    }
    const char* tokenStart = cursor;
    while (cursor != end && !ByteSearch::isBlank(*cursor)) {
        ++cursor;
    }
    token = ByteSpan(tokenStart, static_cast<std::uint32_t>(cursor - tokenStart));
    readPosition = cursor == end ? length : static_cast<std::uint32_t>(cursor - start) + 1;
    return true;
}

bool ByteSpan::equals(std::wstring_view text) const
{
    return text.size() == length && sameUnits(start, text);
}

bool ByteSpan::startsWith(std::wstring_view text) const
{
    return text.size() <= length && sameUnits(start, text);
}

bool ByteSpan::endsWith(std::wstring_view text) const
{
    return text.size() <= length && sameUnits(start + (length - text.size()), text);
}

ByteSpan ByteSpan::middle(std::uint32_t headLength, std::uint32_t tailLength) const
{
    // Lengths that overlap give an empty span rather than one that reaches outside.
    if (headLength > length) {
        return ByteSpan(start + length, 0);
    }
    std::uint32_t rest = length - headLength;
    return ByteSpan(start + headLength, tailLength > rest ? 0 : rest - tailLength);
}

void ByteSpan::appendTo(std::wstring& text) const
{
    text.reserve(text.size() + length);
    for (std::uint32_t i = 0; i < length; ++i) {
        text.push_back(widened(start[i]));
    }
}

std::uint32_t ByteSpan::parseHex() const
{
    std::uint32_t value = 0;
    for (std::uint32_t i = readPosition; i < length; ++i) {
        char byte = start[i];
        std::uint32_t digit;
        if (byte >= '0' && byte <= '9') {
            digit = static_cast<std::uint32_t>(byte - '0');
        } else if (byte >= 'A' && byte <= 'F') {
            digit = static_cast<std::uint32_t>(byte - 'A' + 10);
        } else if (byte >= 'a' && byte <= 'f') {
            digit = static_cast<std::uint32_t>(byte - 'a' + 10);
        } else {
            throw zeno::NumberFormatException(std::wstring());
        }
        value = (value << 4) + digit;
    }
    return value;
}

std::uint32_t ByteSpan::parseDecimal() const
{
    std::uint32_t value = 0;
    for (std::uint32_t i = readPosition; i < length; ++i) {
        char byte = start[i];
        if (byte < '0' || byte > '9') {
            throw zeno::NumberFormatException(std::wstring());
        }
        value = value * 10 + static_cast<std::uint32_t>(byte - '0');
    }
    return value;
}

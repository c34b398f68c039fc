#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A view over 8-bit text with a read position: a whole mapped file, one line of it, or one
// token of a line. Nothing is copied; the bytes must outlive the span. Bytes are compared with
// wide text by sign extension (0x80..0xFF stand for U+FF80..U+FFFF), so only ASCII can match.
class ByteSpan {
public:
    ByteSpan();
    ByteSpan(const void* start, std::uint32_t length);

    const char* data() const;
    std::uint32_t size() const;
    std::uint32_t position() const;

    // Cuts the next line from the read position into `line`. Every CR and every LF ends a line
    // by itself and is consumed; false when nothing is left.
    bool nextLine(ByteSpan& line);
    // Cuts the next token: bytes above 32 (read as signed) up to the next byte of 32 or less,
    // which is consumed. Bytes 0x80..0xFF are negative and so separate tokens like blanks.
    bool nextToken(ByteSpan& token);

    // Whole-span comparisons; an empty text is a prefix and suffix of every span.
    bool equals(std::wstring_view text) const;
    bool startsWith(std::wstring_view text) const;
    bool endsWith(std::wstring_view text) const;

    // The bytes left after dropping `headLength` bytes at the start and `tailLength` at the end
    // (empty when the two overlap).
    ByteSpan middle(std::uint32_t headLength, std::uint32_t tailLength) const;

    // Appends every byte, sign-extended to one 16-bit unit.
    void appendTo(std::wstring& text) const;

    // Parse from the read position to the end, keeping the low 32 bits (hex) or wrapping modulo
    // 2^32 (decimal); no digits give 0. A byte that is not a digit throws
    // zeno::NumberFormatException with an empty message.
    std::uint32_t parseHex() const;
    std::uint32_t parseDecimal() const;

private:
    const char* start;
    std::uint32_t length;
    std::uint32_t readPosition;
};

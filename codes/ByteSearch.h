#pragma once

// The byte searches a header scan makes on every line: sixteen bytes at a time where the processor
// has SSE2 (every x86-64 one, nearly every x86 one), one at a time elsewhere. Each returns `end`
// when it finds nothing. Blanks are the bytes of 32 or less read as signed, so 0x80..0xFF too.
struct ByteSearch {
    // The first '#'.
    const char* (*findHash)(const char* from, const char* end);
    // The first byte that is not a blank, or is a line end (CR or LF).
    const char* (*skipBlanks)(const char* from, const char* end);
    // The first blank.
    const char* (*findBlank)(const char* from, const char* end);

    // Only blanks between the line's start and `at` (looks back a few bytes, so needs no SSE2).
    static bool startsLine(const char* begin, const char* at);

    // The byte classes of header and configuration text, shared with ByteSpan.
    static bool isBlank(char byte) { return static_cast<signed char>(byte) <= ' '; }
    static bool isLineEnd(char byte)
    {
        // Most bytes are above CR; one comparison settles them.
        return static_cast<unsigned char>(byte) <= '\r' && (byte == '\r' || byte == '\n');
    }

    static const ByteSearch& forThisProcessor();
    static const ByteSearch BYTEWISE;
    static const ByteSearch SSE2;
};

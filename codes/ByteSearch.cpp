#include "codes/ByteSearch.h"

#include <cstring>

#include <emmintrin.h>
#include <windows.h>

namespace {

const char* findHashBytewise(const char* from, const char* end)
{
    const void* found = std::memchr(from, '#', static_cast<std::size_t>(end - from));
    return found != nullptr ? static_cast<const char*>(found) : end;
}

const char* skipBlanksBytewise(const char* from, const char* end)
{
    while (from != end && ByteSearch::isBlank(*from) && !ByteSearch::isLineEnd(*from)) {
        ++from;
    }
    return from;
}

const char* findBlankBytewise(const char* from, const char* end)
{
    while (from != end && !ByteSearch::isBlank(*from)) {
        ++from;
    }
    return from;
}

// The sixteen-byte loops leave the last bytes of the file, fewer than sixteen, to the bytewise ones.
__attribute__((target("sse2"))) const char* findHashSse2(const char* from, const char* end)
{
    const __m128i hashes = _mm_set1_epi8('#');
    while (end - from >= 32) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 16));
        const int found = _mm_movemask_epi8(_mm_cmpeq_epi8(first, hashes))
                          | _mm_movemask_epi8(_mm_cmpeq_epi8(second, hashes)) << 16;
        if (found != 0) {
            return from + __builtin_ctz(static_cast<unsigned>(found));
        }
        from += 32;
    }
    return findHashBytewise(from, end);
}

// One bit per byte above 32 (signed compare: 0x80..0xFF are below).
__attribute__((target("sse2"))) unsigned nonBlankBits(__m128i bytes)
{
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(bytes, _mm_set1_epi8(' '))));
}

__attribute__((target("sse2"))) const char* skipBlanksSse2(const char* from, const char* end)
{
    while (end - from >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i lineEnds =
            _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')));
        const unsigned stops = nonBlankBits(bytes) | static_cast<unsigned>(_mm_movemask_epi8(lineEnds));
        if (stops != 0) {
            return from + __builtin_ctz(stops);
        }
        from += 16;
    }
    return skipBlanksBytewise(from, end);
}

__attribute__((target("sse2"))) const char* findBlankSse2(const char* from, const char* end)
{
    while (end - from >= 16) {
        const unsigned blanks = ~nonBlankBits(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from))) & 0xFFFFu;
        if (blanks != 0) {
            return from + __builtin_ctz(blanks);
        }
        from += 16;
    }
    return findBlankBytewise(from, end);
}

} // namespace

bool ByteSearch::startsLine(const char* begin, const char* at)
{
    while (at != begin && ByteSearch::isBlank(at[-1]) && !ByteSearch::isLineEnd(at[-1])) {
        --at;
    }
    return at == begin || ByteSearch::isLineEnd(at[-1]);
}

const ByteSearch ByteSearch::BYTEWISE = {findHashBytewise, skipBlanksBytewise, findBlankBytewise};
const ByteSearch ByteSearch::SSE2 = {findHashSse2, skipBlanksSse2, findBlankSse2};

const ByteSearch& ByteSearch::forThisProcessor()
{
    static const ByteSearch& chosen = IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) ? SSE2 : BYTEWISE;
    return chosen;
}

#include "codes/HeaderScanner.h"

#include "codes/ByteSpan.h"
#include "codes/CodeBatch.h"
#include "codes/CodeTable.h"

#include "zeno/DebugLog.h"
#include "zeno/Exception.h"
#include "zeno/MappedFile.h"
#include "zeno/Strings.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <unordered_set>
#include <utility>

#include <emmintrin.h>
#include <windows.h>

namespace {

// The one accepted line shape of a header: #define <namePrefix...> <valuePrefix><digits><valueSuffix>
struct HeaderShape {
    std::wstring_view namePrefix;
    std::wstring_view valuePrefix;
    std::wstring_view valueSuffix;
    std::uint32_t (ByteSpan::*parseDigits)() const;
    const wchar_t* logLabel;
    // Later definitions of a name are passed over entirely. winerror.h defines some HRESULTs twice:
    // the Windows values under #if defined(_WIN32) && !defined(_MAC), others after its #else.
    bool firstDefinitionWins;
};

constexpr std::wstring_view DEFINE = L"#define";

const HeaderShape NTSTATUS_SHAPE = {L"STATUS_", L"((NTSTATUS)0x", L"L)", &ByteSpan::parseHex,
                                    L"NTSTATUS loaded ", false};
const HeaderShape WIN32_SHAPE = {L"ERROR_", L"", L"L", &ByteSpan::parseDecimal,
                                 L"Win32 Error Code loaded ", false};
const HeaderShape HRESULT_SHAPE = {L"", L"_HRESULT_TYPEDEF_(0x", L"L)", &ByteSpan::parseHex,
                                   L"HRESULT loaded ", true};

// Bytes of 32 or less, read as signed (so 0x80..0xFF too), separate tokens.
bool isBlank(char byte)
{
    return static_cast<signed char>(byte) <= ' ';
}

bool isLineEnd(char byte)
{
    return byte == '\r' || byte == '\n';
}

// The first '#' from `from` on, or `end`; only lines that start with one can be definitions.
// Sixteen bytes at a time where the processor has SSE2 (every x86-64 one, nearly every x86 one).
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
    while (from != end && *from != '#') {
        ++from;
    }
    return from;
}

const char* findHashBytewise(const char* from, const char* end)
{
    const void* found = std::memchr(from, '#', static_cast<std::size_t>(end - from));
    return found != nullptr ? static_cast<const char*>(found) : end;
}

const char* findHash(const char* from, const char* end)
{
    static const auto find = IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) ? findHashSse2
                                                                                         : findHashBytewise;
    return find(from, end);
}

// Only blanks between the line's start and `at`.
bool startsLine(const char* begin, const char* at)
{
    while (at != begin && isBlank(at[-1]) && !isLineEnd(at[-1])) {
        --at;
    }
    return at == begin || isLineEnd(at[-1]);
}

// Cuts the next token of the line that `cursor` is in; an empty span at the line's end.
ByteSpan nextToken(const char*& cursor, const char* end)
{
    // Definitions align their values with runs of spaces.
    constexpr std::uint32_t FOUR_SPACES = 0x20202020;
    std::uint32_t four;
    while (end - cursor >= 4 && (std::memcpy(&four, cursor, 4), four == FOUR_SPACES)) {
        cursor += 4;
    }
    while (cursor != end && isBlank(*cursor) && !isLineEnd(*cursor)) {
        ++cursor;
    }
    const char* start = cursor;
    while (cursor != end && !isBlank(*cursor)) {
        ++cursor;
    }
    return ByteSpan(start, static_cast<std::uint32_t>(cursor - start));
}

// The name and value of the definition at `hash`, when its line has the shape.
bool definitionAt(const HeaderShape& shape, const char* hash, const char* end, std::string_view& name,
                  std::uint32_t& value)
{
    const char* cursor = hash;
    if (!nextToken(cursor, end).equals(DEFINE)) {
        return false;
    }
    const ByteSpan nameToken = nextToken(cursor, end);
    if (nameToken.size() == 0 || !nameToken.startsWith(shape.namePrefix)) {
        return false;
    }
    const ByteSpan valueToken = nextToken(cursor, end);
    if (valueToken.size() == 0 || valueToken.size() < shape.valuePrefix.size() + shape.valueSuffix.size()
        || !valueToken.startsWith(shape.valuePrefix) || !valueToken.endsWith(shape.valueSuffix)) {
        return false;
    }
    const ByteSpan digits = valueToken.middle(static_cast<std::uint32_t>(shape.valuePrefix.size()),
                                              static_cast<std::uint32_t>(shape.valueSuffix.size()));
    try {
        value = (digits.*shape.parseDigits)();
    } catch (const zeno::NumberFormatException&) {
        return false;
    }
    name = std::string_view(nameToken.data(), nameToken.size());
    return true;
}

void scanHeader(CodeTable& table, const std::wstring& path, const HeaderShape& shape)
{
    table.setHeaderPath(path);
    zeno::MappedFile file(path, zeno::MappedFile::READ, zeno::nilString);
    // Only the low 32 bits of the size count, as for every reader of this program.
    const char* const begin = static_cast<const char*>(file.data());
    const char* const end = begin + static_cast<std::uint32_t>(file.size());

    // The names stay bytes of the mapped file until the table takes the distinct ones.
    CodeBatch definitions;
    std::unordered_set<std::string_view> definedNames;
    std::string_view name;
    std::uint32_t value;
    for (const char* hash = findHash(begin, end); hash != end; hash = findHash(hash + 1, end)) {
        if (startsLine(begin, hash) && definitionAt(shape, hash, end, name, value)
            && (!shape.firstDefinitionWins || definedNames.insert(name).second)) {
            definitions.add(value, name);
        }
    }
    table.addAll(std::move(definitions));
    file.close();
    zeno::debugLog(shape.logLabel + zeno::toString(static_cast<std::uint32_t>(table.size())) + L" entries");
}

} // namespace

void scanNtStatusHeader(CodeTable& ntStatusTable, const std::wstring& path)
{
    scanHeader(ntStatusTable, path, NTSTATUS_SHAPE);
}

void scanWin32ErrorHeader(CodeTable& win32Table, const std::wstring& path)
{
    scanHeader(win32Table, path, WIN32_SHAPE);
}

void scanHResultHeader(CodeTable& hresultTable, const std::wstring& path)
{
    scanHeader(hresultTable, path, HRESULT_SHAPE);
}

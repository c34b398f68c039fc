#include "codes/HeaderScanner.h"

#include "codes/ByteSearch.h"
#include "codes/ByteSpan.h"
#include "codes/CodeBatch.h"
#include "codes/CodeTable.h"

#include "zeno/DebugLog.h"
#include "zeno/Exception.h"
#include "zeno/MappedFile.h"
#include "zeno/Strings.h"

#include <cstdint>
#include <string_view>
#include <unordered_set>
#include <utility>


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

// Cuts the next token of the line that `cursor` is in; an empty span at the line's end.
ByteSpan nextToken(const ByteSearch& search, const char*& cursor, const char* end)
{
    const char* start = search.skipBlanks(cursor, end);
    cursor = search.findBlank(start, end);
    return ByteSpan(start, static_cast<std::uint32_t>(cursor - start));
}

// The name and value of the definition at `hash`, when its line has the shape.
bool definitionAt(const ByteSearch& search, const HeaderShape& shape, const char* hash, const char* end,
                  std::string_view& name, std::uint32_t& value)
{
    const char* cursor = hash;
    if (!nextToken(search, cursor, end).equals(DEFINE)) {
        return false;
    }
    const ByteSpan nameToken = nextToken(search, cursor, end);
    if (nameToken.size() == 0 || !nameToken.startsWith(shape.namePrefix)) {
        return false;
    }
    const ByteSpan valueToken = nextToken(search, cursor, end);
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
    const ByteSearch& search = ByteSearch::forThisProcessor();
    for (const char* hash = search.findHash(begin, end); hash != end; hash = search.findHash(hash + 1, end)) {
        if (ByteSearch::startsLine(begin, hash) && definitionAt(search, shape, hash, end, name, value)
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

#include "codes/HeaderScanner.h"

#include "codes/ByteSearch.h"
#include "codes/ByteSpan.h"
#include "codes/CodeBatch.h"
#include "codes/CodeTable.h"

#include "zeno/DebugLog.h"
#include "zeno/Exception.h"
#include "zeno/File.h"
#include "zeno/Handle.h"
#include "zeno/MappedFile.h"
#include "zeno/Strings.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>


namespace {

// The one accepted line shape of a header: #define <namePrefix...> <valuePrefix><digits><valueSuffix>
struct HeaderShape {
    std::wstring_view namePrefix;
    std::wstring_view valuePrefix;
    std::wstring_view valueSuffix;
    std::uint32_t (ByteSpan::*parseDigits)() const;
    const wchar_t* logLabel;
};

constexpr std::wstring_view DEFINE = L"#define";

const HeaderShape NTSTATUS_SHAPE = {L"STATUS_", L"((NTSTATUS)0x", L"L)", &ByteSpan::parseHex,
                                    L"NTSTATUS loaded "};
const HeaderShape WIN32_SHAPE = {L"ERROR_", L"", L"L", &ByteSpan::parseDecimal,
                                 L"Win32 Error Code loaded "};

// Cuts the next token of the line that `cursor` is in; an empty span at the line's end.
ByteSpan nextToken(const ByteSearch& search, const char*& cursor, const char* end)
{
    const char* start = search.skipBlanks(cursor, end);
    cursor = search.findBlank(start, end);
    return ByteSpan(start, static_cast<std::uint32_t>(cursor - start));
}

// The value of a definition, when its name and value tokens have the shape.
bool valueOf(const HeaderShape& shape, const ByteSpan& nameToken, const ByteSpan& valueToken, std::uint32_t& value)
{
    if (!nameToken.startsWith(shape.namePrefix)) {
        return false;
    }
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
    return true;
}

// Reads every definition of the bytes: into the batch when it has the shape (no shape, no batch:
// none does), to the listener whatever it is.
void scanBytes(const char* const begin, const char* const end, const HeaderShape* shape, CodeBatch* definitions,
               DefinitionListener* listener)
{
    // The names stay bytes of the file until the table takes the distinct ones.
    std::uint32_t value;
    const ByteSearch& search = ByteSearch::forThisProcessor();
    for (const char* hash = search.findHash(begin, end); hash != end; hash = search.findHash(hash + 1, end)) {
        const char* cursor = hash;
        if (!ByteSearch::startsLine(begin, hash) || !nextToken(search, cursor, end).equals(DEFINE)) {
            continue;
        }
        const ByteSpan nameToken = nextToken(search, cursor, end);
        if (nameToken.size() == 0) {
            continue;
        }
        const char* const afterName = cursor;
        const ByteSpan valueToken = nextToken(search, cursor, end);
        const std::string_view name(nameToken.data(), nameToken.size());
        if (shape != nullptr && valueOf(*shape, nameToken, valueToken, value)) {
            definitions->add(value, name);
        }
        if (listener != nullptr) {
            listener->definition({name, std::string_view(valueToken.data(), valueToken.size()), afterName, end});
        }
    }
}

void scanHeader(CodeTable& table, const std::wstring& path, const HeaderShape& shape, DefinitionListener* listener)
{
    table.setHeaderPath(path);
    zeno::MappedFile file(path, zeno::MappedFile::READ, zeno::nilString);
    // Only the low 32 bits of the size count, as for every reader of this program.
    const char* const begin = static_cast<const char*>(file.data());
    CodeBatch definitions;
    scanBytes(begin, begin + static_cast<std::uint32_t>(file.size()), &shape, &definitions, listener);
    table.addAll(std::move(definitions));
    file.close();
    zeno::debugLog(shape.logLabel + zeno::toString(static_cast<std::uint32_t>(table.size())) + L" entries");
}

} // namespace

void scanNtStatusHeader(CodeTable& ntStatusTable, const std::wstring& path)
{
    scanHeader(ntStatusTable, path, NTSTATUS_SHAPE, nullptr);
}

void scanWin32ErrorHeader(CodeTable& win32Table, const std::wstring& path)
{
    scanHeader(win32Table, path, WIN32_SHAPE, nullptr);
}

void scanNtStatusDefinitions(CodeTable& ntStatusTable, const std::wstring& path, DefinitionListener& everyDefinition)
{
    scanHeader(ntStatusTable, path, NTSTATUS_SHAPE, &everyDefinition);
}

void scanWin32ErrorDefinitions(CodeTable& win32Table, const std::wstring& path, DefinitionListener& everyDefinition)
{
    scanHeader(win32Table, path, WIN32_SHAPE, &everyDefinition);
}

void scanDefinitions(const std::wstring& path, DefinitionListener& everyDefinition)
{
    zeno::Handle file(zeno::openFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0));
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) {
        throw zeno::IOException(L"::GetFileSizeEx(" + path + L") failed", GetLastError());
    }
    // As for the mapped headers: only the low 32 bits of the size count, and an empty file fails.
    const DWORD length = static_cast<DWORD>(size.QuadPart);
    const std::unique_ptr<char[]> bytes(new char[length == 0 ? 1 : length]);
    DWORD count = 0;
    if (!ReadFile(file.get(), bytes.get(), length, &count, nullptr) || length == 0) {
        throw zeno::IOException(L"::ReadFile(" + path + L") failed",
                                length == 0 ? static_cast<std::uint32_t>(ERROR_HANDLE_EOF) : GetLastError());
    }
    file.close();
    scanBytes(bytes.get(), bytes.get() + count, nullptr, nullptr, &everyDefinition);
}

std::string_view DefinitionListener::Definition::restOfLine() const
{
    const char* lineEnd = afterName;
    while (lineEnd != end && !ByteSearch::isLineEnd(*lineEnd)) {
        ++lineEnd;
    }
    return std::string_view(afterName, static_cast<std::size_t>(lineEnd - afterName));
}

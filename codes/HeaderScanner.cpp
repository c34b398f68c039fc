#include "codes/HeaderScanner.h"

#include "codes/ByteSpan.h"
#include "codes/CodeTable.h"

#include "zeno/DebugLog.h"
#include "zeno/Exception.h"
#include "zeno/MappedFile.h"
#include "zeno/Strings.h"

#include <cstdint>
#include <string_view>

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

void scanHeader(CodeTable& table, const std::wstring& path, const HeaderShape& shape)
{
    table.setHeaderPath(path);
    zeno::MappedFile file(path, zeno::MappedFile::READ, zeno::nilString);
    // Only the low 32 bits of the size count, as for every reader of this program.
    ByteSpan bytes(file.data(), static_cast<std::uint32_t>(file.size()));
    const auto affixLength = static_cast<std::uint32_t>(shape.valuePrefix.size() + shape.valueSuffix.size());

    ByteSpan line;
    ByteSpan token;
    ByteSpan name;
    std::wstring wideName;
    while (bytes.nextLine(line)) {
        if (!line.nextToken(token) || !token.equals(DEFINE)) {
            continue;
        }
        if (!line.nextToken(name) || !name.startsWith(shape.namePrefix)) {
            continue;
        }
        if (!line.nextToken(token) || token.size() < affixLength || !token.startsWith(shape.valuePrefix)
            || !token.endsWith(shape.valueSuffix)) {
            continue;
        }
        const ByteSpan digits = token.middle(static_cast<std::uint32_t>(shape.valuePrefix.size()),
                                             static_cast<std::uint32_t>(shape.valueSuffix.size()));
        std::uint32_t value;
        try {
            value = (digits.*shape.parseDigits)();
        } catch (const zeno::NumberFormatException&) {
            continue;
        }
        // Only accepted names become wide strings.
        wideName.clear();
        name.appendTo(wideName);
        table.add(value, wideName);
    }
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

#include "cli/Lookup.h"

#include "cli/CodeValueText.h"
#include "codes/CodeExceptions.h"
#include "codes/CodeTable.h"
#include "codes/MessageFormatter.h"
#include "codes/NtStatusMapping.h"
#include "zeno/Strings.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace {

const CodeKind ALL_KINDS[] = {CodeKind::NTSTATUS, CodeKind::WIN32_ERROR, CodeKind::HRESULT_CODE};

std::wstring withoutLineEnd(std::wstring text)
{
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) {
        text.pop_back();
    }
    return text;
}

// An HRESULT as the SDK builds them: the failure bit with the reserved bit clear, or an NTSTATUS
// wrapped with the N bit (which leaves the NTSTATUS severity, reserved bit included).
bool isHResultShaped(std::uint32_t value)
{
    return hresultSeverity(value) == 1 && ((value & 0x40000000) == 0 || (value & HRESULT_NT_BIT) != 0);
}

} // namespace

bool Answer::found() const
{
    if (!matches.empty()) {
        return true;
    }
    for (const ValueReadings& readings : values) {
        if (!readings.ntStatus.name.empty() || !readings.win32.name.empty() || !readings.hresult.name.empty()
            || (readings.hresultInner && !readings.hresultInner->name.empty())) {
            return true;
        }
    }
    return false;
}

Lookup::Lookup(const CodeTable& ntStatusTable, const CodeTable& win32Table, const CodeTable& hresultTable,
               const ReverseMap& reverseMap, const MessageFormatter& ntStatusFormatter,
               const MessageFormatter& win32Formatter)
    : ntStatusTable(ntStatusTable), win32Table(win32Table), hresultTable(hresultTable), reverseMap(reverseMap),
      ntStatusFormatter(ntStatusFormatter), win32Formatter(win32Formatter)
{
}

const CodeTable& Lookup::tableOf(CodeKind kind) const
{
    switch (kind) {
    case CodeKind::NTSTATUS:
        return ntStatusTable;
    case CodeKind::WIN32_ERROR:
        return win32Table;
    case CodeKind::HRESULT_CODE:
        break;
    }
    return hresultTable;
}

KindCode Lookup::code(CodeKind kind, std::uint32_t value, bool withText) const
{
    KindCode result;
    result.kind = kind;
    result.value = value;
    try {
        result.name = tableOf(kind).nameOf(value);
    } catch (const EntryNotFoundException&) {
    }
    if (withText && kind != CodeKind::HRESULT_CODE) {
        const MessageFormatter& formatter = kind == CodeKind::NTSTATUS ? ntStatusFormatter : win32Formatter;
        result.text = withoutLineEnd(formatter.format(value));
    }
    return result;
}

ValueReadings Lookup::readingsOf(std::uint32_t value) const
{
    ValueReadings readings;
    readings.value = value;
    readings.ntStatus = code(CodeKind::NTSTATUS, value, true);
    try {
        readings.ntStatusAsWin32 = code(CodeKind::WIN32_ERROR, ntStatusToWin32(value), true);
    } catch (const NotMappedException&) {
    }
    readings.win32 = code(CodeKind::WIN32_ERROR, value, true);
    try {
        for (std::uint32_t ntStatus : win32ToNtStatus(reverseMap, value)) {
            readings.win32FromNtStatus.push_back(code(CodeKind::NTSTATUS, ntStatus, false));
        }
    } catch (const NotMappedException&) {
    }
    readings.hresult = code(CodeKind::HRESULT_CODE, value, false);
    readings.hresultShaped = isHResultShaped(value) || !readings.hresult.name.empty();
    if (readings.hresultShaped && hresultSeverity(value) == 1) {
        if ((value & HRESULT_NT_BIT) != 0) {
            readings.hresultInner = code(CodeKind::NTSTATUS, value & ~HRESULT_NT_BIT, true);
        } else if (hresultFacility(value) == FACILITY_WIN32_CODE) {
            readings.hresultInner = code(CodeKind::WIN32_ERROR, codeField(value), true);
        }
    }
    return readings;
}

Answer Lookup::answer(const std::wstring& query) const
{
    Answer result;
    result.query = query;
    if (const std::optional<std::uint32_t> value = parseCodeValue(query)) {
        result.values.push_back(readingsOf(*value));
        return result;
    }
    // Names are matched in any case; a name that an alias shares a value with is found through
    // the name index, the others through the listing.
    const std::wstring wanted = zeno::toUpper(query);
    std::set<std::uint32_t> named;
    std::vector<KindCode> parts;
    for (CodeKind kind : ALL_KINDS) {
        const CodeTable& table = tableOf(kind);
        try {
            named.insert(table.valueOf(wanted));
        } catch (const EntryNotFoundException&) {
        }
        for (const auto& entry : table) {
            const std::wstring name = zeno::toUpper(std::wstring(entry.second));
            if (name == wanted) {
                named.insert(entry.first);
            } else if (!wanted.empty() && name.find(wanted) != std::wstring::npos) {
                parts.push_back({kind, entry.first, std::wstring(entry.second), std::wstring()});
            }
        }
    }
    if (!named.empty()) {
        for (std::uint32_t value : named) {
            result.values.push_back(readingsOf(value));
        }
        return result;
    }
    std::stable_sort(parts.begin(), parts.end(), [](const KindCode& a, const KindCode& b) {
        return std::tie(a.value, a.kind) < std::tie(b.value, b.kind);
    });
    result.matches = std::move(parts);
    return result;
}

#include "cli/Lookup.h"

#include "cli/CodeValueText.h"
#include "cli/ModuleTexts.h"
#include "cli/NameCatalog.h"
#include "codes/CodeExceptions.h"
#include "codes/CodeTable.h"
#include "codes/MessageFormatter.h"
#include "codes/NtStatusMapping.h"
#include "zeno/Strings.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace {

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

bool contains(const std::wstring& name, const std::wstring& upperPart)
{
    return zeno::toUpper(name).find(upperPart) != std::wstring::npos;
}

} // namespace

std::wstring KindCode::name() const
{
    return names.empty() ? std::wstring() : names.front().name;
}

bool ValueReadings::named() const
{
    return !ntStatus.names.empty() || !win32.names.empty() || !hresult.names.empty() || !bugCheck.names.empty()
           || (hresultInner && !hresultInner->names.empty());
}

bool Answer::found() const
{
    return !matches.empty() || std::any_of(values.begin(), values.end(), [](const ValueReadings& readings) {
        return readings.named();
    });
}

Lookup::Lookup(const CodeTable& ntStatusTable, const CodeTable& win32Table, const ReverseMap& reverseMap,
               const NameCatalog& catalog, const MessageFormatter& ntStatusFormatter,
               const MessageFormatter& win32Formatter, const ModuleTexts& moduleTexts)
    : ntStatusTable(ntStatusTable), win32Table(win32Table), reverseMap(reverseMap), catalog(catalog),
      ntStatusFormatter(ntStatusFormatter), win32Formatter(win32Formatter), moduleTexts(moduleTexts)
{
}

const CodeTable* Lookup::windowTable(CodeKind kind) const
{
    return kind == CodeKind::NTSTATUS ? &ntStatusTable : kind == CodeKind::WIN32_ERROR ? &win32Table : nullptr;
}

KindCode Lookup::code(CodeKind kind, std::uint32_t value, bool withText) const
{
    KindCode result;
    result.kind = kind;
    result.value = value;
    if (const CodeTable* table = windowTable(kind)) {
        try {
            const std::wstring& path = table->headerPath();
            result.names.push_back({std::wstring(table->nameOf(value)), path, fileNameOf(path)});
        } catch (const EntryNotFoundException&) {
        }
    }
    for (const NameCatalog::Name* name : catalog.namesOf(kind, value)) {
        const std::wstring text = widened(name->text);
        if (std::none_of(result.names.begin(), result.names.end(), [&](const HeaderName& known) { return known.name == text; })) {
            const NameCatalog::Header& header = catalog.headers()[name->header];
            result.names.push_back({text, header.path, header.fileName});
        }
    }
    if (withText) {
        result.text = textOf(result);
    }
    return result;
}

std::wstring Lookup::textOf(const KindCode& code) const
{
    switch (code.kind) {
    case CodeKind::NTSTATUS:
        return withoutLineEnd(ntStatusFormatter.format(code.value));
    case CodeKind::WIN32_ERROR:
        // The module of a header that names the code knows it best (netmsg.dll for NERR_ codes).
        for (const NameCatalog::Header& header : catalog.headers()) {
            if (header.textModule != nullptr
                && std::any_of(code.names.begin(), code.names.end(),
                               [&](const HeaderName& name) { return name.headerPath == header.path; })) {
                std::wstring text = withoutLineEnd(moduleTexts.text(header.textModule, code.value));
                if (!text.empty()) {
                    return text;
                }
            }
        }
        return withoutLineEnd(win32Formatter.format(code.value));
    case CodeKind::HRESULT_CODE:
    case CodeKind::BUG_CHECK:
        break;
    }
    return std::wstring();
}

std::vector<std::uint32_t> Lookup::ntStatusSources(std::uint32_t win32Code) const
{
    std::set<std::uint32_t> sources;
    try {
        const NtStatusList& mapped = win32ToNtStatus(reverseMap, win32Code);
        sources.insert(mapped.begin(), mapped.end());
    } catch (const NotMappedException&) {
    }
    // The reverse map holds the window's values; the console also knows DBG_, RPC_NT_ and the like.
    for (const NameCatalog::Name& name : catalog.names()) {
        if (name.kind == CodeKind::NTSTATUS && sources.count(name.value) == 0) {
            try {
                if (ntStatusToWin32(name.value) == win32Code) {
                    sources.insert(name.value);
                }
            } catch (const NotMappedException&) {
            }
        }
    }
    return std::vector<std::uint32_t>(sources.begin(), sources.end());
}

ValueReadings Lookup::readingsOf(std::uint32_t value) const
{
    ValueReadings readings;
    readings.value = value;
    readings.ntStatus = code(CodeKind::NTSTATUS, value, true);
    readings.ntStatusFacility = widened(catalog.facilityName(CodeKind::NTSTATUS, ntStatusFacility(value)));
    try {
        readings.ntStatusAsWin32 = code(CodeKind::WIN32_ERROR, ntStatusToWin32(value), true);
    } catch (const NotMappedException&) {
    }
    readings.win32 = code(CodeKind::WIN32_ERROR, value, true);
    for (std::uint32_t ntStatus : ntStatusSources(value)) {
        readings.win32FromNtStatus.push_back(code(CodeKind::NTSTATUS, ntStatus, false));
    }
    readings.hresult = code(CodeKind::HRESULT_CODE, value, false);
    readings.hresultFacility = widened(catalog.facilityName(CodeKind::HRESULT_CODE, hresultFacility(value)));
    readings.hresultShaped = isHResultShaped(value) || !readings.hresult.names.empty();
    if (readings.hresultShaped && hresultSeverity(value) == 1) {
        if ((value & HRESULT_NT_BIT) != 0) {
            readings.hresultInner = code(CodeKind::NTSTATUS, value & ~HRESULT_NT_BIT, true);
        } else if (hresultFacility(value) == FACILITY_WIN32_CODE) {
            readings.hresultInner = code(CodeKind::WIN32_ERROR, codeField(value), true);
        }
    }
    readings.bugCheck = code(CodeKind::BUG_CHECK, value, false);
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
    // Names are matched in any case, every name of every kind.
    const std::wstring wanted = zeno::toUpper(query);
    std::set<std::uint32_t> named;
    std::map<std::tuple<std::uint32_t, CodeKind, std::wstring>, std::wstring> parts;   // -> header path
    for (CodeKind kind : ALL_CODE_KINDS) {
        for (std::uint32_t value : catalog.valuesNamed(kind, query)) {
            named.insert(value);
        }
        if (const CodeTable* table = windowTable(kind)) {
            try {
                named.insert(table->valueOf(wanted));
            } catch (const EntryNotFoundException&) {
            }
            for (const auto& entry : *table) {
                const std::wstring name(entry.second);
                if (zeno::toUpper(name) == wanted) {
                    named.insert(entry.first);
                } else if (!wanted.empty() && contains(name, wanted)) {
                    parts.emplace(std::make_tuple(entry.first, kind, name), table->headerPath());
                }
            }
        }
    }
    if (!named.empty()) {
        for (std::uint32_t value : named) {
            result.values.push_back(readingsOf(value));
        }
        return result;
    }
    for (const NameCatalog::Name& name : catalog.names()) {
        const std::wstring text = widened(name.text);
        if (!wanted.empty() && contains(text, wanted) && catalog.counts(name)) {
            parts.emplace(std::make_tuple(name.value, name.kind, text), catalog.headers()[name.header].path);
        }
    }
    for (const auto& part : parts) {
        KindCode match;
        std::tie(match.value, match.kind, std::ignore) = part.first;
        const std::wstring& path = part.second;
        match.names.push_back({std::get<2>(part.first), path, fileNameOf(path)});
        result.matches.push_back(std::move(match));
    }
    return result;
}

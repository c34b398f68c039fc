#include "cli/JsonReport.h"

#include "cli/CodeValueText.h"
#include "cli/Lookup.h"

#include <cstdio>

namespace {

std::wstring quoted(const std::wstring& text)
{
    std::wstring out = L"\"";
    for (wchar_t unit : text) {
        switch (unit) {
        case L'"':
            out += L"\\\"";
            break;
        case L'\\':
            out += L"\\\\";
            break;
        case L'\n':
            out += L"\\n";
            break;
        case L'\r':
            out += L"\\r";
            break;
        case L'\t':
            out += L"\\t";
            break;
        default:
            if (unit < 0x20) {
                wchar_t escape[8];
                std::swprintf(escape, 8, L"\\u%04x", static_cast<unsigned>(unit));
                out += escape;
            } else {
                out += unit;
            }
        }
    }
    return out + L"\"";
}

std::wstring nameOrNull(const std::wstring& name)
{
    return name.empty() ? L"null" : quoted(name);
}

std::wstring field(const wchar_t* name, const std::wstring& json)
{
    return quoted(name) + L": " + json;
}

std::wstring number(std::uint32_t value)
{
    return std::to_wstring(value);
}

const wchar_t* kindName(CodeKind kind)
{
    switch (kind) {
    case CodeKind::NTSTATUS:
        return L"ntstatus";
    case CodeKind::WIN32_ERROR:
        return L"win32";
    case CodeKind::HRESULT_CODE:
        return L"hresult";
    case CodeKind::BUG_CHECK:
        break;
    }
    return L"bugcheck";
}

// The first name (null without one), then every name with the path of its header.
std::wstring names(const KindCode& code)
{
    std::wstring list;
    for (const HeaderName& name : code.names) {
        list += (list.empty() ? L"{" : L", {") + field(L"name", quoted(name.name)) + L", "
                + field(L"header", quoted(name.headerPath)) + L"}";
    }
    return field(L"name", nameOrNull(code.name())) + L", " + field(L"names", L"[" + list + L"]");
}

std::wstring code(const KindCode& code, bool withText)
{
    std::wstring json = L"{" + field(L"kind", quoted(kindName(code.kind))) + L", " + field(L"value", number(code.value))
                        + L", " + field(L"hex", quoted(hexText(code.value))) + L", " + names(code);
    if (withText) {
        json += L", " + field(L"text", quoted(code.text));
    }
    return json + L"}";
}

std::wstring value(const ValueReadings& readings)
{
    const std::uint32_t v = readings.value;
    std::wstring ntStatus = L"{" + names(readings.ntStatus) + L", "
                            + field(L"text", quoted(readings.ntStatus.text)) + L", "
                            + field(L"severity", number(ntStatusSeverity(v))) + L", "
                            + field(L"customer", number(ntStatusCustomer(v))) + L", "
                            + field(L"facility", number(ntStatusFacility(v))) + L", "
                            + field(L"facilityName", nameOrNull(readings.ntStatusFacility)) + L", "
                            + field(L"code", number(codeField(v))) + L", "
                            + field(L"win32", readings.ntStatusAsWin32 ? code(*readings.ntStatusAsWin32, true) : L"null")
                            + L"}";
    std::wstring sources;
    for (const KindCode& source : readings.win32FromNtStatus) {
        sources += (sources.empty() ? L"" : L", ") + code(source, false);
    }
    std::wstring win32 = L"{" + names(readings.win32) + L", "
                         + field(L"text", quoted(readings.win32.text)) + L", " + field(L"ntstatus", L"[" + sources + L"]")
                         + L"}";
    std::wstring hresult = L"null";
    if (readings.hresultShaped) {
        hresult = L"{" + names(readings.hresult) + L", " + field(L"severity", number(hresultSeverity(v))) + L", "
                  + field(L"facility", number(hresultFacility(v))) + L", "
                  + field(L"facilityName", nameOrNull(readings.hresultFacility)) + L", "
                  + field(L"code", number(codeField(v)))
                  + L", " + field(L"nt", (v & HRESULT_NT_BIT) != 0 ? L"true" : L"false") + L", "
                  + field(L"wraps", readings.hresultInner ? code(*readings.hresultInner, true) : L"null") + L"}";
    }
    const std::wstring bugCheck = readings.bugCheck.names.empty() ? L"null" : L"{" + names(readings.bugCheck) + L"}";
    return L"{" + field(L"value", number(v)) + L", " + field(L"hex", quoted(hexText(v))) + L", "
           + field(L"signed", std::to_wstring(static_cast<std::int32_t>(v))) + L",\n      "
           + field(L"ntstatus", ntStatus) + L",\n      " + field(L"win32", win32) + L",\n      "
           + field(L"hresult", hresult) + L",\n      " + field(L"bugcheck", bugCheck) + L"}";
}

} // namespace

std::wstring jsonValue(const ValueReadings& readings)
{
    return value(readings);
}

std::wstring jsonString(const std::wstring& text)
{
    return quoted(text);
}

std::wstring jsonReport(const std::vector<Answer>& answers)
{
    std::wstring json = L"[";
    for (std::size_t i = 0; i < answers.size(); ++i) {
        const Answer& answer = answers[i];
        std::wstring values;
        for (const ValueReadings& readings : answer.values) {
            values += (values.empty() ? L"\n    " : L",\n    ") + value(readings);
        }
        std::wstring matches;
        for (const KindCode& match : answer.matches) {
            matches += (matches.empty() ? L"\n    " : L",\n    ") + code(match, false);
        }
        json += (i == 0 ? L"\n  {" : L",\n  {") + field(L"query", quoted(answer.query)) + L", "
                + field(L"found", answer.found() ? L"true" : L"false") + L",\n   "
                + field(L"values", L"[" + values + L"]") + L",\n   " + field(L"matches", L"[" + matches + L"]") + L"}";
    }
    return json + L"\n]\n";
}

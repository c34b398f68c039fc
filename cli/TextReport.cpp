#include "cli/TextReport.h"

#include "cli/CodeValueText.h"
#include "cli/Lookup.h"

#include <string>

namespace {

const std::size_t LABEL_WIDTH = 18;
const wchar_t* const NONE = L"(none)";

const wchar_t* const NTSTATUS_SEVERITIES[] = {L"success", L"informational", L"warning", L"error"};

const wchar_t* kindName(CodeKind kind)
{
    switch (kind) {
    case CodeKind::NTSTATUS:
        return L"NTSTATUS";
    case CodeKind::WIN32_ERROR:
        return L"Win32";
    case CodeKind::HRESULT_CODE:
        return L"HRESULT";
    case CodeKind::BUG_CHECK:
        break;
    }
    return L"bug check";
}

std::wstring padded(std::wstring text, std::size_t width, bool right = false)
{
    if (text.size() < width) {
        text.insert(right ? 0 : text.size(), width - text.size(), L' ');
    }
    return text;
}

std::wstring hex4(std::uint32_t value)
{
    return L"0x" + hexText(value).substr(6);
}

std::wstring orNone(const std::wstring& text)
{
    return text.empty() ? NONE : text;
}

// Decimal (and hex) for Win32 codes, hex for the others; then the name.
std::wstring codeLine(const KindCode& code)
{
    const std::wstring number = code.kind == CodeKind::WIN32_ERROR
                                    ? std::to_wstring(code.value) + L" (" + hexText(code.value) + L")"
                                    : hexText(code.value);
    return number + L" " + (code.names.empty() ? L"(no name)" : code.name());
}

// Every name of the code, one a line, each with its header's file name.
std::wstring namesText(const KindCode& code)
{
    std::wstring text;
    for (const HeaderName& name : code.names) {
        text += (text.empty() ? L"" : L"\n") + name.name + L"  (" + name.headerFile + L")";
    }
    return text.empty() ? L"(no name)" : text;
}

std::wstring facilityText(const std::wstring& number, const std::wstring& name)
{
    return L"facility " + number + (name.empty() ? L"" : L" (" + name + L")");
}

class Writer {
public:
    // One labelled row; the lines of a multi-line value continue under the value column.
    void row(const std::wstring& label, const std::wstring& value)
    {
        std::wstring line = padded(label, LABEL_WIDTH);
        for (std::size_t start = 0;;) {
            std::size_t end = value.find(L'\n', start);
            std::wstring part = value.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
            if (!part.empty() && part.back() == L'\r') {
                part.pop_back();
            }
            text += line + part + L"\n";
            if (end == std::wstring::npos) {
                break;
            }
            start = end + 1;
            line = std::wstring(LABEL_WIDTH, L' ');
        }
    }

    void value(const ValueReadings& readings)
    {
        const std::uint32_t v = readings.value;
        const KindCode& nt = readings.ntStatus;
        row(L"NTSTATUS", namesText(nt));
        row(L"  text", orNone(nt.text));
        row(L"  fields", L"severity " + std::to_wstring(ntStatusSeverity(v)) + L" ("
                             + NTSTATUS_SEVERITIES[ntStatusSeverity(v)] + L"), customer "
                             + std::to_wstring(ntStatusCustomer(v)) + L", "
                             + facilityText(hex4(ntStatusFacility(v)), readings.ntStatusFacility) + L", code "
                             + hex4(codeField(v)));
        if (readings.ntStatusAsWin32) {
            row(L"  maps to Win32", codeLine(*readings.ntStatusAsWin32));
            row(L"  its text", orNone(readings.ntStatusAsWin32->text));
        } else {
            row(L"  maps to Win32", NONE);
        }
        row(L"Win32 code", namesText(readings.win32));
        row(L"  text", orNone(readings.win32.text));
        std::wstring sources;
        for (const KindCode& ntStatus : readings.win32FromNtStatus) {
            sources += (sources.empty() ? L"" : L"\n") + codeLine(ntStatus);
        }
        row(L"  from NTSTATUS", orNone(sources));
        if (readings.hresultShaped) {
            row(L"HRESULT", namesText(readings.hresult));
            std::wstring fields = hresultSeverity(v) == 1 ? L"failure" : L"success";
            if ((v & HRESULT_NT_BIT) != 0) {
                fields += L", N bit (an NTSTATUS inside)";
            } else {
                fields += L", " + facilityText(std::to_wstring(hresultFacility(v)), readings.hresultFacility)
                          + L", code " + hex4(codeField(v));
            }
            row(L"  fields", fields);
            if (readings.hresultInner) {
                row(std::wstring(L"  wraps ") + kindName(readings.hresultInner->kind),
                    codeLine(*readings.hresultInner));
                row(L"  its text", orNone(readings.hresultInner->text));
            }
        }
        if (!readings.bugCheck.names.empty()) {
            row(L"Bug check", namesText(readings.bugCheck));
        }
    }

    void answer(const Answer& answer)
    {
        for (const ValueReadings& readings : answer.values) {
            std::wstring forms = hexText(readings.value) + L", " + std::to_wstring(readings.value);
            if (static_cast<std::int32_t>(readings.value) < 0) {
                forms += L", " + std::to_wstring(static_cast<std::int32_t>(readings.value));
            }
            text += answer.query + L"  (" + forms + L")\n";
            value(readings);
        }
        if (!answer.values.empty()) {
            return;
        }
        if (answer.matches.empty()) {
            text += answer.query + L"  (no name contains it)\n";
            return;
        }
        text += answer.query + L"  (" + std::to_wstring(answer.matches.size())
                + (answer.matches.size() == 1 ? L" name)\n" : L" names)\n");
        for (const KindCode& match : answer.matches) {
            text += L"  " + hexText(match.value) + L"  " + padded(std::to_wstring(match.value), 10, true) + L"  "
                    + padded(kindName(match.kind), 9) + L" " + namesText(match) + L"\n";
        }
    }

    std::wstring text;
};

} // namespace

std::wstring textReport(const std::vector<Answer>& answers)
{
    Writer writer;
    for (const Answer& answer : answers) {
        if (!writer.text.empty()) {
            writer.text += L"\n";
        }
        writer.answer(answer);
    }
    return writer.text;
}

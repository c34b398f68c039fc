#include "cli/ScanReport.h"

#include "cli/CodeValueText.h"
#include "cli/JsonReport.h"
#include "cli/Lookup.h"

#include <vector>

namespace {

std::wstring names(const wchar_t* kind, const KindCode& code)
{
    std::wstring text;
    for (const HeaderName& name : code.names) {
        text += (text.empty() ? std::wstring(kind) + L" " : L", ") + name.name;
    }
    return text;
}

std::wstring oneLine(std::wstring text)
{
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    for (wchar_t& unit : text) {
        if (unit == L'\r' || unit == L'\n') {
            unit = L' ';
        }
    }
    return text;
}

std::wstring summary(const ValueReadings& readings)
{
    std::wstring named;
    for (const std::wstring& part : {names(L"NTSTATUS", readings.ntStatus), names(L"Win32", readings.win32),
                                     names(L"HRESULT", readings.hresult), names(L"bug check", readings.bugCheck)}) {
        if (!part.empty()) {
            named += (named.empty() ? L"" : L"; ") + part;
        }
    }
    // The text of a reading that names the value (or of the code an HRESULT wraps), else any text.
    std::vector<const KindCode*> candidates;
    for (const KindCode* code : {&readings.ntStatus, &readings.win32}) {
        if (!code->names.empty()) {
            candidates.push_back(code);
        }
    }
    if (readings.hresultInner) {
        candidates.push_back(&*readings.hresultInner);
    }
    candidates.push_back(&readings.ntStatus);
    candidates.push_back(&readings.win32);
    std::wstring text;
    for (const KindCode* code : candidates) {
        if (text.empty()) {
            text = oneLine(code->text);
        }
    }
    return (named.empty() ? L"(no name)" : named) + (text.empty() ? L"" : L"  - " + text);
}

std::wstring widenedToken(const std::string& token)
{
    return std::wstring(token.begin(), token.end());
}

} // namespace

std::wstring scanTextReport(const std::vector<LogScanner::Found>& found, const Lookup& lookup)
{
    std::wstring report;
    for (const LogScanner::Found& code : found) {
        report += L"line " + std::to_wstring(code.line) + L": " + hexText(code.value) + L"  "
                  + summary(lookup.readingsOf(code.value)) + L"\n";
    }
    return report;
}

std::wstring scanJsonReport(const std::vector<LogScanner::Found>& found, const Lookup& lookup)
{
    std::wstring json = L"[";
    for (std::size_t i = 0; i < found.size(); ++i) {
        json += (i == 0 ? L"\n  {" : L",\n  {") + jsonString(L"line") + L": " + std::to_wstring(found[i].line) + L", "
                + jsonString(L"token") + L": " + jsonString(widenedToken(found[i].token)) + L",\n   "
                + jsonString(L"value") + L": " + jsonValue(lookup.readingsOf(found[i].value)) + L"}";
    }
    return json + L"\n]\n";
}

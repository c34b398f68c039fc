#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/CodeKind.h"
#include "codes/ReverseMap.h"

class CodeTable;
class MessageFormatter;
class ModuleTexts;
class NameCatalog;

// A name and the header that defines it.
struct HeaderName {
    std::wstring name;
    std::wstring headerPath;
    std::wstring headerFile;   // the file name alone
};

// A code of one kind with its names (none: no header names it), the name that the window would
// show first, and its system text (without the trailing line end; empty: the system has none, or
// it was not asked for).
struct KindCode {
    CodeKind kind = CodeKind::NTSTATUS;
    std::uint32_t value = 0;
    std::vector<HeaderName> names;
    std::wstring text;

    // The first name, or empty.
    std::wstring name() const;
};

// Every reading of one value.
struct ValueReadings {
    std::uint32_t value = 0;
    KindCode ntStatus;
    std::wstring ntStatusFacility;                // the header's name for its facility, or empty
    std::optional<KindCode> ntStatusAsWin32;      // what the NTSTATUS translates to
    KindCode win32;
    std::vector<KindCode> win32FromNtStatus;      // the NTSTATUS values that translate to it
    bool hresultShaped = false;                   // then the three below apply
    KindCode hresult;
    std::wstring hresultFacility;
    std::optional<KindCode> hresultInner;         // the Win32 code or NTSTATUS it wraps
    KindCode bugCheck;                            // shown when it has a name

    // A name in any reading.
    bool named() const;
};

// The answer to one query: the readings of the value(s) it names, or the names that contain it.
struct Answer {
    std::wstring query;
    std::vector<ValueReadings> values;
    std::vector<KindCode> matches;                // in value order, one name each, without texts

    // Something named: a value with a name in one of its readings, or a matching name.
    bool found() const;
};

// Answers queries from the loaded tables and catalog: a number (see parseCodeValue), a name of any
// kind in any case, else a part of a name, which lists every name that contains it (also one whose
// value a later name took over).
class Lookup {
public:
    Lookup(const CodeTable& ntStatusTable, const CodeTable& win32Table, const ReverseMap& reverseMap,
           const NameCatalog& catalog, const MessageFormatter& ntStatusFormatter,
           const MessageFormatter& win32Formatter, const ModuleTexts& moduleTexts);

    Answer answer(const std::wstring& query) const;
    ValueReadings readingsOf(std::uint32_t value) const;

private:
    KindCode code(CodeKind kind, std::uint32_t value, bool withText) const;
    std::wstring textOf(const KindCode& code) const;
    const CodeTable* windowTable(CodeKind kind) const;
    std::vector<std::uint32_t> ntStatusSources(std::uint32_t win32Code) const;

    const CodeTable& ntStatusTable;
    const CodeTable& win32Table;
    const ReverseMap& reverseMap;
    const NameCatalog& catalog;
    const MessageFormatter& ntStatusFormatter;
    const MessageFormatter& win32Formatter;
    const ModuleTexts& moduleTexts;
};

// The fields of a value read as an NTSTATUS (severity 31-30, customer 29, facility 27-16, code
// 15-0) and as an HRESULT (severity 31, N 28 marks a wrapped NTSTATUS, facility 26-16, code 15-0).
constexpr std::uint32_t ntStatusSeverity(std::uint32_t value) { return value >> 30; }
constexpr std::uint32_t ntStatusCustomer(std::uint32_t value) { return (value >> 29) & 1; }
constexpr std::uint32_t ntStatusFacility(std::uint32_t value) { return (value >> 16) & 0xFFF; }
constexpr std::uint32_t codeField(std::uint32_t value) { return value & 0xFFFF; }
constexpr std::uint32_t hresultSeverity(std::uint32_t value) { return value >> 31; }
constexpr std::uint32_t hresultFacility(std::uint32_t value) { return (value >> 16) & 0x7FF; }
constexpr std::uint32_t HRESULT_NT_BIT = 0x10000000;
constexpr std::uint32_t FACILITY_WIN32_CODE = 7;

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "codes/ReverseMap.h"

class CodeTable;
class MessageFormatter;

enum class CodeKind {
    NTSTATUS,
    WIN32_ERROR,
    HRESULT_CODE,
};

// A code of one kind with its name (empty: the header has none) and its system text (without
// the trailing line end; empty: the system has none, or it was not asked for).
struct KindCode {
    CodeKind kind = CodeKind::NTSTATUS;
    std::uint32_t value = 0;
    std::wstring name;
    std::wstring text;
};

// Every reading of one value.
struct ValueReadings {
    std::uint32_t value = 0;
    KindCode ntStatus;
    std::optional<KindCode> ntStatusAsWin32;      // what the NTSTATUS translates to
    KindCode win32;
    std::vector<KindCode> win32FromNtStatus;      // the NTSTATUS values that translate to it
    bool hresultShaped = false;                   // then the two below apply
    KindCode hresult;
    std::optional<KindCode> hresultInner;         // the Win32 code or NTSTATUS it wraps
};

// The answer to one query: the readings of the value(s) it names, or the names that contain it.
struct Answer {
    std::wstring query;
    std::vector<ValueReadings> values;
    std::vector<KindCode> matches;                // in value order, without texts

    // Something named: a value with a name in one of its readings, or a matching name.
    bool found() const;
};

// Answers queries from the loaded tables: a number (see parseCodeValue), a name of any table in
// any case, else a part of a name, which lists every name of the three tables that contains it.
class Lookup {
public:
    Lookup(const CodeTable& ntStatusTable, const CodeTable& win32Table, const CodeTable& hresultTable,
           const ReverseMap& reverseMap, const MessageFormatter& ntStatusFormatter,
           const MessageFormatter& win32Formatter);

    Answer answer(const std::wstring& query) const;
    ValueReadings readingsOf(std::uint32_t value) const;

private:
    KindCode code(CodeKind kind, std::uint32_t value, bool withText) const;
    const CodeTable& tableOf(CodeKind kind) const;

    const CodeTable& ntStatusTable;
    const CodeTable& win32Table;
    const CodeTable& hresultTable;
    const ReverseMap& reverseMap;
    const MessageFormatter& ntStatusFormatter;
    const MessageFormatter& win32Formatter;
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

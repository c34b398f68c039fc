#pragma once

#include "cli/NameCatalog.h"
#include "codes/HeaderScanner.h"

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

// What the console takes from the definitions of one header into the catalog. Values are read in
// the forms the SDK writes, comments and blanks aside:
//   5L, 0x1F, 2100                  a number (U and L suffixes as C has them)
//   ((NTSTATUS)0xC0000005L)         a number in a cast (NTSTATUS, HRESULT, ULONG)
//   _HRESULT_TYPEDEF_(0x80004005L)  a number in a macro (and _NDIS_ERROR_TYPEDEF_)
//   (NERR_BASE+58)                  a number defined earlier in the same header, plus a number
// Which form makes which kind depends on the header:
//   ntstatus.h  NTSTATUS casts; FACILITY_ numbers name NTSTATUS facilities
//   winerror.h  Win32 codes: decimal numbers with L, computed values, _NDIS_ERROR_TYPEDEF_;
//               HRESULTs: _HRESULT_TYPEDEF_ and HRESULT casts (the first definition of a name
//               wins); FACILITY_ numbers name HRESULT facilities
//   lmerr.h     NERR_ names with a decimal or computed value are Win32 codes (NERR_BASE is a base)
//   wininet.h, winhttp.h   ERROR_ names with a decimal or computed value are Win32 codes
//   bugcodes.h  ULONG casts are bug check codes
class HeaderDefinitions : public DefinitionListener {
public:
    enum class Role { NTSTATUS_HEADER, WINERROR_HEADER, LAN_MANAGER_ERRORS, INTERNET_ERRORS, BUG_CHECKS };

    // The header must have been added to the catalog.
    HeaderDefinitions(NameCatalog& catalog, std::size_t header, Role role);

    void definition(const Definition& definition) override;

private:
    NameCatalog& catalog;
    std::size_t header;
    Role role;
    // Numbers defined so far, for computed values (views into the file being scanned).
    std::vector<std::pair<std::string_view, std::uint32_t>> numbers;
    std::size_t lastBase = 0;
};

// A definition's value as read from the rest of its line.
struct DefinitionValue {
    enum class Form { NONE, NUMBER, CAST, MACRO, COMPUTED };
    Form form = Form::NONE;
    std::uint32_t value = 0;
    bool decimal = false;          // the number is written in decimal
    bool longSuffix = false;       // the number ends in L
    std::string_view wrapper;      // the cast's type or the macro's name
    std::string_view base;         // of a computed value
};

// Reads the value forms listed above from the text after a name (blanks and comments are passed
// over); NONE for anything else (a number of more than 32 bits too).
DefinitionValue readDefinitionValue(std::string_view text);

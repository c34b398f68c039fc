#pragma once

#include "cli/CodeKind.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Every name of every kind that the console read, from every header, in the order read: a value
// may have many names, and a name may stand for several values (one per definition that differs).
// Names are kept as the header's bytes (ASCII in practice) and widened when shown. Loading only
// appends; repeated definitions are passed over when asked (a console run asks few questions, and
// every load pays for an index).
class NameCatalog {
public:
    struct Header {
        std::wstring path;
        std::wstring fileName;
        const wchar_t* textModule;   // the system module with the texts of its codes, or null
    };
    struct Name {
        CodeKind kind;
        bool firstDefinitionWins;
        std::uint16_t header;
        std::uint32_t value;
        std::string_view text;
    };

    NameCatalog() = default;
    NameCatalog(const NameCatalog&) = delete;
    NameCatalog& operator=(const NameCatalog&) = delete;

    // Starts the names of a header; returns its index for add().
    std::size_t addHeader(const std::wstring& path, const wchar_t* textModule = nullptr);
    // Takes back the last header when it could not be found; it must have no names yet.
    void removeLastHeader();
    // Every header, name and facility of `other` after this catalog's own (its facility names
    // count only for numbers this one does not name). `other` is left empty.
    void takeOver(NameCatalog& other);
    // A repeated definition (same kind, name and value) counts once. With firstDefinitionWins a
    // name already defined for another value of its kind does not count at all.
    void add(CodeKind kind, std::uint32_t value, std::string_view name, std::size_t header, bool firstDefinitionWins);
    // The first name given to a facility number of the kind (FACILITY_WIN32 for 7 of HRESULT).
    void addFacility(CodeKind kind, std::uint32_t facility, std::string_view name);

    const std::vector<Header>& headers() const { return headerList; }
    // Every definition as read, repeated ones included: see counts().
    const std::vector<Name>& names() const { return nameList; }
    bool counts(const Name& name) const;
    // Names that count, per header and kind.
    std::vector<std::vector<std::size_t>> countsPerHeader() const;
    // The names of a value of one kind, in the order read.
    std::vector<const Name*> namesOf(CodeKind kind, std::uint32_t value) const;
    // The values of the kind that a name stands for, compared in any case (ASCII).
    std::vector<std::uint32_t> valuesNamed(CodeKind kind, std::wstring_view name) const;
    // Empty when the header names none.
    std::string_view facilityName(CodeKind kind, std::uint32_t facility) const;

private:
    std::string_view keep(std::string_view bytes);

    std::vector<Header> headerList;
    std::vector<Name> nameList;
    struct Facility {
        CodeKind kind;
        std::uint32_t number;
        std::string_view name;
    };
    std::vector<Facility> facilities;
    std::vector<std::unique_ptr<char[]>> blocks;
    char* freeBytes = nullptr;
    std::size_t freeCount = 0;
};

// The file name of a path, after its last backslash or slash.
std::wstring fileNameOf(const std::wstring& path);
// A name's bytes as wide text, each byte one unit by sign extension as the window widens them.
std::wstring widened(std::string_view bytes);
// ASCII letters compared in any case; other units as they are.
bool equalsIgnoringCase(std::string_view bytes, std::wstring_view text);

#include "cli/NameCatalog.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <unordered_set>

namespace {

const std::size_t BLOCK_BYTES = 64 * 1024;
// A current SDK's headers define about 11,000 names: room for them at once, not copy after copy.
const std::size_t FIRST_NAMES = 16384;

wchar_t upper(wchar_t unit)
{
    return unit >= L'a' && unit <= L'z' ? static_cast<wchar_t>(unit - L'a' + L'A') : unit;
}

wchar_t widen(char byte)
{
    return static_cast<wchar_t>(static_cast<signed char>(byte));
}

} // namespace

std::wstring fileNameOf(const std::wstring& path)
{
    return path.substr(path.find_last_of(L"\\/") + 1);
}

std::wstring widened(std::string_view bytes)
{
    std::wstring text(bytes.size(), L'\0');
    std::transform(bytes.begin(), bytes.end(), text.begin(), widen);
    return text;
}

bool equalsIgnoringCase(std::string_view bytes, std::wstring_view text)
{
    if (bytes.size() != text.size()) {
        return false;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (upper(widen(bytes[i])) != upper(text[i])) {
            return false;
        }
    }
    return true;
}

std::size_t NameCatalog::addHeader(const std::wstring& path, const wchar_t* textModule)
{
    headerList.push_back({path, fileNameOf(path), textModule});
    return headerList.size() - 1;
}

void NameCatalog::removeLastHeader()
{
    headerList.pop_back();
}

void NameCatalog::takeOver(NameCatalog& other)
{
    const std::size_t firstHeader = headerList.size();
    headerList.insert(headerList.end(), other.headerList.begin(), other.headerList.end());
    for (Name name : other.nameList) {
        name.header = static_cast<std::uint16_t>(name.header + firstHeader);
        if (nameList.capacity() == 0) {
            nameList.reserve(FIRST_NAMES);
        }
        nameList.push_back(name);
    }
    facilities.insert(facilities.end(), other.facilities.begin(), other.facilities.end());
    for (auto& block : other.blocks) {
        blocks.push_back(std::move(block));
    }
    other.headerList.clear();
    other.nameList.clear();
    other.facilities.clear();
    other.blocks.clear();
    other.freeBytes = nullptr;
    other.freeCount = 0;
}

std::string_view NameCatalog::keep(std::string_view bytes)
{
    if (bytes.size() > freeCount) {
        const std::size_t size = std::max(BLOCK_BYTES, bytes.size());
        blocks.push_back(std::unique_ptr<char[]>(new char[size]));
        freeBytes = blocks.back().get();
        freeCount = size;
    }
    std::memcpy(freeBytes, bytes.data(), bytes.size());
    const std::string_view kept(freeBytes, bytes.size());
    freeBytes += bytes.size();
    freeCount -= bytes.size();
    return kept;
}

void NameCatalog::add(CodeKind kind, std::uint32_t value, std::string_view name, std::size_t header,
                      bool firstDefinitionWins)
{
    if (nameList.capacity() == 0) {
        nameList.reserve(FIRST_NAMES);
    }
    nameList.push_back({kind, firstDefinitionWins, static_cast<std::uint16_t>(header), value, keep(name)});
}

void NameCatalog::addFacility(CodeKind kind, std::uint32_t facility, std::string_view name)
{
    if (facilityName(kind, facility).empty()) {
        facilities.push_back({kind, facility, keep(name)});
    }
}

bool NameCatalog::counts(const Name& name) const
{
    for (const Name* earlier = nameList.data(); earlier != &name; ++earlier) {
        if (earlier->kind == name.kind && earlier->text == name.text
            && (earlier->value == name.value || name.firstDefinitionWins)) {
            return false;
        }
    }
    return true;
}

std::vector<std::vector<std::size_t>> NameCatalog::countsPerHeader() const
{
    std::vector<std::vector<std::size_t>> counted(headerList.size(), std::vector<std::size_t>(std::size(ALL_CODE_KINDS)));
    // One pass with a set, where counts() for each name would compare every pair.
    struct Key {
        CodeKind kind;
        std::uint32_t value;
        std::string_view text;
        bool operator==(const Key& other) const
        {
            return kind == other.kind && value == other.value && text == other.text;
        }
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const
        {
            return std::hash<std::string_view>()(key.text) ^ (key.value * 31u) ^ static_cast<std::size_t>(key.kind);
        }
    };
    std::unordered_set<Key, KeyHash> seen;
    std::unordered_set<Key, KeyHash> firstDefined;   // value 0: the name itself
    for (const Name& name : nameList) {
        const bool repeated = !seen.insert({name.kind, name.value, name.text}).second;
        const bool definedBefore = !firstDefined.insert({name.kind, 0, name.text}).second;
        if (!repeated && !(name.firstDefinitionWins && definedBefore)) {
            ++counted[name.header][static_cast<std::size_t>(name.kind)];
        }
    }
    return counted;
}

std::vector<const NameCatalog::Name*> NameCatalog::namesOf(CodeKind kind, std::uint32_t value) const
{
    std::vector<const Name*> found;
    for (const Name& name : nameList) {
        if (name.value == value && name.kind == kind && counts(name)) {
            found.push_back(&name);
        }
    }
    return found;
}

std::vector<std::uint32_t> NameCatalog::valuesNamed(CodeKind kind, std::wstring_view wanted) const
{
    std::vector<std::uint32_t> values;
    for (const Name& name : nameList) {
        if (name.kind == kind && equalsIgnoringCase(name.text, wanted) && counts(name)
            && std::find(values.begin(), values.end(), name.value) == values.end()) {
            values.push_back(name.value);
        }
    }
    return values;
}

std::string_view NameCatalog::facilityName(CodeKind kind, std::uint32_t facility) const
{
    for (const Facility& entry : facilities) {
        if (entry.kind == kind && entry.number == facility) {
            return entry.name;
        }
    }
    return std::string_view();
}

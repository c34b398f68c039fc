#include "codes/CodeTable.h"

#include "codes/CodeBatch.h"
#include "codes/CodeExceptions.h"

#include <algorithm>
#include <cstring>

namespace {

wchar_t widened(char byte)
{
    return static_cast<wchar_t>(static_cast<signed char>(byte));
}

// Ordinal comparison of a stored name with 8-bit text, unit by unit, then the shorter first.
int compareWithBytes(const std::wstring& name, std::string_view bytes)
{
    const std::size_t common = std::min(name.size(), bytes.size());
    for (std::size_t i = 0; i < common; ++i) {
        const wchar_t unit = widened(bytes[i]);
        if (name[i] != unit) {
            return name[i] < unit ? -1 : 1;
        }
    }
    return name.size() < bytes.size() ? -1 : name.size() > bytes.size() ? 1 : 0;
}

// Sorts names by their 8-bit text, which orders them as their sign-extended units do (0x80..0xFF
// become U+FF80..U+FFFF, above ASCII): by 16 bytes after the prefix that all of them share, then
// by the rest where those are equal.
struct NameKey {
    std::uint64_t high;
    std::uint64_t low;
    std::uint32_t index;
};

std::uint64_t bigEndianWord(std::string_view bytes, std::size_t from)
{
    std::uint64_t word = 0;
    if (from + 8 <= bytes.size()) {
        std::memcpy(&word, bytes.data() + from, 8);
        return __builtin_bswap64(word);
    }
    for (std::size_t i = from; i < from + 8; ++i) {
        word = word << 8 | (i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u);
    }
    return word;
}

bool valueBefore(const std::pair<std::uint32_t, const std::wstring*>& a,
                 const std::pair<std::uint32_t, const std::wstring*>& b)
{
    return a.first < b.first;
}

bool nameBefore(const std::pair<const std::wstring*, std::uint32_t>& entry, const std::wstring& name)
{
    return *entry.first < name;
}

} // namespace

void CodeTable::setHeaderPath(const std::wstring& path)
{
    headerFilePath = path;
}

const std::wstring& CodeTable::headerPath() const
{
    return headerFilePath;
}

void CodeTable::add(std::uint32_t value, const std::wstring& name)
{
    auto named = std::lower_bound(byName.begin(), byName.end(), name, nameBefore);
    const std::wstring* stored;
    if (named != byName.end() && *named->first == name) {
        named->second = value;
        stored = named->first;
    } else {
        stored = &names.emplace_back(name);
        byName.insert(named, NameEntry(stored, value));
    }
    auto valued = std::lower_bound(byValue.begin(), byValue.end(), ValueEntry(value, nullptr), valueBefore);
    if (valued != byValue.end() && valued->first == value) {
        valued->second = stored;
    } else {
        byValue.insert(valued, ValueEntry(value, stored));
    }
}

void CodeTable::addAll(const CodeBatch& batch)
{
    const std::vector<CodeBatch::Name>& distinct = batch.names;
    std::size_t shared = distinct.empty() ? 0 : distinct[0].bytes.size();
    for (const CodeBatch::Name& name : distinct) {
        std::size_t same = 0;
        while (same < shared && same < name.bytes.size() && name.bytes[same] == distinct[0].bytes[same]) {
            ++same;
        }
        shared = same;
    }
    std::vector<NameKey> keys;
    keys.reserve(distinct.size());
    for (std::uint32_t i = 0; i < distinct.size(); ++i) {
        keys.push_back(NameKey{bigEndianWord(distinct[i].bytes, shared), bigEndianWord(distinct[i].bytes, shared + 8), i});
    }
    std::sort(keys.begin(), keys.end(), [&](const NameKey& a, const NameKey& b) {
        if (a.high != b.high) {
            return a.high < b.high;
        }
        if (a.low != b.low) {
            return a.low < b.low;
        }
        return distinct[a.index].bytes < distinct[b.index].bytes;
    });

    // Names the table has keep their stored string; new ones are widened once.
    std::vector<const std::wstring*> stored(distinct.size());
    std::vector<NameEntry> addedNames;
    addedNames.reserve(distinct.size());
    auto known = byName.begin();
    for (const NameKey& key : keys) {
        const std::uint32_t index = key.index;
        const std::string_view bytes = distinct[index].bytes;
        while (known != byName.end() && compareWithBytes(*known->first, bytes) < 0) {
            ++known;
        }
        if (known != byName.end() && compareWithBytes(*known->first, bytes) == 0) {
            stored[index] = known->first;
        } else {
            std::wstring& name = names.emplace_back(bytes.size(), L'\0');
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                name[i] = widened(bytes[i]);
            }
            stored[index] = &name;
        }
        addedNames.emplace_back(stored[index], distinct[index].lastValue);
    }
    mergeNames(addedNames);

    std::vector<ValueEntry> addedValues;
    addedValues.reserve(batch.values.size());
    for (const CodeBatch::Value& value : batch.values) {
        addedValues.emplace_back(value.value, stored[value.lastName]);
    }
    std::sort(addedValues.begin(), addedValues.end(), valueBefore);
    mergeValues(addedValues);
}

// Both merges take sorted, distinct additions; an addition replaces the entry of the same key.
void CodeTable::mergeNames(std::vector<NameEntry>& added)
{
    if (byName.empty()) {
        byName.swap(added);
        return;
    }
    std::vector<NameEntry> merged;
    merged.reserve(byName.size() + added.size());
    auto old = byName.begin();
    for (const NameEntry& entry : added) {
        while (old != byName.end() && *old->first < *entry.first) {
            merged.push_back(*old++);
        }
        if (old != byName.end() && old->first == entry.first) {
            ++old;
        }
        merged.push_back(entry);
    }
    merged.insert(merged.end(), old, byName.end());
    byName.swap(merged);
}

void CodeTable::mergeValues(std::vector<ValueEntry>& added)
{
    if (byValue.empty()) {
        byValue.swap(added);
        return;
    }
    std::vector<ValueEntry> merged;
    merged.reserve(byValue.size() + added.size());
    auto old = byValue.begin();
    for (const ValueEntry& entry : added) {
        while (old != byValue.end() && old->first < entry.first) {
            merged.push_back(*old++);
        }
        if (old != byValue.end() && old->first == entry.first) {
            ++old;
        }
        merged.push_back(entry);
    }
    merged.insert(merged.end(), old, byValue.end());
    byValue.swap(merged);
}

std::size_t CodeTable::size() const
{
    return byValue.size();
}

const std::wstring& CodeTable::nameOf(std::uint32_t value) const
{
    auto found = std::lower_bound(byValue.begin(), byValue.end(), ValueEntry(value, nullptr), valueBefore);
    if (found == byValue.end() || found->first != value) {
        throw EntryNotFoundException();
    }
    return *found->second;
}

std::uint32_t CodeTable::valueOf(const std::wstring& name) const
{
    auto found = std::lower_bound(byName.begin(), byName.end(), name, nameBefore);
    if (found == byName.end() || *found->first != name) {
        throw EntryNotFoundException();
    }
    return found->second;
}

CodeTable::const_iterator CodeTable::begin() const
{
    return const_iterator(byValue.begin());
}

CodeTable::const_iterator CodeTable::end() const
{
    return const_iterator(byValue.end());
}

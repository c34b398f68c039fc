#include "codes/CodeTable.h"

#include "codes/CodeBatch.h"
#include "codes/CodeExceptions.h"
#include "codes/NameHash.h"

#include <algorithm>

namespace {

// Names are stored in blocks of this many units (32 KB), small enough for the heap to reuse.
constexpr std::size_t TEXT_BLOCK_UNITS = 16384;
constexpr std::size_t FIRST_NAME_SLOTS = 8192;

wchar_t unitOf(char byte)
{
    return static_cast<wchar_t>(static_cast<signed char>(byte));
}

wchar_t unitOf(wchar_t unit)
{
    return unit;
}

bool sameName(std::wstring_view stored, std::wstring_view name)
{
    return stored == name;
}

bool sameName(std::wstring_view stored, std::string_view bytes)
{
    if (stored.size() != bytes.size()) {
        return false;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (stored[i] != unitOf(bytes[i])) {
            return false;
        }
    }
    return true;
}

bool valueBefore(const std::pair<std::uint32_t, std::wstring_view>& a,
                 const std::pair<std::uint32_t, std::wstring_view>& b)
{
    return a.first < b.first;
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

template <typename Char>
std::size_t CodeTable::slotOf(std::basic_string_view<Char> name, std::uint32_t hash) const
{
    const std::size_t mask = nameSlots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t held = nameSlots[slot];
        if (held == 0) {
            return slot;
        }
        const NameEntry& entry = names[held - 1];
        if (entry.hash == hash && sameName(entry.name, name)) {
            return slot;
        }
    }
}

// The name's entry takes the value; a name not seen before is stored first. Returns the stored text.
template <typename Char>
std::wstring_view CodeTable::enterName(std::basic_string_view<Char> name, std::uint32_t hash, std::uint32_t value)
{
    const std::size_t slot = slotOf(name, hash);
    if (nameSlots[slot] != 0) {
        NameEntry& entry = names[nameSlots[slot] - 1];
        entry.value = value;
        return entry.name;
    }
    const std::wstring_view stored = storeText(name);
    names.push_back(NameEntry{stored, hash, value});
    nameSlots[slot] = static_cast<std::uint32_t>(names.size());
    return stored;
}

template <typename Char>
std::wstring_view CodeTable::storeText(std::basic_string_view<Char> name)
{
    reserveText(name.size() + 1);
    wchar_t* const text = freeText;
    for (std::size_t i = 0; i < name.size(); ++i) {
        text[i] = unitOf(name[i]);
    }
    text[name.size()] = L'\0';
    freeText += name.size() + 1;
    freeUnits -= name.size() + 1;
    return std::wstring_view(text, name.size());
}

void CodeTable::reserveText(std::size_t units)
{
    if (units <= freeUnits) {
        return;
    }
    const std::size_t blockUnits = std::max(units, TEXT_BLOCK_UNITS);
    // Not zeroed: every unit is written before it is read.
    textBlocks.emplace_back(new wchar_t[blockUnits]);
    freeText = textBlocks.back().get();
    freeUnits = blockUnits;
}

void CodeTable::reserveNames(std::size_t count)
{
    if (2 * count <= nameSlots.size()) {
        return;
    }
    std::size_t slots = std::max(nameSlots.size(), FIRST_NAME_SLOTS);
    while (slots < 2 * count) {
        slots *= 2;
    }
    nameSlots.assign(slots, 0);
    const std::size_t mask = slots - 1;
    for (std::uint32_t i = 0; i < names.size(); ++i) {
        std::size_t slot = names[i].hash & mask;
        while (nameSlots[slot] != 0) {
            slot = (slot + 1) & mask;
        }
        nameSlots[slot] = i + 1;
    }
}

void CodeTable::add(std::uint32_t value, std::wstring_view name)
{
    reserveNames(names.size() + 1);
    const std::wstring_view stored = enterName(name, nameHash(name), value);
    auto valued = std::lower_bound(byValue.begin(), byValue.end(), ValueEntry(value, {}), valueBefore);
    if (valued != byValue.end() && valued->first == value) {
        valued->second = stored;
    } else {
        byValue.insert(valued, ValueEntry(value, stored));
    }
}

void CodeTable::addAll(const CodeBatch& batch)
{
    // The batch holds each name once, with the value of its last add, and each value once, with
    // its last name: entering the names, then the values, ends as its adds one by one would.
    reserveNames(names.size() + batch.names.size());
    std::vector<std::wstring_view> stored;
    stored.reserve(batch.names.size());
    for (const CodeBatch::Name& name : batch.names) {
        stored.push_back(enterName(name.bytes, name.hash, name.lastValue));
    }

    std::vector<ValueEntry> addedValues;
    addedValues.reserve(batch.values.size());
    for (const CodeBatch::Value& value : batch.values) {
        addedValues.emplace_back(value.value, stored[value.lastName]);
    }
    // Headers mostly define their values in ascending order.
    if (!std::is_sorted(addedValues.begin(), addedValues.end(), valueBefore)) {
        std::sort(addedValues.begin(), addedValues.end(), valueBefore);
    }
    mergeValues(addedValues);
}

// Takes sorted, distinct additions; an addition replaces the entry of the same value.
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

std::wstring_view CodeTable::nameOf(std::uint32_t value) const
{
    auto found = std::lower_bound(byValue.begin(), byValue.end(), ValueEntry(value, {}), valueBefore);
    if (found == byValue.end() || found->first != value) {
        throw EntryNotFoundException();
    }
    return found->second;
}

std::uint32_t CodeTable::valueOf(std::wstring_view name) const
{
    if (names.empty()) {
        throw EntryNotFoundException();
    }
    const std::uint32_t held = nameSlots[slotOf(name, nameHash(name))];
    if (held == 0) {
        throw EntryNotFoundException();
    }
    return names[held - 1].value;
}

CodeTable::const_iterator CodeTable::begin() const
{
    return const_iterator(byValue.begin());
}

CodeTable::const_iterator CodeTable::end() const
{
    return const_iterator(byValue.end());
}

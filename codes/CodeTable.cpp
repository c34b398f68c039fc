#include "codes/CodeTable.h"

#include "codes/CodeBatch.h"
#include "codes/CodeExceptions.h"
#include "codes/NameHash.h"

#include <algorithm>

namespace {

constexpr std::size_t FIRST_NAME_SLOTS = 8192;

// An object rather than a function, so that the sort inlines the comparison.
constexpr auto valueBefore = [](const std::pair<std::uint32_t, std::wstring_view>& a,
                                const std::pair<std::uint32_t, std::wstring_view>& b) { return a.first < b.first; };

} // namespace

void CodeTable::setHeaderPath(const std::wstring& path)
{
    headerFilePath = path;
}

const std::wstring& CodeTable::headerPath() const
{
    return headerFilePath;
}

std::size_t CodeTable::slotOf(std::wstring_view name, std::uint32_t hash) const
{
    const std::size_t mask = nameSlots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t held = nameSlots[slot];
        if (held == 0) {
            return slot;
        }
        const NameEntry& entry = names[held - 1];
        if (entry.hash == hash && entry.text == name) {
            return slot;
        }
    }
}

std::wstring_view CodeTable::enterName(std::wstring_view name, std::uint32_t hash, std::uint32_t value,
                                      bool copyText)
{
    const std::size_t slot = slotOf(name, hash);
    if (nameSlots[slot] != 0) {
        NameEntry& entry = names[nameSlots[slot] - 1];
        entry.value = value;
        return entry.text;
    }
    const std::wstring_view stored = copyText ? texts.store(name) : name;
    names.push_back(NameEntry{stored, hash, value});
    nameSlots[slot] = static_cast<std::uint32_t>(names.size());
    return stored;
}

void CodeTable::reserveNames(std::size_t count)
{
    if (2 * count <= nameSlots.size()) {
        return;
    }
    std::size_t size = std::max(nameSlots.size(), FIRST_NAME_SLOTS);
    while (size < 2 * count) {
        size *= 2;
    }
    // Built aside: a failed allocation leaves the index as it was.
    std::vector<std::uint32_t> slots(size, 0);
    const std::size_t mask = size - 1;
    for (std::uint32_t i = 0; i < names.size(); ++i) {
        std::size_t slot = names[i].hash & mask;
        while (slots[slot] != 0) {
            slot = (slot + 1) & mask;
        }
        slots[slot] = i + 1;
    }
    nameSlots.swap(slots);
}

void CodeTable::add(std::uint32_t value, std::wstring_view name)
{
    reserveNames(names.size() + 1);
    const std::wstring_view stored = enterName(name, nameHash(name), value, true);
    auto valued = std::lower_bound(byValue.begin(), byValue.end(), ValueEntry(value, {}), valueBefore);
    if (valued != byValue.end() && valued->first == value) {
        valued->second = stored;
    } else {
        byValue.insert(valued, ValueEntry(value, stored));
    }
}

void CodeTable::addAll(CodeBatch&& batch)
{
    // The batch holds each name once, with the value of its last add, and each value once, with
    // its last name: entering the names, then the values, ends as its adds one by one would.
    // Whatever allocates comes first, while the table is as it was and the batch still owns the
    // texts that its names view. The takeover is the last step that can fail, and it fails
    // without effect; nothing after it allocates.
    std::vector<ValueEntry> values = valuesWith(batch);
    const bool first = names.empty();
    if (!first) {
        reserveNames(names.size() + batch.names.size());
        names.reserve(names.size() + batch.names.size());
    }
    // The batch's texts become the table's, so its views of them stay valid.
    texts.takeOver(batch.texts);
    if (first) {
        // The batch's names are distinct and indexed as this table indexes them.
        names = std::move(batch.names);
        nameSlots = std::move(batch.nameSlots);
    } else {
        for (const CodeBatch::Name& name : batch.names) {
            enterName(name.text, name.hash, name.value, false);
        }
    }
    byValue.swap(values);
}

std::vector<CodeTable::ValueEntry> CodeTable::valuesWith(const CodeBatch& batch) const
{
    // A value's last name, by its index among the batch's names.
    std::vector<ValueEntry> added;
    added.reserve(batch.values.size());
    for (const CodeBatch::Value& value : batch.values) {
        added.emplace_back(value.value, batch.names[value.lastName].text);
    }
    // Headers mostly define their values in ascending order.
    if (!std::is_sorted(added.begin(), added.end(), valueBefore)) {
        std::sort(added.begin(), added.end(), valueBefore);
    }
    if (byValue.empty()) {
        return added;
    }
    // An addition replaces the entry of the same value.
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
    return merged;
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

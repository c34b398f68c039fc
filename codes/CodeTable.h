#pragma once

#include "codes/CodeBatch.h"
#include "codes/NameStore.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The symbolic names of one code kind (NTSTATUS or Win32 error code) and their values, as read
// from one header file. Iterates in ascending unsigned value order.
class CodeTable {
public:
    // One position of the iteration: the value and its name.
    using Entry = std::pair<std::uint32_t, std::wstring_view>;
    class const_iterator;

    CodeTable() = default;
    CodeTable(const CodeTable&) = delete;
    CodeTable& operator=(const CodeTable&) = delete;

    void setHeaderPath(const std::wstring& path);
    const std::wstring& headerPath() const;

    // A later add for the same name or the same value replaces the earlier pairing.
    void add(std::uint32_t value, std::wstring_view name);
    // The same as add() of each pair of the batch in turn, in one pass. Takes the batch's names.
    // When it throws (std::bad_alloc), the table is as it was before the call.
    void addAll(CodeBatch&& batch);
    // Number of distinct values.
    std::size_t size() const;

    // Both throw EntryNotFoundException when absent. Names are matched exactly (case-sensitive).
    // The name stays valid, unchanged, for the table's life.
    std::wstring_view nameOf(std::uint32_t value) const;
    std::uint32_t valueOf(std::wstring_view name) const;

    const_iterator begin() const;
    const_iterator end() const;

private:
    using NameEntry = CodeBatch::Name;
    using ValueEntry = std::pair<std::uint32_t, std::wstring_view>;

    // The slot that holds the name, or the free slot where it belongs.
    std::size_t slotOf(std::wstring_view name, std::uint32_t hash) const;
    // The name's entry takes the value; a new name is entered with its text copied into the
    // table's store, or as it is when the text is already one the table will own. Returns the
    // stored text.
    std::wstring_view enterName(std::wstring_view name, std::uint32_t hash, std::uint32_t value, bool copyText);
    // Grows the name index for `count` names; leaves it as it was when that fails.
    void reserveNames(std::size_t count);
    // The value order with the batch's values entered, sorted and distinct, built aside.
    std::vector<ValueEntry> valuesWith(const CodeBatch& batch) const;

    std::wstring headerFilePath;
    // Every distinct name once.
    NameStore texts;
    // byName: exact look-up by hash. A slot holds an index into names + 1, 0 when free; the slots
    // are at most half full.
    std::vector<NameEntry> names;
    std::vector<std::uint32_t> nameSlots;
    std::vector<ValueEntry> byValue; // ascending unsigned value
};

class CodeTable::const_iterator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::pair<std::uint32_t, std::wstring>;
    using difference_type = std::ptrdiff_t;
    using reference = Entry;
    struct pointer {
        Entry entry;
        const Entry* operator->() const { return &entry; }
    };

    const_iterator() = default;
    reference operator*() const { return *position; }
    pointer operator->() const { return pointer{**this}; }
    const_iterator& operator++()
    {
        ++position;
        return *this;
    }
    const_iterator operator++(int)
    {
        const_iterator before = *this;
        ++position;
        return before;
    }
    bool operator==(const const_iterator& other) const { return position == other.position; }
    bool operator!=(const const_iterator& other) const { return position != other.position; }

private:
    friend class CodeTable;
    explicit const_iterator(std::vector<ValueEntry>::const_iterator position) : position(position) {}

    std::vector<ValueEntry>::const_iterator position;
};

#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

// The symbolic names of one code kind (NTSTATUS or Win32 error code) and their values, as read
// from one header file. Iterates in ascending unsigned value order.
class CodeBatch;

class CodeTable {
public:
    // One position of the iteration: the value and its name.
    using Entry = std::pair<std::uint32_t, const std::wstring&>;
    class const_iterator;

    CodeTable() = default;
    CodeTable(const CodeTable&) = delete;
    CodeTable& operator=(const CodeTable&) = delete;

    void setHeaderPath(const std::wstring& path);
    const std::wstring& headerPath() const;

    // A later add for the same name or the same value replaces the earlier pairing.
    void add(std::uint32_t value, const std::wstring& name);
    // The same as add() of each pair of the batch in turn, in one pass.
    void addAll(const CodeBatch& batch);
    // Number of distinct values.
    std::size_t size() const;

    // Both throw EntryNotFoundException when absent. Names are matched exactly (case-sensitive).
    // The name stays valid, unchanged, for the table's life.
    const std::wstring& nameOf(std::uint32_t value) const;
    std::uint32_t valueOf(const std::wstring& name) const;

    const_iterator begin() const;
    const_iterator end() const;

private:
    using ValueEntry = std::pair<std::uint32_t, const std::wstring*>;
    using NameEntry = std::pair<const std::wstring*, std::uint32_t>;

    void mergeNames(std::vector<NameEntry>& added);
    void mergeValues(std::vector<ValueEntry>& added);

    std::wstring headerFilePath;
    // Every distinct name once; a deque never moves its elements, so the indexes can point in.
    std::deque<std::wstring> names;
    std::vector<ValueEntry> byValue; // ascending unsigned value
    std::vector<NameEntry> byName;   // ascending ordinal name
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
    reference operator*() const { return Entry(position->first, *position->second); }
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

#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

// The symbolic names of one code kind (NTSTATUS or Win32 error code) and their values, as read
// from one header file. Iterates in ascending unsigned value order.
class CodeTable {
public:
    using const_iterator = std::map<std::uint32_t, std::wstring>::const_iterator;

    CodeTable() = default;
    CodeTable(const CodeTable&) = delete;
    CodeTable& operator=(const CodeTable&) = delete;

    void setHeaderPath(const std::wstring& path);
    const std::wstring& headerPath() const;

    // A later add for the same name or the same value replaces the earlier pairing.
    void add(std::uint32_t value, const std::wstring& name);
    // Number of distinct values.
    std::size_t size() const;

    // Both throw EntryNotFoundException when absent. Names are matched exactly (case-sensitive).
    const std::wstring& nameOf(std::uint32_t value) const;
    std::uint32_t valueOf(const std::wstring& name) const;

    // Each position is a (value, name) pair.
    const_iterator begin() const;
    const_iterator end() const;

private:
    std::wstring headerFilePath;
    std::map<std::uint32_t, std::wstring> byValue;
    std::map<std::wstring, std::uint32_t> byName;
};

#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

// The texts of names, each followed by a NUL, in blocks that never move: a view of a stored
// name stays valid, unchanged, for the store's life (or the life of the store that took it over).
class NameStore {
public:
    NameStore() = default;
    NameStore(const NameStore&) = delete;
    NameStore& operator=(const NameStore&) = delete;

    // Each byte stands for one 16-bit unit by sign extension (the 8-bit text of a header).
    std::wstring_view store(std::string_view bytes);
    std::wstring_view store(std::wstring_view units);
    // Every block of `other` becomes this store's; views of them stay valid. When it throws
    // (std::bad_alloc), both stores are as they were.
    void takeOver(NameStore& other);

private:
    wchar_t* room(std::size_t units);

    std::vector<std::unique_ptr<wchar_t[]>> blocks;
    wchar_t* freeText = nullptr;
    std::size_t freeUnits = 0;
};

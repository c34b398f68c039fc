#pragma once

#include "codes/NameStore.h"

#include <cstdint>
#include <string_view>
#include <vector>

class CodeTable;

// Pairs for a CodeTable, collected as its add() would take them one by one and entered at once
// by CodeTable::addAll, in time linear in their number: a header that repeats its definitions
// costs no more per line than one that does not. Each byte of a name stands for one 16-bit unit
// by sign extension (the 8-bit text of a header). Each distinct name is widened into the batch's
// own store when first seen, while its line is still in the cache; the table takes the store over.
class CodeBatch {
public:
    CodeBatch();

    void add(std::uint32_t value, std::string_view name);

private:
    friend class CodeTable;

    // Also the table's entry of a name, so that a first batch's names become the table's as they are.
    struct Name {
        std::wstring_view text;
        std::uint32_t hash;
        std::uint32_t value; // of the name's last add
    };
    struct Value {
        std::uint32_t value;
        std::uint32_t lastName; // index into names, NO_NAME before the first
    };
    static constexpr std::uint32_t NO_NAME = 0xFFFFFFFF;

    std::uint32_t internName(std::string_view name);
    std::uint32_t valueIndex(std::uint32_t value);
    void rehashNames();
    void rehashValues();

    // Open addressing; a slot holds an index + 1, 0 when free. Kept at most half full.
    std::vector<std::uint32_t> nameSlots;
    std::vector<std::uint32_t> valueSlots;
    // Distinct names and values in the order of their first add.
    std::vector<Name> names;
    std::vector<Value> values;
    NameStore texts;
};

#include "codes/NameStore.h"

#include <algorithm>
#include <iterator>

namespace {

// 32 KB: small enough for the heap to hand out again rather than map fresh pages.
constexpr std::size_t BLOCK_UNITS = 16384;

} // namespace

std::wstring_view NameStore::store(std::string_view bytes)
{
    wchar_t* const text = room(bytes.size() + 1);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text[i] = static_cast<wchar_t>(static_cast<signed char>(bytes[i]));
    }
    text[bytes.size()] = L'\0';
    return std::wstring_view(text, bytes.size());
}

std::wstring_view NameStore::store(std::wstring_view units)
{
    wchar_t* const text = room(units.size() + 1);
    std::copy(units.begin(), units.end(), text);
    text[units.size()] = L'\0';
    return std::wstring_view(text, units.size());
}

void NameStore::takeOver(NameStore& other)
{
    blocks.insert(blocks.end(), std::make_move_iterator(other.blocks.begin()),
                  std::make_move_iterator(other.blocks.end()));
    other.blocks.clear();
    other.freeText = nullptr;
    other.freeUnits = 0;
}

wchar_t* NameStore::room(std::size_t units)
{
    if (units > freeUnits) {
        const std::size_t blockUnits = std::max(units, BLOCK_UNITS);
        // Not zeroed: every unit is written before it is read.
        blocks.emplace_back(new wchar_t[blockUnits]);
        freeText = blocks.back().get();
        freeUnits = blockUnits;
    }
    wchar_t* const text = freeText;
    freeText += units;
    freeUnits -= units;
    return text;
}

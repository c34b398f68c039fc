#include "cli/CodeValueText.h"

#include "zeno/Strings.h"

namespace {

const std::uint64_t LARGEST_UNSIGNED = 0xFFFFFFFFull;
const std::uint64_t LARGEST_NEGATED = 0x80000000ull;

// The digits from `first` in the radix, or nothing when one is not a digit or the value passes `largest`.
std::optional<std::uint64_t> digitsValue(const std::wstring& text, std::size_t first, unsigned radix,
                                         std::uint64_t largest)
{
    if (first >= text.size()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (std::size_t i = first; i < text.size(); ++i) {
        const int digit = zeno::hexDigitValue(text[i]);
        if (digit < 0 || static_cast<unsigned>(digit) >= radix) {
            return std::nullopt;
        }
        value = value * radix + static_cast<unsigned>(digit);
        if (value > largest) {
            return std::nullopt;
        }
    }
    return value;
}

bool hasHexLetter(const std::wstring& text)
{
    for (wchar_t unit : text) {
        if (zeno::hexDigitValue(unit) >= 10) {
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<std::uint32_t> parseCodeValue(const std::wstring& text)
{
    std::optional<std::uint64_t> value;
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        value = digitsValue(text, 2, 16, LARGEST_UNSIGNED);
    } else if (!text.empty() && text[0] == L'-') {
        value = digitsValue(text, 1, 10, LARGEST_NEGATED);
        if (value) {
            value = (0x100000000ull - *value) & LARGEST_UNSIGNED;
        }
    } else if (hasHexLetter(text)) {
        value = digitsValue(text, 0, 16, LARGEST_UNSIGNED);
    } else {
        value = digitsValue(text, 0, 10, LARGEST_UNSIGNED);
    }
    if (!value) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*value);
}

std::wstring hexText(std::uint32_t value)
{
    static const wchar_t DIGITS[] = L"0123456789ABCDEF";
    std::wstring text = L"0x00000000";
    for (std::size_t i = text.size(); value != 0; value >>= 4) {
        text[--i] = DIGITS[value & 0xF];
    }
    return text;
}

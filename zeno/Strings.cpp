#include "zeno/Strings.h"

#include "zeno/Exception.h"

namespace zeno {

namespace {

constexpr int MIN_RADIX = 2;
constexpr int MAX_RADIX = 36;
constexpr std::size_t DIGIT_BUFFER_SIZE = 64;

void checkRadix(int radix) {
    if (radix < MIN_RADIX || radix > MAX_RADIX) {
        throw IllegalArgumentException(L"radix " + toString(static_cast<std::int32_t>(radix), 10) +
                                       L" (must be 2<=radix<=36)");
    }
}

wchar_t digitCharacter(unsigned digit) {
    return static_cast<wchar_t>(digit < 10 ? L'0' + digit : L'a' + (digit - 10));
}

// Collects the digits of magnitude from the least significant end, behind an optional sign.
std::wstring digitsOf(std::uint32_t magnitude, unsigned radix, bool negative) {
    wchar_t buffer[DIGIT_BUFFER_SIZE];
    std::size_t start = DIGIT_BUFFER_SIZE;
    do {
        if (start == 0) {
            throw Exception();
        }
        buffer[--start] = digitCharacter(magnitude % radix);
        magnitude /= radix;
    } while (magnitude != 0);
    std::wstring text;
    if (negative) {
        text += L'-';
    }
    text.append(buffer + start, buffer + DIGIT_BUFFER_SIZE);
    return text;
}

} // namespace

int hexDigitValue(wchar_t unit) {
    if (unit >= L'0' && unit <= L'9') {
        return unit - L'0';
    }
    if (unit >= L'A' && unit <= L'F') {
        return unit - L'A' + 10;
    }
    if (unit >= L'a' && unit <= L'f') {
        return unit - L'a' + 10;
    }
    return -1;
}

bool isNil(const std::wstring& text) {
    return text == nilString;
}

bool isNilOrEmpty(const std::wstring& text) {
    return text.empty() || isNil(text);
}

std::wstring toString(std::int32_t value, int radix) {
    checkRadix(radix);
    // The magnitude in unsigned arithmetic, so the most negative value needs no special case.
    const std::uint32_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    return digitsOf(magnitude, static_cast<unsigned>(radix), value < 0);
}

std::wstring toString(std::uint32_t value, int radix) {
    checkRadix(radix);
    return digitsOf(value, static_cast<unsigned>(radix), false);
}

std::wstring toString(long value, int radix) {
    return toString(static_cast<std::int32_t>(value), radix);
}

std::wstring toString(unsigned long value, int radix) {
    return toString(static_cast<std::uint32_t>(value), radix);
}

std::uint32_t parseDecimal(const std::wstring& text) {
    if (text.empty()) {
        throw NumberFormatException(text);
    }
    std::uint32_t value = 0;
    for (wchar_t unit : text) {
        if (unit < L'0' || unit > L'9') {
            throw NumberFormatException(text);
        }
        value = value * 10u + static_cast<std::uint32_t>(unit - L'0');
    }
    return value;
}

std::uint32_t parseHex(const std::wstring& text) {
    if (text.empty()) {
        throw NumberFormatException(text);
    }
    std::uint32_t value = 0;
    for (wchar_t unit : text) {
        const int digit = hexDigitValue(unit);
        if (digit < 0) {
            throw NumberFormatException(text);
        }
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::wstring widen(const char* text) {
    checkNotNull(L"text", text);
    std::wstring wide;
    for (const char* p = text; *p != '\0'; ++p) {
        // Sign extension: bytes 0x80..0xFF become 0xFF80..0xFFFF.
        wide += static_cast<wchar_t>(static_cast<std::int16_t>(static_cast<signed char>(*p)));
    }
    return wide;
}

std::wstring toUpper(const std::wstring& text) {
    std::wstring upper(text);
    for (wchar_t& unit : upper) {
        if (unit >= L'a' && unit <= L'z') {
            unit = static_cast<wchar_t>(unit - L'a' + L'A');
        }
    }
    return upper;
}

bool startsWith(const std::wstring& text, const wchar_t* prefix) {
    checkNotNull(L"prefix", prefix);
    const std::size_t length = std::wstring::traits_type::length(prefix);
    return text.size() >= length && text.compare(0, length, prefix) == 0;
}

bool endsWith(const std::wstring& text, const std::wstring& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace zeno

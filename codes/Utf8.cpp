#include "codes/Utf8.h"

namespace {

bool isHighSurrogate(std::uint32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(std::uint32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed sequence at `bytes` (2 to 4), or 0 when none starts there.
// Three-byte forms of surrogates are accepted: encodeUtf8 writes lone surrogates that way.
std::uint32_t sequenceLength(const unsigned char* bytes, std::uint32_t available)
{
    unsigned char lead = bytes[0];
    std::uint32_t needed;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        needed = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        needed = 3;
        if (lead == 0xE0) {
            low = 0xA0;
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        needed = 4;
        if (lead == 0xF0) {
            low = 0x90;
        } else if (lead == 0xF4) {
            high = 0x8F;
        }
    } else {
        return 0;
    }
    if (available < needed || bytes[1] < low || bytes[1] > high) {
        return 0;
    }
    for (std::uint32_t i = 2; i < needed; ++i) {
        if (!isContinuation(bytes[i])) {
            return 0;
        }
    }
    return needed;
}

} // namespace

std::string encodeUtf8(const std::wstring& text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t unit = static_cast<std::uint16_t>(text[i]);
        if (unit < 0x80) {
            bytes.push_back(static_cast<char>(unit));
        } else if (unit < 0x800) {
            bytes.push_back(static_cast<char>(0xC0 | (unit >> 6)));
            bytes.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
        } else if (isHighSurrogate(unit) && i + 1 < text.size()
                   && isLowSurrogate(static_cast<std::uint16_t>(text[i + 1]))) {
            std::uint32_t codePoint =
                0x10000 + ((unit - 0xD800) << 10) + (static_cast<std::uint16_t>(text[i + 1]) - 0xDC00);
            ++i;
            bytes.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
            bytes.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
        } else {
            bytes.push_back(static_cast<char>(0xE0 | (unit >> 12)));
            bytes.push_back(static_cast<char>(0x80 | ((unit >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
        }
    }
    return bytes;
}

void decodeUtf8(const char* bytes, std::uint32_t length, std::wstring& appendTo)
{
    const auto* input = reinterpret_cast<const unsigned char*>(bytes);
    std::uint32_t i = 0;
    while (i < length) {
        unsigned char lead = input[i];
        std::uint32_t count = lead < 0x80 ? 1 : sequenceLength(input + i, length - i);
        if (count <= 1) {
            appendTo.push_back(static_cast<wchar_t>(static_cast<signed char>(lead)));
            ++i;
            continue;
        }
        std::uint32_t codePoint = lead & (0xFF >> (count + 1));
        for (std::uint32_t k = 1; k < count; ++k) {
            codePoint = (codePoint << 6) | (input[i + k] & 0x3F);
        }
        if (codePoint >= 0x10000) {
            codePoint -= 0x10000;
            appendTo.push_back(static_cast<wchar_t>(0xD800 + (codePoint >> 10)));
            appendTo.push_back(static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF)));
        } else {
            appendTo.push_back(static_cast<wchar_t>(codePoint));
        }
        i += count;
    }
}

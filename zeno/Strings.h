#pragma once

#include <cstdint>
#include <string>

namespace zeno {

// The shared constants are inline variables: every translation unit that includes this header
// before defining its own static objects gets them constructed first, so static objects of
// other libraries may use them safely.
inline const std::wstring emptyString;
// One unit U+FFFF: marks a missing value (no message, no name, no title, no resource).
inline const std::wstring nilString(1, L'\xFFFF');
inline const std::wstring lineFeed(L"\n");
inline const std::wstring crlf(L"\r\n");

// True when the text is the missing-value marker (compared by value).
bool isNil(const std::wstring& text);
// True when the text is the missing-value marker or empty.
bool isNilOrEmpty(const std::wstring& text);

// Text of the value in the radix (2 to 36): lower-case digits, no prefix, "-" before negative values.
// A radix outside 2..36 throws zeno::IllegalArgumentException.
std::wstring toString(std::int32_t value, int radix = 10);
std::wstring toString(std::uint32_t value, int radix = 10);
// LONG and DWORD are long types on Windows; these keep calls with them unambiguous.
std::wstring toString(long value, int radix = 10);
std::wstring toString(unsigned long value, int radix = 10);

// Decimal digits only, wrapping modulo 2^32; anything else throws zeno::NumberFormatException
// with the input as message.
std::uint32_t parseDecimal(const std::wstring& text);
// Hexadecimal digits only (either case, no "0x"), keeping the low 32 bits.
std::uint32_t parseHex(const std::wstring& text);
// The value of one hexadecimal digit (either case), -1 for any other unit.
int hexDigitValue(wchar_t unit);

// One unit per byte, each byte sign-extended. A null pointer throws zeno::NullPointerException.
std::wstring widen(const char* text);
// ASCII a-z to A-Z; every other unit unchanged.
std::wstring toUpper(const std::wstring& text);
// A null prefix throws zeno::NullPointerException; an empty one gives true.
bool startsWith(const std::wstring& text, const wchar_t* prefix);
bool endsWith(const std::wstring& text, const std::wstring& suffix);

} // namespace zeno

#include "zeno/Exception.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <typeinfo>

#include "zeno/FormatMessage.h"
#include "zeno/Strings.h"

// setstate's clear compiled here: the library's own copy comes in one object with the stream's
// locale set-up, and would bring those 600 KB back.
template void std::basic_ios<wchar_t>::clear(std::ios_base::iostate);

namespace zeno {

namespace {

std::wstring signedDecimal(std::uint32_t code) {
    return zeno::toString(static_cast<std::int32_t>(code), 10);
}

std::wstring unsignedDecimal(std::uint32_t code) {
    return zeno::toString(code, 10);
}

// What std::wostream::flush does, through the stream's buffer: the stream's own output members
// link the library's whole locale machinery into the program, some 600 KB of the 32-bit
// executable for print alone.
void flush(std::wostream& stream) {
    if (stream.good() && stream.rdbuf()->pubsync() == -1) {
        stream.setstate(std::ios_base::badbit);
    }
}

} // namespace

Exception::Exception() : errorCode(NO_ERROR_CODE) {}

Exception::Exception(const std::wstring& message, std::uint32_t errorCode)
    : message(message), errorCode(errorCode) {}

Exception::~Exception() = default;

std::uint32_t Exception::getErrorCode() const {
    return errorCode;
}

const std::wstring& Exception::getMessage() const {
    return message;
}

bool Exception::hasMessage() const {
    return !isNilOrEmpty(message);
}

bool Exception::hasErrorCode() const {
    return errorCode != NO_ERROR_CODE;
}

std::wstring Exception::getClassName() const {
    const char* mangled = typeid(*this).name();
    // GCC marks types with internal linkage with a leading '*'.
    if (*mangled == '*') {
        ++mangled;
    }
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return widen(status == 0 && demangled ? demangled.get() : mangled);
}

std::wstring Exception::getClassNameLine() const {
    return L"class " + getClassName();
}

std::wstring Exception::toString() const {
    std::wstring text = getClassNameLine();
    if (hasMessage()) {
        text += L": ";
        text += message;
    }
    if (hasErrorCode()) {
        text += L": ";
        text += signedDecimal(errorCode);
    }
    return text;
}

void Exception::print(std::wostream& out) const {
    // The system text is fetched before anything is written, so a failure leaves the stream as it was.
    std::wstring text = getClassNameLine();
    if (hasMessage()) {
        text += L": ";
        text += message;
    }
    if (hasErrorCode()) {
        std::wstring systemText;
        formatMessage(errorCode, systemText);
        text += L": " + unsignedDecimal(errorCode) + L" (" + systemText + L")";
    }
    text += L'\n';
    // Nothing goes to a stream that has already failed; a tied stream is flushed first.
    if (out.good() && out.tie() != nullptr) {
        flush(*out.tie());
    }
    if (!out.good()) {
        out.setstate(std::ios_base::failbit);
        return;
    }
    const std::streamsize length = static_cast<std::streamsize>(text.size());
    if (out.rdbuf()->sputn(text.data(), length) != length) {
        out.setstate(std::ios_base::badbit);
        return;
    }
    flush(out);
}

int Exception::showMessageBox(HWND owner, const wchar_t* title, std::uint32_t flags) const {
    return MessageBoxW(owner, messageBoxText().c_str(), title, flags);
}

std::wstring Exception::messageBoxText() const {
    std::wstring text = getClassNameLine();
    if (hasMessage()) {
        text += lineFeed;
        text += message;
    }
    if (hasErrorCode()) {
        text += L"\n\nError code: ";
        text += signedDecimal(errorCode);
        try {
            std::wstring systemText;
            formatMessage(errorCode, systemText);
            if (endsWith(systemText, crlf)) {
                systemText.resize(systemText.size() - crlf.size());
            }
            text += lineFeed;
            text += systemText;
        } catch (...) {
            OutputDebugStringW(
                L"ignored exception thrown by formatMessage() during Exception::showMessageBox()\n");
        }
    }
    return text;
}

IOException::IOException(const std::wstring& message, std::uint32_t errorCode)
    : Exception(message, errorCode) {}

FileNotFoundException::FileNotFoundException(const std::wstring& path, std::uint32_t errorCode)
    : IOException(path, errorCode) {}

NumberFormatException::NumberFormatException(const std::wstring& message)
    : Exception(message, NO_ERROR_CODE) {}

IllegalArgumentException::IllegalArgumentException(const std::wstring& message)
    : Exception(message, NO_ERROR_CODE) {}

IllegalStateException::IllegalStateException() = default;

IllegalStateException::IllegalStateException(const std::wstring& message)
    : Exception(message, NO_ERROR_CODE) {}

IllegalThreadStateException::IllegalThreadStateException(const std::wstring& message)
    : IllegalStateException(message) {}

NullPointerException::NullPointerException(const std::wstring& message)
    : Exception(message, NO_ERROR_CODE) {}

namespace {

std::wstring indexMessage(const std::wstring& name, std::int32_t low, std::int32_t high,
                          std::int32_t index) {
    return name + L": " + zeno::toString(index, 10) + L" (must be " + zeno::toString(low, 10) +
           L"<=" + name + L"<" + zeno::toString(high, 10) + L")";
}

} // namespace

IndexOutOfBoundsException::IndexOutOfBoundsException(const std::wstring& name, std::int32_t low,
                                                     std::int32_t high, std::int32_t index)
    : Exception(indexMessage(name, low, high, index), NO_ERROR_CODE) {}

void checkNotNull(const wchar_t* name, const void* pointer) {
    if (pointer == nullptr) {
        throw NullPointerException(name != nullptr ? name : emptyString);
    }
}

void checkIndex(const wchar_t* name, std::int32_t low, std::int32_t high, std::int32_t index) {
    if (index < low || index >= high) {
        throw IndexOutOfBoundsException(name != nullptr ? name : emptyString, low, high, index);
    }
}

} // namespace zeno

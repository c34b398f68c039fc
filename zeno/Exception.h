#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include <windows.h>

namespace zeno {

// Root of every failure the program reports. Thrown by value, caught by reference.
class Exception {
public:
    // The error code that means "none".
    static constexpr std::uint32_t NO_ERROR_CODE = 0xFFFFFFFFu;

    Exception();
    Exception(const std::wstring& message, std::uint32_t errorCode);
    virtual ~Exception();

    // Class-name line, then ": " + message, then ": " + the code in signed decimal.
    virtual std::wstring toString() const;
    // Class-name line, message, then ": " + unsigned code + " (" + system text + ")", and a line end.
    // A failure to fetch the system text escapes before anything is written. As the stream's own
    // output: a stream that is not good gets nothing (failbit), a tied stream is flushed first,
    // a short write or a failed flush sets badbit.
    virtual void print(std::wostream& out) const;
    // Shows the exception in a message box and returns the MessageBoxW result.
    virtual int showMessageBox(HWND owner, const wchar_t* title, std::uint32_t flags) const;
    // The text of that box: class-name line, message, then "Error code: " + signed code and the
    // system text without its line end. Lets a console front end report a failure as the window does.
    std::wstring messageBoxText() const;

    std::uint32_t getErrorCode() const;
    const std::wstring& getMessage() const;
    // Fully qualified name of the dynamic class, e.g. zeno::FileNotFoundException.
    std::wstring getClassName() const;
    // "class " + getClassName().
    std::wstring getClassNameLine() const;

private:
    bool hasMessage() const;
    bool hasErrorCode() const;

    std::wstring message;
    std::uint32_t errorCode;
};

class IOException : public Exception {
public:
    IOException(const std::wstring& message, std::uint32_t errorCode);
};

// The message is the path; the code is the platform's 2 (file) or 3 (path) not found.
class FileNotFoundException : public IOException {
public:
    FileNotFoundException(const std::wstring& path, std::uint32_t errorCode);
};

class NumberFormatException : public Exception {
public:
    explicit NumberFormatException(const std::wstring& message);
};

class IllegalArgumentException : public Exception {
public:
    explicit IllegalArgumentException(const std::wstring& message);
};

class IllegalStateException : public Exception {
public:
    IllegalStateException();
    explicit IllegalStateException(const std::wstring& message);
};

class IllegalThreadStateException : public IllegalStateException {
public:
    explicit IllegalThreadStateException(const std::wstring& message);
};

class NullPointerException : public Exception {
public:
    explicit NullPointerException(const std::wstring& message);
};

// Message: name + ": " + index + " (must be " + low + "<=" + name + "<" + high + ")".
class IndexOutOfBoundsException : public Exception {
public:
    IndexOutOfBoundsException(const std::wstring& name, std::int32_t low, std::int32_t high,
                              std::int32_t index);
};

// Throws NullPointerException with the name as message when the pointer is null.
void checkNotNull(const wchar_t* name, const void* pointer);
// Throws IndexOutOfBoundsException unless low <= index < high.
void checkIndex(const wchar_t* name, std::int32_t low, std::int32_t high, std::int32_t index);

} // namespace zeno

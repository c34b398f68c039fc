#pragma once

// Captures the debugger output of this process while an instance lives, without a debugger.
// OutputDebugString raises DBG_PRINTEXCEPTION_WIDE_C (Windows 10 and later, wide text) or
// DBG_PRINTEXCEPTION_C (8-bit text; Wine raises only this one, also for OutputDebugStringW);
// a vectored handler sees the exception before the system's own handler consumes it.
// One capture at a time; output of every thread is captured.

#include <mutex>
#include <string>
#include <vector>

#include <windows.h>

namespace zeno_test {

class DebugOutputCapture {
public:
    DebugOutputCapture() {
        std::lock_guard<std::mutex> guard(mutex());
        active() = this;
        handler = AddVectoredExceptionHandler(1, &DebugOutputCapture::onException);
    }

    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    ~DebugOutputCapture() {
        if (handler != nullptr) {
            RemoveVectoredExceptionHandler(handler);
        }
        std::lock_guard<std::mutex> guard(mutex());
        active() = nullptr;
    }

    bool isInstalled() const { return handler != nullptr; }

    // The text of each OutputDebugString call, in order.
    std::vector<std::wstring> outputs() const {
        std::lock_guard<std::mutex> guard(mutex());
        return captured;
    }

    // Everything written, concatenated.
    std::wstring text() const {
        std::wstring all;
        for (const std::wstring& output : outputs()) {
            all += output;
        }
        return all;
    }

    // True when one call wrote exactly this text.
    bool contains(const std::wstring& output) const {
        for (const std::wstring& each : outputs()) {
            if (each == output) {
                return true;
            }
        }
        return false;
    }

    // Number of calls whose text begins with the prefix.
    std::size_t countStartingWith(const std::wstring& prefix) const {
        std::size_t count = 0;
        for (const std::wstring& each : outputs()) {
            if (each.compare(0, prefix.size(), prefix) == 0) {
                ++count;
            }
        }
        return count;
    }

    void clear() {
        std::lock_guard<std::mutex> guard(mutex());
        captured.clear();
    }

private:
    static constexpr DWORD PRINT_EXCEPTION = 0x40010006;      // DBG_PRINTEXCEPTION_C
    static constexpr DWORD PRINT_EXCEPTION_WIDE = 0x4001000A; // DBG_PRINTEXCEPTION_WIDE_C

    static std::mutex& mutex() {
        static std::mutex instance;
        return instance;
    }

    static DebugOutputCapture*& active() {
        static DebugOutputCapture* instance = nullptr;
        return instance;
    }

    static std::wstring fromAnsi(const char* text, std::size_t length) {
        if (length == 0) {
            return std::wstring();
        }
        const int units = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(units), L'\0');
        MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), &wide[0], units);
        return wide;
    }

    // The length parameter counts the terminating NUL.
    static std::size_t textLength(const EXCEPTION_RECORD& record) {
        const ULONG_PTR length = record.ExceptionInformation[0];
        return length > 0 ? static_cast<std::size_t>(length - 1) : 0;
    }

    static LONG CALLBACK onException(EXCEPTION_POINTERS* pointers) {
        const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
        if ((record.ExceptionCode != PRINT_EXCEPTION && record.ExceptionCode != PRINT_EXCEPTION_WIDE) ||
            record.NumberParameters < 2 || record.ExceptionInformation[1] == 0) {
            return EXCEPTION_CONTINUE_SEARCH;
        }
        std::wstring output;
        if (record.ExceptionCode == PRINT_EXCEPTION_WIDE) {
            output.assign(reinterpret_cast<const wchar_t*>(record.ExceptionInformation[1]),
                          textLength(record));
        } else {
            output = fromAnsi(reinterpret_cast<const char*>(record.ExceptionInformation[1]),
                              textLength(record));
        }
        {
            std::lock_guard<std::mutex> guard(mutex());
            if (active() != nullptr) {
                active()->captured.push_back(output);
            }
        }
        // Taken as a debugger would: the system then skips its 8-bit retry of the wide text.
        return record.ExceptionCode == PRINT_EXCEPTION_WIDE ? EXCEPTION_CONTINUE_EXECUTION
                                                            : EXCEPTION_CONTINUE_SEARCH;
    }

    PVOID handler = nullptr;
    std::vector<std::wstring> captured;
};

} // namespace zeno_test

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
        std::lock_guard<std::mutex> guard(mutex);
        active = this;
        handler = AddVectoredExceptionHandler(1, &DebugOutputCapture::onException);
    }

    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    ~DebugOutputCapture() {
        if (handler != nullptr) {
            RemoveVectoredExceptionHandler(handler);
        }
        std::lock_guard<std::mutex> guard(mutex);
        active = nullptr;
    }

    bool isInstalled() const { return handler != nullptr; }

    // The text of each OutputDebugString call, in order.
    std::vector<std::wstring> outputs() const {
        std::lock_guard<std::mutex> guard(mutex);
        return captured;
    }

private:
    static constexpr DWORD PRINT_EXCEPTION = 0x40010006;      // DBG_PRINTEXCEPTION_C
    static constexpr DWORD PRINT_EXCEPTION_WIDE = 0x4001000A; // DBG_PRINTEXCEPTION_WIDE_C

    static inline std::mutex mutex;
    static inline DebugOutputCapture* active = nullptr;

    static LONG CALLBACK onException(EXCEPTION_POINTERS* pointers) {
        const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
        const bool wide = record.ExceptionCode == PRINT_EXCEPTION_WIDE;
        if ((!wide && record.ExceptionCode != PRINT_EXCEPTION) || record.NumberParameters < 2 ||
            record.ExceptionInformation[1] == 0) {
            return EXCEPTION_CONTINUE_SEARCH;
        }
        // The length counts the terminating NUL.
        const ULONG_PTR units = record.ExceptionInformation[0];
        const int length = units > 0 ? static_cast<int>(units - 1) : 0;
        std::wstring output;
        if (wide) {
            output.assign(reinterpret_cast<const wchar_t*>(record.ExceptionInformation[1]), length);
        } else if (length > 0) {
            const char* text = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
            output.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0)));
            MultiByteToWideChar(CP_ACP, 0, text, length, &output[0], static_cast<int>(output.size()));
        }
        {
            std::lock_guard<std::mutex> guard(mutex);
            if (active != nullptr) {
                active->captured.push_back(output);
            }
        }
        // Taken as a debugger would: the system then skips its 8-bit retry of the wide text.
        return wide ? EXCEPTION_CONTINUE_EXECUTION : EXCEPTION_CONTINUE_SEARCH;
    }

    PVOID handler = nullptr;
    std::vector<std::wstring> captured;
};

} // namespace zeno_test

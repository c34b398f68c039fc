#pragma once

// Captures the debugger output of every thread of this process while an instance lives, without a
// debugger. OutputDebugString raises DBG_PRINTEXCEPTION_WIDE_C (Windows 10 and later) or
// DBG_PRINTEXCEPTION_C (8-bit text; Wine raises only this one); a vectored handler sees it before
// the system's own handler consumes it. One capture at a time.

#include <mutex>
#include <string>
#include <vector>

#include <windows.h>

namespace zeno_test {

class DebugOutputCapture {
public:
    DebugOutputCapture() : handler(AddVectoredExceptionHandler(1, &onException)) {
        std::lock_guard<std::mutex> guard(mutex);
        active = this;
    }
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;
    ~DebugOutputCapture() {
        RemoveVectoredExceptionHandler(handler);
        std::lock_guard<std::mutex> guard(mutex);
        active = nullptr;
    }

    // The text of each OutputDebugString call, in order.
    std::vector<std::wstring> outputs() const {
        std::lock_guard<std::mutex> guard(mutex);
        return captured;
    }

private:
    static LONG CALLBACK onException(EXCEPTION_POINTERS* pointers) {
        const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
        const bool wide = record.ExceptionCode == 0x4001000A; // DBG_PRINTEXCEPTION_WIDE_C
        if ((!wide && record.ExceptionCode != 0x40010006) || record.NumberParameters < 2) {
            return EXCEPTION_CONTINUE_SEARCH;
        }
        // The length counts the terminating NUL. The texts of these tests are ASCII.
        const std::size_t length = record.ExceptionInformation[0] > 0 ? record.ExceptionInformation[0] - 1 : 0;
        const char* text = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
        const std::wstring output = wide ? std::wstring(reinterpret_cast<const wchar_t*>(text), length)
                                         : std::wstring(text, text + length);
        std::lock_guard<std::mutex> guard(mutex);
        if (active != nullptr) {
            active->captured.push_back(output);
        }
        // Taken as a debugger would: the system then skips its 8-bit retry of the wide text.
        return wide ? EXCEPTION_CONTINUE_EXECUTION : EXCEPTION_CONTINUE_SEARCH;
    }

    static inline std::mutex mutex;
    static inline DebugOutputCapture* active = nullptr;
    PVOID handler;
    std::vector<std::wstring> captured;
};

} // namespace zeno_test

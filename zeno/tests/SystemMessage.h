#pragma once

// The system's own text for a Win32 error code, fetched with a direct FormatMessageW call, so tests
// compare with what the running system gives rather than with fixed English text.

#include <cstdint>
#include <string>

#include <windows.h>

namespace zeno_test {

struct SystemMessage {
    bool found = false;
    std::wstring text;      // as the system gives it, line end included
    DWORD lastError = 0;    // GetLastError after a failed call
};

inline SystemMessage systemMessage(std::uint32_t code) {
    SystemMessage result;
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    result.lastError = GetLastError();
    result.found = length > 0;
    result.text.assign(buffer != nullptr ? buffer : L"", length);
    LocalFree(buffer);
    return result;
}

} // namespace zeno_test

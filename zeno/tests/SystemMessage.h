#pragma once

// The system's own text for a code, fetched with a direct FormatMessageW call (from the module's
// table first when one is given), so tests compare with what the running system gives rather than
// with fixed English text.

#include <cstdint>
#include <string>

#include <windows.h>

namespace zeno_test {

struct SystemMessage {
    bool found = false;
    std::wstring text;   // as the system gives it, line end included; empty when not found
    DWORD lastError = 0; // GetLastError after the call
};

inline SystemMessage systemMessage(std::uint32_t code, HMODULE module = nullptr) {
    wchar_t* buffer = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
    const DWORD length = FormatMessageW(flags | (module != nullptr ? FORMAT_MESSAGE_FROM_HMODULE : 0), module, code, 0,
                                        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const DWORD lastError = GetLastError();
    SystemMessage result{length > 0, std::wstring(buffer != nullptr ? buffer : L"", length), lastError};
    LocalFree(buffer);
    return result;
}

} // namespace zeno_test

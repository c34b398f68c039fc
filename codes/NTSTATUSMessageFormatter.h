#pragma once

#include "codes/MessageFormatter.h"

#include <windows.h>

// NTSTATUS texts from the message table of ntdll.dll (then the system's), inserts left as they
// stand. Loads ntdll.dll for its lifetime: the constructor throws zeno::Exception
// "::LoadLibrary(ntdll.dll) failed" when it cannot.
class NTSTATUSMessageFormatter : public MessageFormatter {
public:
    NTSTATUSMessageFormatter();
    NTSTATUSMessageFormatter(const NTSTATUSMessageFormatter&) = delete;
    NTSTATUSMessageFormatter& operator=(const NTSTATUSMessageFormatter&) = delete;
    ~NTSTATUSMessageFormatter() override;

    // Empty when there is no text; throws zeno::Exception "::LocalFree() failed" if the text's
    // buffer cannot be released.
    std::wstring format(std::uint32_t code) const override;

private:
    HMODULE ntdll;
};

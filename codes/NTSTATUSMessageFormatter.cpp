#include "codes/NTSTATUSMessageFormatter.h"

#include "zeno/Exception.h"
#include "zeno/LocalBuffer.h"

NTSTATUSMessageFormatter::NTSTATUSMessageFormatter() : ntdll(LoadLibraryW(L"ntdll.dll"))
{
    if (ntdll == nullptr) {
        throw zeno::Exception(L"::LoadLibrary(ntdll.dll) failed", GetLastError());
    }
}

NTSTATUSMessageFormatter::~NTSTATUSMessageFormatter()
{
    if (ntdll != nullptr) {
        FreeLibrary(ntdll);
    }
}

std::wstring NTSTATUSMessageFormatter::format(std::uint32_t code) const
{
    // Allocate the buffer, ignore inserts, from ntdll's table, then from the system's.
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS
                        | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM;
    wchar_t* buffer = nullptr;
    DWORD count = FormatMessageW(flags, ntdll, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    zeno::LocalBuffer owner(buffer);
    std::wstring text;
    if (count != 0 && buffer != nullptr) {
        text.assign(buffer);
    }
    owner.release();
    return text;
}

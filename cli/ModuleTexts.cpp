#include "cli/ModuleTexts.h"

#include "zeno/LocalBuffer.h"

HMODULE ModuleTexts::load(const wchar_t* module) const
{
    const auto known = modules.find(module);
    if (known != modules.end()) {
        return known->second.get();
    }
    // From the system folder only, as data: nothing of it runs, and no copy elsewhere stands in.
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    HMODULE handle = nullptr;
    if (length > 0 && length < MAX_PATH) {
        const std::wstring path = std::wstring(folder, length) + L"\\" + module;
        handle = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }
    modules.emplace(module, Module(handle));
    return handle;
}

std::wstring ModuleTexts::text(const wchar_t* module, std::uint32_t code) const
{
    const HMODULE handle = load(module);
    if (handle == nullptr) {
        return std::wstring();
    }
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_HMODULE;
    wchar_t* buffer = nullptr;
    const DWORD count = FormatMessageW(flags, handle, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    zeno::LocalBuffer owner(buffer);
    std::wstring text;
    if (count != 0 && buffer != nullptr) {
        text.assign(buffer);
    }
    owner.release();
    return text;
}

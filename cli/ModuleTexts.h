#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <type_traits>

// Message texts from the system modules that own them (netmsg.dll for NERR_ codes, wininet.dll,
// winhttp.dll), each loaded as data from the system folder on first use and kept until the end.
// A module that the system does not have, or that has no text for a code, gives no text.
class ModuleTexts {
public:
    ModuleTexts() = default;
    ModuleTexts(const ModuleTexts&) = delete;
    ModuleTexts& operator=(const ModuleTexts&) = delete;

    // As the module gives it, line end included; empty when there is none.
    std::wstring text(const wchar_t* module, std::uint32_t code) const;

private:
    HMODULE load(const wchar_t* module) const;

    struct Unload {
        void operator()(HMODULE module) const { FreeLibrary(module); }
    };
    using Module = std::unique_ptr<std::remove_pointer_t<HMODULE>, Unload>;
    mutable std::map<std::wstring, Module> modules;   // null: not there
};

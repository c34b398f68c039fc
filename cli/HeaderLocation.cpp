#include "cli/HeaderLocation.h"

#include <shlobj.h>
#include <windows.h>

#include <cstdint>
#include <vector>

namespace {

const wchar_t* const CONFIG_NAME = L"kelvane.cfg";
const wchar_t* const KITS_FOLDER = L"\\Windows Kits\\10";

bool isFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring besideExecutable(const wchar_t* name)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) {
            return std::wstring();
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

// The parts of a version folder name such as 10.0.22621.0; empty when it is not one.
std::vector<std::uint32_t> versionParts(const std::wstring& name)
{
    std::vector<std::uint32_t> parts(1, 0);
    for (wchar_t unit : name) {
        if (unit == L'.') {
            parts.push_back(0);
        } else if (unit >= L'0' && unit <= L'9' && parts.back() < 100000000) {
            parts.back() = parts.back() * 10 + static_cast<std::uint32_t>(unit - L'0');
        } else {
            return {};
        }
    }
    return parts;
}

std::wstring defaultKitsFolder()
{
    wchar_t programFiles[MAX_PATH];
    if (SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILESX86, nullptr, SHGFP_TYPE_CURRENT, programFiles) != S_OK) {
        return std::wstring();
    }
    return programFiles + std::wstring(KITS_FOLDER);
}

std::wstring newestSdkFolder(const std::wstring& kitsFolder)
{
    if (kitsFolder.empty()) {
        return std::wstring();
    }
    const std::wstring include = kitsFolder + L"\\Include\\";
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((include + L"*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return std::wstring();
    }
    std::wstring newest;
    std::vector<std::uint32_t> newestVersion;
    do {
        const std::vector<std::uint32_t> version = versionParts(entry.cFileName);
        const std::wstring shared = include + entry.cFileName + L"\\shared\\";
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !version.empty() && version > newestVersion
            && isFile(shared + L"ntstatus.h")) {
            newest = shared;
            newestVersion = version;
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return newest;
}

} // namespace

HeaderLocation HeaderLocation::find(const std::wstring& configOption, const std::wstring& kitsFolder)
{
    if (!configOption.empty()) {
        return {configOption, std::wstring()};
    }
    if (isFile(CONFIG_NAME)) {
        return {CONFIG_NAME, std::wstring()};
    }
    const std::wstring beside = besideExecutable(CONFIG_NAME);
    if (!beside.empty() && isFile(beside)) {
        return {beside, std::wstring()};
    }
    const std::wstring sdk = newestSdkFolder(kitsFolder.empty() ? defaultKitsFolder() : kitsFolder);
    if (!sdk.empty()) {
        return {std::wstring(), sdk};
    }
    return {CONFIG_NAME, std::wstring()};
}

#include "TempFolder.h"

#include <windows.h>

#include <stdexcept>

TempFolder::TempFolder(const std::wstring& prefix) {
    static unsigned serial = 0;
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, base);
    folder = base + prefix + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
    if (!CreateDirectoryW(folder.c_str(), nullptr)) {
        throw std::runtime_error("no temporary folder could be made");
    }
}

TempFolder::~TempFolder() {
    // Also the files that the program under test wrote there.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(file(L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                DeleteFileW(file(found.cFileName).c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

std::wstring TempFolder::file(const std::wstring& name) const {
    return folder + L"\\" + name;
}

std::wstring TempFolder::write(const std::wstring& name, const std::string& bytes) {
    const std::wstring path = file(name);
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("a test file could not be created");
    }
    DWORD count = 0;
    const BOOL ok = bytes.empty() || WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr);
    CloseHandle(handle);
    if (!ok) {
        throw std::runtime_error("a test file could not be written");
    }
    return path;
}

std::string TempFolder::read(const std::wstring& name) const {
    HANDLE handle = CreateFileW(file(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::string();
    }
    std::string bytes;
    char buffer[4096];
    DWORD count = 0;
    while (ReadFile(handle, buffer, sizeof buffer, &count, nullptr) && count > 0) {
        bytes.append(buffer, count);
    }
    CloseHandle(handle);
    return bytes;
}

bool TempFolder::exists(const std::wstring& name) const {
    return GetFileAttributesW(file(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

#pragma once

// A fresh directory under the system's temporary folder, removed with everything in it (one level
// of files) when the object goes. Shared by the zeno, codes and app tests.

#include <cwchar>
#include <string>

#include <windows.h>

namespace zeno_test {

class TemporaryDirectory {
public:
    explicit TemporaryDirectory(const std::wstring& prefix = L"kelvane-test") {
        wchar_t base[MAX_PATH + 1];
        std::wstring root(base, GetTempPathW(MAX_PATH + 1, base));
        if (!root.empty() && root.back() != L'\\') {
            root += L'\\';
        }
        root += prefix + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount());
        for (unsigned attempt = 0; attempt < 1000 && directory.empty(); ++attempt) {
            if (CreateDirectoryW((root + L"-" + std::to_wstring(attempt)).c_str(), nullptr)) {
                directory = root + L"-" + std::to_wstring(attempt);
            }
        }
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    ~TemporaryDirectory() {
        WIN32_FIND_DATAW entry;
        const HANDLE search = directory.empty() ? INVALID_HANDLE_VALUE : FindFirstFileW(file(L"*").c_str(), &entry);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &entry)) {
            const std::wstring name = file(entry.cFileName);
            SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (wcscmp(entry.cFileName, L".") != 0 && wcscmp(entry.cFileName, L"..") != 0 && !DeleteFileW(name.c_str())) {
                RemoveDirectoryW(name.c_str());
            }
        }
        if (search != INVALID_HANDLE_VALUE) {
            FindClose(search);
        }
        RemoveDirectoryW(directory.c_str());
    }

    bool isCreated() const { return !directory.empty(); }
    const std::wstring& path() const { return directory; }
    // Path of an entry inside the directory.
    std::wstring file(const std::wstring& name) const { return directory + L"\\" + name; }
    bool exists(const std::wstring& name) const {
        return GetFileAttributesW(file(name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // Writes the bytes to a new file in the directory and returns its path ("" on failure).
    std::wstring writeFile(const std::wstring& name, const std::string& bytes) const {
        const HANDLE handle = CreateFileW(file(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return std::wstring();
        }
        DWORD written = 0;
        const bool ok = bytes.empty() || WriteFile(handle, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(handle);
        return ok && written == bytes.size() ? file(name) : std::wstring();
    }

    // The bytes of a file in the directory ("" when it cannot be read).
    std::string readFile(const std::wstring& name) const {
        const HANDLE handle = CreateFileW(file(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        std::string bytes;
        char buffer[4096];
        DWORD count = 0;
        while (handle != INVALID_HANDLE_VALUE && ReadFile(handle, buffer, sizeof buffer, &count, nullptr) && count > 0) {
            bytes.append(buffer, count);
        }
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
        return bytes;
    }

private:
    std::wstring directory;
};

} // namespace zeno_test

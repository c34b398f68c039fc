#pragma once

// A fresh directory under the system's temporary folder, removed with everything in it (one level
// of files) when the object goes.

#include <string>

#include <windows.h>

namespace zeno_test {

class TemporaryDirectory {
public:
    TemporaryDirectory() {
        wchar_t base[MAX_PATH + 1];
        std::wstring root(base, GetTempPathW(MAX_PATH + 1, base));
        if (!root.empty() && root.back() != L'\\') {
            root += L'\\';
        }
        for (unsigned attempt = 0; attempt < 1000 && path.empty(); ++attempt) {
            const std::wstring candidate = root + L"kelvane-test-" + std::to_wstring(GetCurrentProcessId()) +
                                           L"-" + std::to_wstring(GetTickCount()) + L"-" +
                                           std::to_wstring(attempt);
            if (CreateDirectoryW(candidate.c_str(), nullptr)) {
                path = candidate;
            }
        }
    }

    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    ~TemporaryDirectory() {
        WIN32_FIND_DATAW entry;
        const HANDLE search =
            path.empty() ? INVALID_HANDLE_VALUE : FindFirstFileW(file(L"*").c_str(), &entry);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = entry.cFileName;
                if (name == L"." || name == L"..") {
                    continue;
                }
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveDirectoryW(file(name).c_str());
                } else {
                    SetFileAttributesW(file(name).c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(file(name).c_str());
                }
            } while (FindNextFileW(search, &entry));
            FindClose(search);
        }
        if (!path.empty()) {
            RemoveDirectoryW(path.c_str());
        }
    }

    bool isCreated() const { return !path.empty(); }
    // Path of an entry inside the directory.
    std::wstring file(const std::wstring& name) const { return path + L"\\" + name; }

    // Writes the bytes to a new file in the directory and returns its path ("" on failure).
    std::wstring writeFile(const std::wstring& name, const std::string& bytes) const {
        const std::wstring filePath = file(name);
        const HANDLE handle = CreateFileW(filePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return std::wstring();
        }
        DWORD written = 0;
        const BOOL ok = bytes.empty() ||
                        WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(handle);
        return ok && written == bytes.size() ? filePath : std::wstring();
    }

private:
    std::wstring path;
};

} // namespace zeno_test

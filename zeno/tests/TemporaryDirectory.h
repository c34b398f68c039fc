#pragma once

// A fresh directory under the system's temporary folder, removed with everything in it when the
// object goes. Shared by the zeno, codes and app tests.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <windows.h>

namespace zeno_test {

class TemporaryDirectory {
public:
    // Named after the process and a counter; a folder of that name is left over from an earlier
    // process with the same id.
    explicit TemporaryDirectory(const std::wstring& prefix = L"kelvane-test") {
        static unsigned counter = 0;
        std::error_code error;
        const std::filesystem::path name = std::filesystem::temp_directory_path(error) /
            (prefix + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter));
        std::filesystem::remove_all(name, error);
        directory = std::filesystem::create_directory(name, error) ? name.wstring() : std::wstring();
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    ~TemporaryDirectory() {
        std::error_code ignored; // also when the directory was never made: its path is empty
        std::filesystem::remove_all(directory, ignored);
    }

    bool isCreated() const { return !directory.empty(); }
    const std::wstring& path() const { return directory; }
    // Path of an entry inside the directory.
    std::wstring file(const std::wstring& name) const { return directory + L"\\" + name; }
    bool exists(const std::wstring& name) const { return GetFileAttributesW(file(name).c_str()) != INVALID_FILE_ATTRIBUTES; }

    // Writes the bytes to a new file in the directory and returns its path ("" on failure).
    std::wstring writeFile(const std::wstring& name, const std::string& bytes) const {
        std::ofstream out(std::filesystem::path(file(name)), std::ios::binary);
        return out.write(bytes.data(), bytes.size()).flush() ? file(name) : std::wstring();
    }

    // The bytes of a file in the directory ("" when it cannot be read).
    std::string readFile(const std::wstring& name) const {
        std::ifstream in(std::filesystem::path(file(name)), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::wstring directory;
};

} // namespace zeno_test

#pragma once

#include <string>

// A fresh folder under the system's temporary folder for one group of tests; removed with the
// files in it when the object goes away.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& prefix);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return folder; }
    // Full path of a file in the folder.
    std::wstring file(const std::wstring& name) const;
    // Writes (replaces) a file with exactly these bytes and returns its full path.
    std::wstring write(const std::wstring& name, const std::string& bytes);
    // The bytes of a file, or an empty string when it cannot be read.
    std::string read(const std::wstring& name) const;
    bool exists(const std::wstring& name) const;

private:
    std::wstring folder;
};

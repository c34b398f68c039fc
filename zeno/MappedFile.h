#pragma once

#include <cstdint>
#include <string>

#include <windows.h>

namespace zeno {

// A whole file mapped into memory. The constructor opens and maps it or throws
// (zeno::FileNotFoundException, zeno::IOException), closing what it opened on the way.
class MappedFile {
public:
    static constexpr unsigned READ = 1;
    static constexpr unsigned WRITE = 2;

    // name: the mapping's name, or zeno::nilString for an unnamed mapping.
    MappedFile(const std::wstring& path, unsigned mode, const std::wstring& name);
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    const void* data() const;
    void* data();
    // Size of the file in bytes when it was opened.
    std::uint64_t size() const;
    // Unmaps the view and closes both handles; failures are ignored. Safe to call twice.
    void close();

private:
    HANDLE file;
    HANDLE mapping;
    void* view;
    std::uint64_t fileSize;
};

} // namespace zeno

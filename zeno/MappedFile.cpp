#include "zeno/MappedFile.h"

#include "zeno/Exception.h"
#include "zeno/File.h"
#include "zeno/Strings.h"

namespace zeno {

MappedFile::MappedFile(const std::wstring& path, unsigned mode, const std::wstring& name)
    : file(nullptr), mapping(nullptr), view(nullptr), fileSize(0) {
    const bool writing = (mode & WRITE) != 0;
    DWORD access = 0;
    if ((mode & READ) != 0) {
        access |= GENERIC_READ;
    }
    if (writing) {
        access |= GENERIC_WRITE;
    }
    file = openFile(path, access, writing ? 0 : FILE_SHARE_READ, nullptr,
                    writing ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    try {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(file, &size)) {
            throw IOException(L"::GetFileSizeEx(" + path + L") failed", GetLastError());
        }
        fileSize = static_cast<std::uint64_t>(size.QuadPart);

        mapping = CreateFileMappingW(file, nullptr, writing ? PAGE_READWRITE : PAGE_READONLY, 0, 0,
                                     isNil(name) ? nullptr : name.c_str());
        if (mapping == nullptr) {
            throw IOException(L"::CreateFileMapping(" + path + L") failed", GetLastError());
        }
        view = MapViewOfFileEx(mapping, writing ? FILE_MAP_WRITE : FILE_MAP_READ, 0, 0, 0, nullptr);
        if (view == nullptr) {
            throw IOException(L"::MapViewOfFileEx(" + path + L") failed", GetLastError());
        }
    } catch (...) {
        close();
        throw;
    }
}

MappedFile::~MappedFile() {
    close();
}

const void* MappedFile::data() const {
    return view;
}

void* MappedFile::data() {
    return view;
}

std::uint64_t MappedFile::size() const {
    return fileSize;
}

void MappedFile::close() {
    if (view != nullptr) {
        UnmapViewOfFile(view);
        view = nullptr;
    }
    if (mapping != nullptr) {
        CloseHandle(mapping);
        mapping = nullptr;
    }
    if (file != nullptr) {
        CloseHandle(file);
        file = nullptr;
    }
}

} // namespace zeno

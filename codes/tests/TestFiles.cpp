#include "TestFiles.h"

#include <gtest/gtest.h>

#include <stdexcept>

std::string readBytes(const std::wstring& path)
{
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot open the file to read it back";
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

ExclusiveOpen::ExclusiveOpen(const std::wstring& path)
    : handle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
{
    if (handle == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot open the file without sharing");
    }
}

ExclusiveOpen::~ExclusiveOpen()
{
    CloseHandle(handle);
}

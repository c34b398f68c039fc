#pragma once

#include <string>
#include <vector>

#include <windows.h>

// The whole content of a file, read with plain ReadFile.
std::string readBytes(const std::wstring& path);

// Holds a file open for writing without any sharing, as another program might.
class ExclusiveOpen {
public:
    explicit ExclusiveOpen(const std::wstring& path);
    ExclusiveOpen(const ExclusiveOpen&) = delete;
    ExclusiveOpen& operator=(const ExclusiveOpen&) = delete;
    ~ExclusiveOpen();

private:
    HANDLE handle;
};

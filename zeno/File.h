#pragma once

#include <string>

#include <windows.h>

namespace zeno {

// CreateFileW without template file. Codes 2 and 3 throw zeno::FileNotFoundException (message: the
// path), any other failure zeno::IOException "::CreateFile(" + path + ") failed".
HANDLE openFile(const std::wstring& path, DWORD access, DWORD shareMode,
                LPSECURITY_ATTRIBUTES security, DWORD creationDisposition, DWORD flags);

} // namespace zeno

#include "zeno/File.h"

#include "zeno/Exception.h"

namespace zeno {

HANDLE openFile(const std::wstring& path, DWORD access, DWORD shareMode,
                LPSECURITY_ATTRIBUTES security, DWORD creationDisposition, DWORD flags) {
    const HANDLE file =
        CreateFileW(path.c_str(), access, shareMode, security, creationDisposition, flags, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            throw FileNotFoundException(path, error);
        }
        throw IOException(L"::CreateFile(" + path + L") failed", error);
    }
    return file;
}

} // namespace zeno

#include "AppTestSupport.h"

namespace testheaders {

const char* const ntStatusHeader =
    "#define STATUS_SUCCESS                   ((NTSTATUS)0x00000000L)\r\n"
    "#define STATUS_PENDING                   ((NTSTATUS)0x00000103L)    // operation in progress\r\n"
    "#define STATUS_UNSUCCESSFUL              ((NTSTATUS)0xC0000001L)\r\n"
    "#define STATUS_ACCESS_VIOLATION          ((NTSTATUS)0xC0000005L)\r\n"
    "#define STATUS_INVALID_LOCK_SEQUENCE     ((NTSTATUS)0xC000001EL)\r\n"
    "#define STATUS_INVALID_VIEW_SIZE         ((NTSTATUS)0xC000001FL)\r\n"
    "#define STATUS_ACCESS_DENIED             ((NTSTATUS)0xC0000022L)\r\n"
    "#define STATUS_OBJECT_NAME_NOT_FOUND     ((NTSTATUS)0xC0000034L)\r\n"
    "#define STATUS_KELVANE_UNMAPPED          ((NTSTATUS)0xC0FE0001L)\r\n";

const char* const win32Header =
    "#define ERROR_SUCCESS 0L\r\n"
    "#define ERROR_INVALID_FUNCTION 1L\r\n"
    "#define ERROR_FILE_NOT_FOUND 2L\r\n"
    "#define ERROR_ACCESS_DENIED 5L\r\n"
    "#define ERROR_INVALID_HANDLE 6L\r\n"
    "#define ERROR_KELVANE_HANDLE 6L\r\n"
    "#define ERROR_IO_PENDING 997L\r\n"
    "#define ERROR_NOACCESS 998L\r\n";

std::string configuration(const std::wstring& ntStatusPath, const std::wstring& win32Path) {
    // The temporary folder's paths are ASCII.
    return "ntstatus.h=" + std::string(ntStatusPath.begin(), ntStatusPath.end()) + "\r\nwinerror.h=" +
           std::string(win32Path.begin(), win32Path.end()) + "\r\n";
}

std::wstring writeAll(TempFolder& folder) {
    const std::wstring ntStatusPath = folder.writeFile(L"ntstatus.h", ntStatusHeader);
    const std::wstring win32Path = folder.writeFile(L"winerror.h", win32Header);
    return folder.writeFile(L"kelvane.cfg", configuration(ntStatusPath, win32Path));
}

}  // namespace testheaders

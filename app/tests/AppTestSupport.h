#pragma once

// What the app tests share: small handwritten headers and their configuration file.
#include <string>

#include "awt/tests/support/TestSupport.h"
#include "zeno/tests/TemporaryDirectory.h"

using TempFolder = zeno_test::TemporaryDirectory;

// Headers whose codes cover every mapping case of the main window:
//   NTSTATUS 0x103 and 0xC0000005 map to one Win32 code each, present in winerror.h;
//   0xC000001E, 0xC000001F and 0xC0000022 all map to ERROR_ACCESS_DENIED (5);
//   0xC0000001 maps to ERROR_GEN_FAILURE (31), which winerror.h does not define;
//   0xC0FE0001 has no Win32 counterpart; nothing maps to ERROR_INVALID_FUNCTION (1);
//   ERROR_INVALID_HANDLE and ERROR_KELVANE_HANDLE both name 6.
namespace testheaders {

inline const char* const ntStatusHeader =
    "#define STATUS_SUCCESS                   ((NTSTATUS)0x00000000L)\r\n"
    "#define STATUS_PENDING                   ((NTSTATUS)0x00000103L)    // operation in progress\r\n"
    "#define STATUS_UNSUCCESSFUL              ((NTSTATUS)0xC0000001L)\r\n"
    "#define STATUS_ACCESS_VIOLATION          ((NTSTATUS)0xC0000005L)\r\n"
    "#define STATUS_INVALID_LOCK_SEQUENCE     ((NTSTATUS)0xC000001EL)\r\n"
    "#define STATUS_INVALID_VIEW_SIZE         ((NTSTATUS)0xC000001FL)\r\n"
    "#define STATUS_ACCESS_DENIED             ((NTSTATUS)0xC0000022L)\r\n"
    "#define STATUS_OBJECT_NAME_NOT_FOUND     ((NTSTATUS)0xC0000034L)\r\n"
    "#define STATUS_KELVANE_UNMAPPED          ((NTSTATUS)0xC0FE0001L)\r\n";

inline const char* const win32Header =
    "#define ERROR_SUCCESS 0L\r\n#define ERROR_INVALID_FUNCTION 1L\r\n#define ERROR_FILE_NOT_FOUND 2L\r\n"
    "#define ERROR_ACCESS_DENIED 5L\r\n#define ERROR_INVALID_HANDLE 6L\r\n#define ERROR_KELVANE_HANDLE 6L\r\n"
    "#define ERROR_IO_PENDING 997L\r\n#define ERROR_NOACCESS 998L\r\n";

// The configuration file text for two header paths, as the program writes it (the temporary
// folder's paths are ASCII).
inline std::string configuration(const std::wstring& ntStatusPath, const std::wstring& win32Path) {
    const std::wstring text = L"ntstatus.h=" + ntStatusPath + L"\r\nwinerror.h=" + win32Path + L"\r\n";
    return std::string(text.begin(), text.end());
}

}  // namespace testheaders

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
extern const char* const ntStatusHeader;
extern const char* const win32Header;
// The configuration file text for two header paths, as the program writes it.
std::string configuration(const std::wstring& ntStatusPath, const std::wstring& win32Path);
// Writes ntstatus.h, winerror.h and kelvane.cfg into the folder; returns the configuration path.
std::wstring writeAll(TempFolder& folder);
}  // namespace testheaders

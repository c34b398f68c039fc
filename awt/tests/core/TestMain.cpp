#include <gtest/gtest.h>

#include <windows.h>

#include "awt/Toolkit.h"

namespace {

// Without a window manager on the test display, Wine waits two seconds for every managed
// top-level window it unmaps. Test windows are left unmanaged (for this program only).
void leaveWindowsUnmanaged() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER,
                        L"Software\\Wine\\AppDefaults\\awt_core_tests.exe\\X11 Driver", 0,
                        nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"N"),
                       2 * sizeof(wchar_t));
        RegCloseKey(key);
    }
}

} // namespace

// The start-up thread gets its toolkit from initialize, as in the program.
int main(int argc, char** argv) {
    leaveWindowsUnmanaged();
    testing::InitGoogleTest(&argc, argv);
    awt::Toolkit::initialize(GetModuleHandleW(nullptr), SW_SHOWNORMAL, L"AwtCoreTests");
    return RUN_ALL_TESTS();
}

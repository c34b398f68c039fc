// The application tests build the real main frame on this thread, which therefore owns the
// toolkit, as the program's own start-up thread does.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "awt/Toolkit.h"

namespace {

// No test may hang: after this long the whole program stops with a failure.
const DWORD WATCHDOG_MS = 420000;

DWORD WINAPI watchdog(void*) {
    Sleep(WATCHDOG_MS);
    std::fprintf(stderr, "app_tests: watchdog expired, stopping\n");
    std::fflush(stderr);
    ExitProcess(2);
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    CloseHandle(CreateThread(nullptr, 0, watchdog, nullptr, 0, nullptr));
    awt::Toolkit::initialize(GetModuleHandleW(nullptr), SW_SHOWNORMAL, L"Kelvane");
    return RUN_ALL_TESTS();
}

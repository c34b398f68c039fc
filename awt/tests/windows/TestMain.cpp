// The window tests run on the start-up thread's toolkit, like the program. A watchdog ends the
// process when one test runs for too long, so that a lost message loop cannot hang the run.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <windows.h>

#include "awt/Toolkit.h"

namespace {

constexpr DWORD TEST_TIME_LIMIT_MS = 60000;

HANDLE testStarted = nullptr;
std::string currentTest;

DWORD WINAPI watchdog(void*) {
    for (;;) {
        if (WaitForSingleObject(testStarted, TEST_TIME_LIMIT_MS) == WAIT_TIMEOUT) {
            std::fprintf(stderr, "watchdog: %s ran for more than %lu ms, ending the run\n",
                         currentTest.c_str(), static_cast<unsigned long>(TEST_TIME_LIMIT_MS));
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
}

class WatchdogFeeder : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& info) override {
        currentTest = std::string(info.test_suite_name()) + "." + info.name();
        SetEvent(testStarted);
    }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    awt::Toolkit::initialize(GetModuleHandleW(nullptr), SW_SHOWNORMAL, L"KelvaneWindowTests");
    testStarted = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, watchdog, nullptr, 0, nullptr);
    if (testStarted == nullptr || thread == nullptr) {
        std::fprintf(stderr, "cannot start the watchdog\n");
        return 2;
    }
    CloseHandle(thread);
    ::testing::UnitTest::GetInstance()->listeners().Append(new WatchdogFeeder);
    return RUN_ALL_TESTS();
}

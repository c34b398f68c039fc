#include "zeno/tests/support/TestGuard.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

namespace zeno_test {

namespace {

DWORD limitMs = 0;
HANDLE testStarted = nullptr;
std::string currentTest = "start-up";

DWORD WINAPI watchdog(void*) {
    while (WaitForSingleObject(testStarted, limitMs) == WAIT_OBJECT_0) {}
    std::fprintf(stderr, "watchdog: %s ran for more than %lu ms, ending the run\n", currentTest.c_str(),
                 static_cast<unsigned long>(limitMs));
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return 0;
}

// A crash ends the run at once, failed and with the test named, instead of waiting for a
// debugger (Wine starts one, and killing it lets the process end with code 0).
LONG WINAPI onCrash(EXCEPTION_POINTERS* crash) {
    std::fprintf(stderr, "crash: exception 0x%08lx in %s, ending the run\n",
                 static_cast<unsigned long>(crash->ExceptionRecord->ExceptionCode), currentTest.c_str());
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 4);
    return EXCEPTION_EXECUTE_HANDLER;
}

class WatchdogFeeder : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo& info) override {
        currentTest = std::string(info.test_suite_name()) + "." + info.name();
        SetEvent(testStarted);
    }
};

} // namespace

bool guardTests(DWORD testLimitMs) {
    limitMs = testLimitMs;
    testStarted = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HANDLE thread = testStarted != nullptr ? CreateThread(nullptr, 0, watchdog, nullptr, 0, nullptr) : nullptr;
    if (thread == nullptr) {
        std::fprintf(stderr, "cannot start the watchdog\n");
        return false;
    }
    CloseHandle(thread);
    SetUnhandledExceptionFilter(onCrash);
    testing::UnitTest::GetInstance()->listeners().Append(new WatchdogFeeder);
    return true;
}

int runGuardedTests(int argc, char** argv, DWORD testLimitMs) {
    testing::InitGoogleTest(&argc, argv);
    return guardTests(testLimitMs) ? RUN_ALL_TESTS() : 2;
}

} // namespace zeno_test

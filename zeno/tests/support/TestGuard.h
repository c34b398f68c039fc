#pragma once

#include <windows.h>

namespace zeno_test {

// Puts the test run under a watchdog and a crash filter, so that no test can hang or stall the
// run: a test that runs longer than the limit, or a crash, ends the process at once, failed and
// with the test named on stderr. Call after InitGoogleTest, before RUN_ALL_TESTS; false (and a
// message) when the watchdog cannot be started.
bool guardTests(DWORD testLimitMs);

// The main of every test program that needs nothing more: GoogleTest under guardTests.
int runGuardedTests(int argc, char** argv, DWORD testLimitMs = 60000);

} // namespace zeno_test

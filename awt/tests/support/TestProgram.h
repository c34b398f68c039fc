#pragma once

#include <windows.h>

namespace test {

// The main of a GUI test program: GoogleTest, the start-up thread's toolkit from initialize (as
// in the program) under the application name, and the watchdog and crash filter of every test
// program (zeno_test::guardTests) with the time limit per test.
int runTestProgram(int argc, char** argv, const wchar_t* applicationName, DWORD testLimitMs = 60000);

} // namespace test

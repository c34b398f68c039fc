#pragma once

#include <windows.h>

namespace test {

// The main of a GUI test program: GoogleTest, the start-up thread's toolkit from initialize (as
// in the program) under the application name, and a time limit per test: a test that runs
// longer ends the process with a message, so that no test can hang the run.
int runTestProgram(int argc, char** argv, const wchar_t* applicationName, DWORD testLimitMs = 60000);

} // namespace test

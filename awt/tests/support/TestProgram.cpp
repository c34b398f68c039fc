#include "awt/tests/support/TestProgram.h"

#include <gtest/gtest.h>

#include "awt/Toolkit.h"
#include "zeno/tests/support/TestGuard.h"

namespace test {

int runTestProgram(int argc, char** argv, const wchar_t* applicationName, DWORD testLimitMs) {
    testing::InitGoogleTest(&argc, argv);
    awt::Toolkit::initialize(GetModuleHandleW(nullptr), SW_SHOWNORMAL, applicationName);
    return zeno_test::guardTests(testLimitMs) ? RUN_ALL_TESTS() : 2;
}

} // namespace test

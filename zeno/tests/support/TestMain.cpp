#include "zeno/tests/support/TestGuard.h"

int main(int argc, char** argv) {
    return zeno_test::runGuardedTests(argc, argv);
}

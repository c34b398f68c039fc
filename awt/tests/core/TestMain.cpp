#include "awt/tests/support/TestProgram.h"

int main(int argc, char** argv) {
    return test::runTestProgram(argc, argv, L"AwtCoreTests");
}

// The application tests build the real main frame on this thread, which therefore owns the
// toolkit, as the program's own start-up thread does.
#include "awt/tests/support/TestProgram.h"

int main(int argc, char** argv) {
    return test::runTestProgram(argc, argv, L"Kelvane", 120000);
}

#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>
#include <windows.h>

#include "WidgetTestSupport.h"
#include "awt/Toolkit.h"

// --hold=MS keeps the showcase window on screen that long (for looking at it); the toolkit of
// the start-up thread comes from initialize, as in the program.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--hold=", 7) == 0) {
            widgets_test::showcaseHoldMilliseconds = std::atoi(argv[i] + 7);
        }
    }
    awt::Toolkit::initialize(GetModuleHandleW(nullptr), SW_SHOWNORMAL, L"AwtWidgetTests");
    return RUN_ALL_TESTS();
}

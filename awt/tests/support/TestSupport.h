#pragma once

// Everything a GUI test needs, in namespace test.

#include <gtest/gtest.h>

#include "awt/tests/ExpectFailure.h"
#include "awt/tests/support/Input.h"
#include "awt/tests/support/Loop.h"
#include "awt/tests/support/SystemWindows.h"
#include "awt/tests/support/TestComponents.h"
#include "zeno/Exception.h"

namespace test {

constexpr std::uint32_t NO_CODE = zeno::Exception::NO_ERROR_CODE;

} // namespace test

#pragma once

// Shared by the awt test programs: checks that a statement throws E with the message and the code.

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#define EXPECT_FAILURE(statement, E, expectedMessage, expectedCode)                         \
    do {                                                                                 \
        bool thrown = false;                                                             \
        try { statement; } catch (const E& failure) {                                    \
            thrown = true;                                                               \
            EXPECT_EQ(std::wstring(expectedMessage), failure.getMessage());              \
            EXPECT_EQ(static_cast<std::uint32_t>(expectedCode), failure.getErrorCode()); \
        }                                                                                \
        EXPECT_TRUE(thrown) << "expected " #E " from " #statement;                       \
    } while (false)

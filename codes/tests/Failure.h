#pragma once

#include "zeno/Exception.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

// What a zeno::Exception said: its exact class, its message and its code.
struct Failure {
    std::wstring className;
    std::wstring message;
    std::uint32_t errorCode;
};

// Runs the action and returns the zeno::Exception it threw; a test failure if it threw none.
template <class Action>
Failure failureOf(Action&& action)
{
    try {
        action();
    } catch (const zeno::Exception& e) {
        return Failure{e.getClassName(), e.getMessage(), e.getErrorCode()};
    }
    ADD_FAILURE() << "no zeno::Exception was thrown";
    return Failure{L"(nothing thrown)", std::wstring(), 0};
}

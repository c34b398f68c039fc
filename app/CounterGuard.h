#pragma once

#include <cstdint>

// Raises a re-entrancy counter for the life of the guard, so the increment is undone on every
// way out of a scope, exceptions included.
class CounterGuard {
public:
    explicit CounterGuard(std::int32_t& counter) : counter(counter) { ++counter; }
    ~CounterGuard() { --counter; }
    CounterGuard(const CounterGuard&) = delete;
    CounterGuard& operator=(const CounterGuard&) = delete;

private:
    std::int32_t& counter;
};

#pragma once

// Message loops for GUI tests. Every wait has a limit, so a test that waits for something that
// never happens fails instead of hanging.

#include <functional>

#include <windows.h>

#include "awt/Toolkit.h"
#include "zeno/Runnable.h"

namespace test {

inline awt::Toolkit* toolkit() { return awt::Toolkit::getInstance(); }

// Dispatches every waiting message (no deferred work).
void pumpMessages();
// Dispatches messages and runs the toolkit's deferred work until nothing is left (bounded).
void settle();
// Runs the toolkit's own loop (preprocessors included) for a while; returns run's result.
int runFor(UINT milliseconds);
// Runs the toolkit's loop until the condition holds or the time is up; whether it holds.
bool waitUntil(const std::function<bool()>& condition, DWORD limitMs = 5000);
// For threads other than the toolkit's: polls the condition, sleeping in between.
bool pollUntil(const std::function<bool()>& condition, DWORD limitMs = 10000);

// A runnable for invokeLater that calls the function once and deletes itself.
zeno::Runnable* task(std::function<void()> body);

// A one-shot action run from whatever loop runs when the delay has passed (a modal one too).
// Cancelled if it has not run when the object goes.
class DelayedAction {
public:
    DelayedAction(DWORD delayMs, std::function<void()> action);
    DelayedAction(const DelayedAction&) = delete;
    DelayedAction& operator=(const DelayedAction&) = delete;
    ~DelayedAction();
    bool hasRun() const { return ran; }

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR id, DWORD);
    UINT_PTR timer;
    std::function<void()> action;
    bool ran = false;
};

// Ends the running loop with EXIT_CODE once the limit has passed, and every period after,
// so that nested loops end one after the other.
class Watchdog {
public:
    static constexpr int EXIT_CODE = -7777;
    explicit Watchdog(UINT limitMs = 5000);
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    ~Watchdog();
    bool fired() const { return firings > 0; }

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR id, DWORD);
    UINT_PTR timer;
    int firings = 0;
};

} // namespace test

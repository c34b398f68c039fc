#include "awt/tests/support/Loop.h"

#include <map>
#include <memory>

namespace test {

namespace {

template <class T> std::map<UINT_PTR, T*>& timers() {
    static std::map<UINT_PTR, T*> byTimer;
    return byTimer;
}

void CALLBACK endLoop(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    PostQuitMessage(0);
}

class Task : public zeno::Runnable {
public:
    explicit Task(std::function<void()> body) : body(std::move(body)) {}
    void run() override {
        std::unique_ptr<Task> self(this);
        body();
    }

private:
    std::function<void()> body;
};

// Polls the condition, doing the wait in between, until it holds or the limit has passed.
bool until(const std::function<bool()>& condition, DWORD limitMs, const std::function<void()>& wait) {
    for (const DWORD start = GetTickCount(); !condition(); wait()) {
        if (GetTickCount() - start >= limitMs) { return false; }
    }
    return true;
}

} // namespace

void pumpMessages() {
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
        if (message.message != WM_QUIT) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

void settle() {
    for (int round = 0; round < 50; ++round) {
        pumpMessages();
        toolkit()->processPending(true);
        MSG message;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && toolkit()->getInvalidQueue().empty() &&
            toolkit()->getRepaintQueue().empty()) {
            return;
        }
    }
}

int runFor(UINT milliseconds) {
    SetTimer(nullptr, 0, milliseconds, endLoop);
    return toolkit()->run();
}

bool waitUntil(const std::function<bool()>& condition, DWORD limitMs) {
    return until([&] { settle(); return condition(); }, limitMs, [] { runFor(10); });
}

bool pollUntil(const std::function<bool()>& condition, DWORD limitMs) {
    return until(condition, limitMs, [] { Sleep(20); });
}

zeno::Runnable* task(std::function<void()> body) {
    return new Task(std::move(body));
}

DelayedAction::DelayedAction(DWORD delayMs, std::function<void()> action)
    : timer(SetTimer(nullptr, 0, delayMs, onTimer)), action(std::move(action)) {
    timers<DelayedAction>()[timer] = this;
}

DelayedAction::~DelayedAction() {
    if (!ran) {
        KillTimer(nullptr, timer);
        timers<DelayedAction>().erase(timer);
    }
}

void CALLBACK DelayedAction::onTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto found = timers<DelayedAction>().find(id);
    if (found == timers<DelayedAction>().end()) { return; }
    DelayedAction* self = found->second;
    timers<DelayedAction>().erase(found);
    self->ran = true;
    // Moved out first: the action may delete this object.
    std::function<void()> action = std::move(self->action);
    action();
}

Watchdog::Watchdog(UINT limitMs) : timer(SetTimer(nullptr, 0, limitMs, onTimer)) {
    timers<Watchdog>()[timer] = this;
}

Watchdog::~Watchdog() {
    KillTimer(nullptr, timer);
    timers<Watchdog>().erase(timer);
}

void CALLBACK Watchdog::onTimer(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = timers<Watchdog>().find(id);
    if (found != timers<Watchdog>().end()) { ++found->second->firings; }
    PostQuitMessage(EXIT_CODE);
}

} // namespace test

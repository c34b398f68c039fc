#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace awt {
class Toolkit;
}

// Drives the windows of the toolkit's thread from a second thread: runs checks on the toolkit's
// thread and sends real keyboard input through the system's input queue. Every wait is bounded;
// a toolkit thread that stops answering ends the test program.
class UiDriver {
public:
    UiDriver(awt::Toolkit* toolkit, DWORD uiThreadId, HANDLE bodyDone);

    // Runs the work on the toolkit's thread and waits for it; its exceptions are rethrown here.
    // Throws std::runtime_error when the program under test has already ended.
    void onUi(const std::function<void()>& work);

    template <class T>
    T get(const std::function<T()>& work) {
        T result{};
        onUi([&] { result = work(); });
        return result;
    }

    bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
    // A key stroke with the given modifiers held; returns once it has been handled.
    void press(WORD virtualKey, bool shift = false, bool control = false);
    // Characters; returns once they have been handled.
    void type(const std::wstring& text);
    // Returns once the toolkit's thread has handled everything queued before the call.
    void settle();

    DWORD uiThread() const { return uiThreadId; }
    HANDLE bodyDone() const { return done; }

private:
    awt::Toolkit* toolkit;
    DWORD uiThreadId;
    HANDLE done;
};

// Runs body on the calling thread, which owns the toolkit (typically a frame's run), and script on
// a driver thread. When the script has ended, every window of the calling thread is closed until
// body returns. Returns body's result.
int runDriven(awt::Toolkit* toolkit, const std::function<int()>& body, const std::function<void(UiDriver&)>& script);

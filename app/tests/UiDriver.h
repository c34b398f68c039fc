#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace awt {
class Toolkit;
}

// Drives the windows of the toolkit's thread from a second thread: runs checks on the toolkit's
// thread, sends real keyboard input and waits for it to be handled. Every wait is bounded; a
// toolkit thread that stops answering ends the test program.
class UiDriver {
public:
    UiDriver(awt::Toolkit* toolkit, DWORD uiThreadId, HANDLE bodyDone);

    // Runs the work on the toolkit's thread and waits for it; exceptions of the work are rethrown
    // here. Throws std::runtime_error when the program under test has already ended.
    void onUi(const std::function<void()>& work);

    template <class T>
    T get(const std::function<T()>& work) {
        T result{};
        onUi([&] { result = work(); });
        return result;
    }

    // Polls the condition on the toolkit's thread until it holds or the time is up.
    bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

    // A key stroke through the system's input queue, with the given modifiers held.
    void press(WORD virtualKey, bool shift = false, bool control = false);
    // Characters through the system's input queue.
    void type(const std::wstring& text);
    // Returns once the toolkit's thread has handled everything queued before the call.
    void settle();

    DWORD uiThread() const { return uiThreadId; }

private:
    awt::Toolkit* toolkit;
    DWORD uiThreadId;
    HANDLE bodyDone;
};

// Runs body on the calling thread, which owns the toolkit (typically a frame's run), and script on
// a driver thread. When the script has ended, every window of the calling thread is closed until
// body returns. Returns body's result.
int runDriven(awt::Toolkit* toolkit, const std::function<int()>& body,
              const std::function<void(UiDriver&)>& script);

#pragma once

#include <cstdint>
#include <exception>
#include <functional>

#include "zeno/Handle.h"
#include "zeno/Thread.h"

namespace zeno {

class Runnable;

// Gives the calling thread a management record for the life of the scope. The destructor runs
// the exit tasks (failures go to the debugger output) and removes the record again.
// A thread that already has a record throws zeno::IllegalThreadStateException "already managed".
class ManagedThreadScope {
public:
    ManagedThreadScope();
    ManagedThreadScope(const ManagedThreadScope&) = delete;
    ManagedThreadScope& operator=(const ManagedThreadScope&) = delete;
    ~ManagedThreadScope();

    Thread& record();
    // Runs the exit tasks now, letting their first failure escape.
    void finish();

private:
    Thread thread;
};

// A thread started with a management record installed; its exit tasks run when its body ends.
// join() waits for the thread and rethrows what escaped from the body or the exit tasks.
class ManagedThread {
public:
    // Starts the thread at once; throws zeno::Exception "::CreateThread() failed".
    explicit ManagedThread(std::function<void()> body);
    // Runs the task (which deletes itself, as the standard tasks do).
    explicit ManagedThread(Runnable* task);
    ManagedThread(const ManagedThread&) = delete;
    ManagedThread& operator=(const ManagedThread&) = delete;
    // Waits for the thread if join() was not called; never throws.
    ~ManagedThread();

    void join();
    std::uint32_t getId() const;

private:
    static DWORD WINAPI threadMain(LPVOID parameter);
    void start();

    std::function<void()> body;
    std::exception_ptr failure;
    Handle handle;
    std::uint32_t id;
    bool joined;
};

} // namespace zeno

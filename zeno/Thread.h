#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zeno {

class Runnable;
class TlsSlot;

// The management record of a thread under the library's management: the tasks to run when the
// thread ends. Install one with zeno::ManagedThread or zeno::ManagedThreadScope.
class Thread {
public:
    Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    // Deletes tasks that were never run.
    ~Thread();

    // The record owns the task from now on. A null task throws zeno::NullPointerException.
    void addExitTask(Runnable* task);
    // Runs and gives up every task, the last added first, also tasks added while running.
    // Every task runs even when one throws; the first exception is rethrown afterwards.
    void runExitTasks();
    std::size_t exitTaskCount() const;
    // Id of the thread that created the record.
    std::uint32_t getId() const;

private:
    std::vector<Runnable*> exitTasks;
    std::uint32_t id;
};

// The calling thread's record; throws zeno::IllegalThreadStateException "unmanaged thread" when
// the thread has none.
Thread& currentThread();

// The process-wide slot that holds each managed thread's record.
TlsSlot& managedThreadSlot();

} // namespace zeno

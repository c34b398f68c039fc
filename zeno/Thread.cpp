#include "zeno/Thread.h"

#include <exception>

#include <windows.h>

#include "zeno/Exception.h"
#include "zeno/Runnable.h"
#include "zeno/TlsSlot.h"

namespace zeno {

Thread::Thread() : id(GetCurrentThreadId()) {}

Thread::~Thread() {
    for (Runnable* task : exitTasks) {
        delete task;
    }
}

void Thread::addExitTask(Runnable* task) {
    checkNotNull(L"task", task);
    exitTasks.push_back(task);
}

void Thread::runExitTasks() {
    std::exception_ptr firstFailure;
    while (!exitTasks.empty()) {
        Runnable* task = exitTasks.back();
        exitTasks.pop_back();
        try {
            task->run();
        } catch (...) {
            if (!firstFailure) {
                firstFailure = std::current_exception();
            }
        }
    }
    if (firstFailure) {
        std::rethrow_exception(firstFailure);
    }
}

std::size_t Thread::exitTaskCount() const {
    return exitTasks.size();
}

std::uint32_t Thread::getId() const {
    return id;
}

TlsSlot& managedThreadSlot() {
    // Built on first use, so static objects of other libraries may reach it during their own
    // construction; the reference below builds it before the entry point in any case.
    static TlsSlot slot;
    return slot;
}

namespace {
[[maybe_unused]] TlsSlot& managedThreadSlotAtStart = managedThreadSlot();
} // namespace

Thread& currentThread() {
    auto* record = static_cast<Thread*>(managedThreadSlot().get());
    if (record == nullptr) {
        throw IllegalThreadStateException(L"unmanaged thread");
    }
    return *record;
}

} // namespace zeno

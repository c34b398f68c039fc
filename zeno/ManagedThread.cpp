#include "zeno/ManagedThread.h"

#include <utility>

#include "zeno/DebugLog.h"
#include "zeno/Exception.h"
#include "zeno/Runnable.h"
#include "zeno/TlsSlot.h"

namespace zeno {

ManagedThreadScope::ManagedThreadScope() {
    TlsSlot& slot = managedThreadSlot();
    if (slot.get() != nullptr) {
        throw IllegalThreadStateException(L"already managed");
    }
    slot.set(&thread);
}

ManagedThreadScope::~ManagedThreadScope() {
    try {
        finish();
    } catch (const Exception& e) {
        debugLog(L"ignored exception thrown by an exit task: " + e.toString());
    } catch (...) {
        debugLog(L"ignored exception thrown by an exit task");
    }
    // The record leaves with the scope; the slot must not point at it any more.
    TlsSetValue(managedThreadSlot().getIndex(), nullptr);
}

Thread& ManagedThreadScope::record() {
    return thread;
}

void ManagedThreadScope::finish() {
    thread.runExitTasks();
}

ManagedThread::ManagedThread(std::function<void()> body)
    : body(std::move(body)), id(0), joined(false) {
    if (!this->body) {
        throw NullPointerException(L"body");
    }
    start();
}

ManagedThread::ManagedThread(Runnable* task) : id(0), joined(false) {
    checkNotNull(L"task", task);
    body = [task] { task->run(); };
    try {
        start();
    } catch (...) {
        // The task was handed over; it never runs, so it goes here.
        delete task;
        throw;
    }
}

void ManagedThread::start() {
    DWORD threadId = 0;
    handle = Handle(CreateThread(nullptr, 0, &ManagedThread::threadMain, this, 0, &threadId));
    if (!handle.isOpen()) {
        throw Exception(L"::CreateThread() failed", GetLastError());
    }
    id = threadId;
}

ManagedThread::~ManagedThread() {
    if (!joined && handle.isOpen()) {
        WaitForSingleObject(handle.get(), INFINITE);
    }
}

DWORD WINAPI ManagedThread::threadMain(LPVOID parameter) {
    auto* self = static_cast<ManagedThread*>(parameter);
    try {
        ManagedThreadScope scope;
        try {
            self->body();
        } catch (...) {
            self->failure = std::current_exception();
        }
        try {
            scope.finish();
        } catch (...) {
            if (!self->failure) {
                self->failure = std::current_exception();
            }
        }
    } catch (...) {
        // The scope itself could not be set up.
        self->failure = std::current_exception();
    }
    return 0;
}

void ManagedThread::join() {
    if (!joined) {
        joined = true;
        if (WaitForSingleObject(handle.get(), INFINITE) == WAIT_FAILED) {
            throw Exception(L"::WaitForSingleObject() failed", GetLastError());
        }
        handle.close();
    }
    if (failure) {
        std::exception_ptr rethrown = failure;
        failure = nullptr;
        std::rethrow_exception(rethrown);
    }
}

std::uint32_t ManagedThread::getId() const {
    return id;
}

} // namespace zeno

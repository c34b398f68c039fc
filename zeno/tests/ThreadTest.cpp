// Thread-local slots, critical sections, the standard tasks and the thread management records.

#include "zeno/CriticalSection.h"
#include "zeno/ManagedThread.h"
#include "zeno/Runnable.h"
#include "zeno/Thread.h"
#include "zeno/TlsSlot.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "zeno/Exception.h"
#include "zeno/tests/DebugOutputCapture.h"

namespace {

// Records where and when it was destroyed.
struct Probe {
    explicit Probe(std::vector<int>* events, int tag) : events(events), tag(tag) {}
    ~Probe() {
        destroyedOn = GetCurrentThreadId();
        events->push_back(tag);
    }
    std::vector<int>* events;
    int tag;
    static DWORD destroyedOn;
};
DWORD Probe::destroyedOn = 0;

struct ThrowingInDestructor {
    ~ThrowingInDestructor() noexcept(false) { throw std::runtime_error("destructor"); }
};

// Counts its own deletion, to see that a task deleted itself.
template <class Task>
struct Counted : Task {
    using Task::Task;
    ~Counted() override { ++deletions; }
    static int deletions;
};
template <class Task>
int Counted<Task>::deletions = 0;

struct Target {
    void call() { ++calls; }
    void fail() { throw zeno::IllegalStateException(L"from a dispatched call"); }
    int calls = 0;
};

// Runs a function on a plain thread that nobody gave a management record.
template <class Function>
void onUnmanagedThread(Function function) {
    std::thread thread(function);
    thread.join();
}

TEST(CurrentThread, UnmanagedThreadsAreRefused) {
    bool threw = false;
    auto check = [&threw] {
        try {
            zeno::currentThread();
        } catch (const zeno::IllegalThreadStateException& e) {
            threw = e.toString() == L"class zeno::IllegalThreadStateException: unmanaged thread";
        }
    };
    check();
    EXPECT_TRUE(threw) << "main thread";
    threw = false;
    onUnmanagedThread(check);
    EXPECT_TRUE(threw) << "plain thread";
}

TEST(ManagedThreadScope, GivesTheThreadARecordForItsLifetime) {
    std::vector<int> events;
    onUnmanagedThread([&events] {
        {
            zeno::ManagedThreadScope scope;
            zeno::Thread& record = zeno::currentThread();
            EXPECT_EQ(&scope.record(), &record);
            EXPECT_EQ(GetCurrentThreadId(), record.getId());
            record.addExitTask(new zeno::Deleter<Probe>(new Probe(&events, 1)));
            EXPECT_THROW(zeno::ManagedThreadScope(), zeno::IllegalThreadStateException);
            EXPECT_TRUE(events.empty());
        }
        EXPECT_EQ(std::vector<int>{1}, events);
        EXPECT_THROW(zeno::currentThread(), zeno::IllegalThreadStateException);
    });
}

TEST(ManagedThread, RunsExitTasksOnItsOwnThreadAfterTheBody) {
    std::vector<int> events;
    Probe::destroyedOn = 0;
    zeno::ManagedThread thread([&events] {
        zeno::currentThread().addExitTask(new zeno::Deleter<Probe>(new Probe(&events, 1)));
        zeno::currentThread().addExitTask(new zeno::Deleter<Probe>(new Probe(&events, 2)));
        events.push_back(0);
    });
    const DWORD threadId = thread.getId();
    thread.join();
    EXPECT_NE(GetCurrentThreadId(), threadId);
    EXPECT_EQ(threadId, Probe::destroyedOn);
    // The body first, then the tasks, the last added first.
    EXPECT_EQ((std::vector<int>{0, 2, 1}), events);
}

TEST(ManagedThread, TakesOverARunnable) {
    Target target;
    Counted<zeno::Dispatcher<Target>>::deletions = 0;
    zeno::ManagedThread thread(new Counted<zeno::Dispatcher<Target>>(&target, &Target::call));
    thread.join();
    EXPECT_EQ(1, target.calls);
    EXPECT_EQ(1, Counted<zeno::Dispatcher<Target>>::deletions);
}

TEST(ManagedThread, JoinRethrowsWhatEscapedAndTheExitTasksStillRun) {
    std::vector<int> events;
    zeno::ManagedThread thread([&events] {
        zeno::currentThread().addExitTask(new zeno::Deleter<Probe>(new Probe(&events, 7)));
        throw zeno::IOException(L"from the body", 5);
    });
    try {
        thread.join();
        FAIL() << "join did not rethrow";
    } catch (const zeno::IOException& e) {
        EXPECT_EQ(L"class zeno::IOException: from the body: 5", e.toString());
    }
    EXPECT_EQ(std::vector<int>{7}, events);
    EXPECT_NO_THROW(thread.join());
}

TEST(ManagedThread, EveryExitTaskRunsWhenOneThrows) {
    std::vector<int> events;
    zeno::ManagedThread thread([&events] {
        zeno::currentThread().addExitTask(new zeno::Deleter<Probe>(new Probe(&events, 1)));
        zeno::currentThread().addExitTask(new zeno::Deleter<ThrowingInDestructor>(new ThrowingInDestructor));
        zeno::currentThread().addExitTask(new zeno::Deleter<Probe>(new Probe(&events, 3)));
    });
    EXPECT_THROW(thread.join(), std::runtime_error);
    EXPECT_EQ((std::vector<int>{3, 1}), events);
}

TEST(ManagedThreadScope, ReportsFailedExitTasksOnTheDebuggerOutput) {
    zeno_test::DebugOutputCapture debugOutput;
    Target target;
    onUnmanagedThread([&target] {
        zeno::ManagedThreadScope scope;
        zeno::currentThread().addExitTask(new zeno::Dispatcher<Target>(&target, &Target::fail));
    });
    EXPECT_TRUE(debugOutput.contains(L"ignored exception thrown by an exit task: "
                                     L"class zeno::IllegalStateException: from a dispatched call\n"))
        << testing::PrintToString(debugOutput.text());
}

TEST(ThreadRecord, DeletesTasksThatNeverRanAndRefusesNull) {
    Counted<zeno::Deleter<int>>::deletions = 0;
    {
        zeno::Thread record;
        record.addExitTask(new Counted<zeno::Deleter<int>>(nullptr));
        EXPECT_EQ(1u, record.exitTaskCount());
        EXPECT_THROW(record.addExitTask(nullptr), zeno::NullPointerException);
        EXPECT_EQ(1u, record.exitTaskCount());
    }
    EXPECT_EQ(1, Counted<zeno::Deleter<int>>::deletions);
}

// Adds another task while the exit tasks run.
struct AddingTask : zeno::Runnable {
    AddingTask(zeno::Thread* record, std::vector<int>* events) : record(record), events(events) {}
    void run() override {
        std::unique_ptr<AddingTask> self(this);
        record->addExitTask(new zeno::Deleter<Probe>(new Probe(events, 9)));
    }
    zeno::Thread* record;
    std::vector<int>* events;
};

TEST(ThreadRecord, RunsTasksAddedWhileRunning) {
    std::vector<int> events;
    zeno::Thread record;
    record.addExitTask(new AddingTask(&record, &events));
    record.runExitTasks();
    EXPECT_EQ(std::vector<int>{9}, events);
    EXPECT_EQ(0u, record.exitTaskCount());
}

TEST(Deleter, WithNullOnlyDeletesItself) {
    Counted<zeno::Deleter<Probe>>::deletions = 0;
    (new Counted<zeno::Deleter<Probe>>(nullptr))->run();
    EXPECT_EQ(1, Counted<zeno::Deleter<Probe>>::deletions);
}

TEST(Deleter, DestroysTheObjectThenItself) {
    std::vector<int> events;
    Counted<zeno::Deleter<Probe>>::deletions = 0;
    (new Counted<zeno::Deleter<Probe>>(new Probe(&events, 4)))->run();
    EXPECT_EQ(std::vector<int>{4}, events);
    EXPECT_EQ(1, Counted<zeno::Deleter<Probe>>::deletions);
}

TEST(Deleter, DeletesItselfAlsoWhenTheDestructionThrows) {
    Counted<zeno::Deleter<ThrowingInDestructor>>::deletions = 0;
    auto* task = new Counted<zeno::Deleter<ThrowingInDestructor>>(new ThrowingInDestructor);
    EXPECT_THROW(task->run(), std::runtime_error);
    EXPECT_EQ(1, Counted<zeno::Deleter<ThrowingInDestructor>>::deletions);
}

TEST(Dispatcher, CallsTheMemberThenDeletesItself) {
    Target target;
    Counted<zeno::Dispatcher<Target>>::deletions = 0;
    (new Counted<zeno::Dispatcher<Target>>(&target, &Target::call))->run();
    EXPECT_EQ(1, target.calls);
    EXPECT_EQ(1, Counted<zeno::Dispatcher<Target>>::deletions);

    auto* failing = new Counted<zeno::Dispatcher<Target>>(&target, &Target::fail);
    EXPECT_THROW(failing->run(), zeno::IllegalStateException);
    EXPECT_EQ(2, Counted<zeno::Dispatcher<Target>>::deletions);
}

TEST(Dispatcher, RefusesNullObjectOrMember) {
    Target target;
    EXPECT_THROW(zeno::Dispatcher<Target>(nullptr, &Target::call), zeno::NullPointerException);
    EXPECT_THROW(zeno::Dispatcher<Target>(&target, nullptr), zeno::NullPointerException);
}

TEST(TlsSlot, EachThreadSeesItsOwnValue) {
    zeno::TlsSlot slot;
    zeno::TlsSlot other;
    EXPECT_NE(slot.getIndex(), other.getIndex());
    EXPECT_NE(static_cast<std::uint32_t>(TLS_OUT_OF_INDEXES), slot.getIndex());
    int mine = 0;
    int theirs = 0;
    EXPECT_EQ(nullptr, slot.get());
    slot.set(&mine);
    void* seenThere = &mine;
    void* keptThere = nullptr;
    onUnmanagedThread([&] {
        seenThere = slot.get();
        slot.set(&theirs);
        keptThere = slot.get();
    });
    EXPECT_EQ(nullptr, seenThere);
    EXPECT_EQ(&theirs, keptThere);
    EXPECT_EQ(&mine, slot.get());
    EXPECT_EQ(nullptr, other.get());
    slot.set(nullptr);
}

TEST(CriticalSection, IsRecursiveForItsOwnerAndExcludesOthers) {
    zeno::CriticalSection section;
    section.lock();
    section.lock(); // the owner does not block itself
    std::atomic<bool> entered{false};
    std::thread other([&] {
        std::lock_guard<zeno::CriticalSection> guard(section);
        entered = true;
    });
    Sleep(100);
    EXPECT_FALSE(entered);
    section.unlock();
    Sleep(100);
    EXPECT_FALSE(entered) << "one unlock of two released the section";
    section.unlock();
    other.join();
    EXPECT_TRUE(entered);
}

} // namespace

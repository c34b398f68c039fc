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
#include "zeno/tests/Thrown.h"

namespace {

// Appends its tag to the list when destroyed, and remembers on which thread.
struct Probe {
    Probe(std::vector<int>* events, int tag) : events(events), tag(tag) {}
    ~Probe() {
        destroyedOn = GetCurrentThreadId();
        events->push_back(tag);
    }
    std::vector<int>* events;
    int tag;
    static DWORD destroyedOn;
};
DWORD Probe::destroyedOn = 0;

zeno::Runnable* probeDeleter(std::vector<int>* events, int tag) {
    return new zeno::Deleter<Probe>(new Probe(events, tag));
}

struct ThrowingInDestructor {
    ~ThrowingInDestructor() noexcept(false) { throw std::runtime_error("destructor"); }
};

// Counts its own deletion, to see that a task went.
int taskDeletions = 0;
template <class Task>
struct Counted : Task {
    using Task::Task;
    ~Counted() override { ++taskDeletions; }
};

struct Target {
    void call() { ++calls; }
    void fail() { throw zeno::IllegalStateException(L"from a dispatched call"); }
    int calls = 0;
};

TEST(CurrentThread, UnmanagedThreadsAreRefused) {
    const auto lookUp = [] { return zeno_test::thrownText([] { zeno::currentThread(); }); };
    std::wstring onPlainThread;
    std::thread([&] { onPlainThread = lookUp(); }).join();
    EXPECT_EQ(L"class zeno::IllegalThreadStateException: unmanaged thread", lookUp());
    EXPECT_EQ(lookUp(), onPlainThread);
}

TEST(ManagedThreadScope, GivesTheThreadARecordForItsLifetimeAndReportsFailedExitTasks) {
    zeno_test::DebugOutputCapture debugOutput;
    ASSERT_TRUE(debugOutput.isInstalled());
    std::vector<int> events;
    Target target;
    std::thread([&] {
        {
            zeno::ManagedThreadScope scope;
            zeno::Thread& record = zeno::currentThread();
            EXPECT_EQ(&scope.record(), &record);
            EXPECT_EQ(GetCurrentThreadId(), record.getId());
            record.addExitTask(probeDeleter(&events, 1));
            record.addExitTask(new zeno::Dispatcher<Target>(&target, &Target::fail));
            EXPECT_EQ(L"class zeno::IllegalThreadStateException: already managed",
                      zeno_test::thrownText([] { zeno::ManagedThreadScope again; }));
            EXPECT_TRUE(events.empty());
        }
        EXPECT_EQ(std::vector<int>{1}, events);
        EXPECT_THROW(zeno::currentThread(), zeno::IllegalThreadStateException);
    }).join();
    EXPECT_EQ(std::vector<std::wstring>{L"ignored exception thrown by an exit task: "
                                        L"class zeno::IllegalStateException: from a dispatched call\n"},
              debugOutput.outputs());
}

TEST(ManagedThread, RunsTheBodyThenTheExitTasksOnItsOwnThread) {
    std::vector<int> events;
    Probe::destroyedOn = 0;
    zeno::ManagedThread thread([&events] {
        zeno::currentThread().addExitTask(probeDeleter(&events, 1));
        zeno::currentThread().addExitTask(probeDeleter(&events, 2));
        events.push_back(0);
    });
    const DWORD threadId = thread.getId();
    thread.join();
    EXPECT_NE(GetCurrentThreadId(), threadId);
    EXPECT_EQ(threadId, Probe::destroyedOn);
    // The last added first.
    EXPECT_EQ((std::vector<int>{0, 2, 1}), events);

    Target target;
    zeno::ManagedThread taking(new zeno::Dispatcher<Target>(&target, &Target::call));
    taking.join();
    EXPECT_EQ(1, target.calls);
}

TEST(ManagedThread, JoinRethrowsTheFirstFailureAfterEveryExitTaskRan) {
    std::vector<int> events;
    Target target;
    zeno::ManagedThread thread([&] {
        zeno::currentThread().addExitTask(probeDeleter(&events, 7));
        zeno::currentThread().addExitTask(new zeno::Dispatcher<Target>(&target, &Target::fail));
        throw zeno::IOException(L"from the body", 5);
    });
    EXPECT_EQ(L"class zeno::IOException: from the body: 5", zeno_test::thrownText([&] { thread.join(); }));
    EXPECT_EQ(std::vector<int>{7}, events);
    EXPECT_NO_THROW(thread.join());
}

// Adds another exit task while the exit tasks run.
struct Adder {
    void add() { record->addExitTask(probeDeleter(events, 9)); }
    zeno::Thread* record;
    std::vector<int>* events;
};

TEST(ThreadRecord, RunsTasksAddedWhileRunningAndDeletesTasksThatNeverRan) {
    std::vector<int> events;
    zeno::Thread record;
    Adder adder{&record, &events};
    record.addExitTask(new zeno::Dispatcher<Adder>(&adder, &Adder::add));
    record.runExitTasks();
    EXPECT_EQ(std::vector<int>{9}, events);
    EXPECT_EQ(0u, record.exitTaskCount());

    taskDeletions = 0;
    {
        zeno::Thread unrun;
        unrun.addExitTask(new Counted<zeno::Deleter<int>>(nullptr));
        EXPECT_THROW(unrun.addExitTask(nullptr), zeno::NullPointerException);
        EXPECT_EQ(1u, unrun.exitTaskCount());
    }
    EXPECT_EQ(1, taskDeletions);
}

TEST(StandardTasks, DoTheirWorkThenDeleteThemselvesAlsoWhenItThrows) {
    std::vector<int> events;
    Target target;
    taskDeletions = 0;
    (new Counted<zeno::Deleter<Probe>>(nullptr))->run();
    (new Counted<zeno::Deleter<Probe>>(new Probe(&events, 4)))->run();
    (new Counted<zeno::Dispatcher<Target>>(&target, &Target::call))->run();
    EXPECT_EQ(std::vector<int>{4}, events);
    EXPECT_EQ(1, target.calls);
    EXPECT_EQ(3, taskDeletions);

    EXPECT_THROW((new Counted<zeno::Deleter<ThrowingInDestructor>>(new ThrowingInDestructor))->run(),
                 std::runtime_error);
    EXPECT_THROW((new Counted<zeno::Dispatcher<Target>>(&target, &Target::fail))->run(),
                 zeno::IllegalStateException);
    EXPECT_EQ(5, taskDeletions);

    EXPECT_THROW(zeno::Dispatcher<Target>(nullptr, &Target::call), zeno::NullPointerException);
    EXPECT_THROW(zeno::Dispatcher<Target>(&target, nullptr), zeno::NullPointerException);
}

TEST(TlsSlot, EachThreadSeesItsOwnValue) {
    zeno::TlsSlot slot;
    zeno::TlsSlot other;
    EXPECT_NE(slot.getIndex(), other.getIndex());
    int mine = 0;
    int theirs = 0;
    EXPECT_EQ(nullptr, slot.get());
    slot.set(&mine);
    void* seenThere = &mine;
    void* keptThere = nullptr;
    std::thread([&] {
        seenThere = slot.get();
        slot.set(&theirs);
        keptThere = slot.get();
    }).join();
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

// Thread-local slots, critical sections, the standard tasks and the thread management records.

#include "zeno/CriticalSection.h"
#include "zeno/ManagedThread.h"
#include "zeno/Runnable.h"
#include "zeno/Thread.h"
#include "zeno/TlsSlot.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "zeno/Exception.h"
#include "zeno/tests/DebugOutputCapture.h"
#include "zeno/tests/Thrown.h"

namespace {

// A task that runs the function, then deletes itself as the standard tasks do.
struct Step : zeno::Runnable {
    explicit Step(std::function<void()> function) : function(std::move(function)) {}
    void run() override {
        std::unique_ptr<Step> self(this);
        function();
    }
    std::function<void()> function;
};

struct Probe {
    ~Probe() { events->push_back(tag); }
    std::vector<int>* events;
    int tag;
};

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
            record.addExitTask(new Step([&events] { events.push_back(1); }));
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
    DWORD tasksRanOn = 0;
    zeno::ManagedThread thread([&] {
        zeno::currentThread().addExitTask(new Step([&] {
            events.push_back(1);
            tasksRanOn = GetCurrentThreadId();
        }));
        events.push_back(0);
    });
    thread.join();
    EXPECT_NE(GetCurrentThreadId(), thread.getId());
    EXPECT_EQ(thread.getId(), tasksRanOn);
    EXPECT_EQ((std::vector<int>{0, 1}), events);
    zeno::ManagedThread taking(new Step([&events] { events.push_back(2); }));
    taking.join();
    EXPECT_EQ((std::vector<int>{0, 1, 2}), events);
}

TEST(ManagedThread, JoinRethrowsTheFirstFailureAfterEveryExitTaskRan) {
    std::vector<int> events;
    zeno::ManagedThread thread([&events] {
        zeno::currentThread().addExitTask(new Step([&events] { events.push_back(7); }));
        zeno::currentThread().addExitTask(new Step([] { throw std::runtime_error("from an exit task"); }));
        throw zeno::IOException(L"from the body", 5);
    });
    EXPECT_EQ(L"class zeno::IOException: from the body: 5", zeno_test::thrownText([&] { thread.join(); }));
    EXPECT_EQ(std::vector<int>{7}, events);
    EXPECT_NO_THROW(thread.join());
}

TEST(ThreadRecord, RunsLastAddedFirstAlsoTasksAddedWhileRunningAndDeletesTasksThatNeverRan) {
    std::vector<int> events;
    zeno::Thread record;
    record.addExitTask(new Step([&] { events.push_back(1); }));
    record.addExitTask(new Step([&] { record.addExitTask(new Step([&] { events.push_back(3); })); }));
    record.addExitTask(new Step([&] { events.push_back(2); }));
    record.runExitTasks();
    EXPECT_EQ((std::vector<int>{2, 3, 1}), events);
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
    (new Counted<zeno::Deleter<Probe>>(new Probe{&events, 4}))->run();
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
    int mine = 0;
    int theirs = 0;
    EXPECT_EQ(nullptr, slot.get());
    slot.set(&mine);
    std::vector<void*> seenThere;
    std::thread([&] {
        seenThere.push_back(slot.get());
        slot.set(&theirs);
        seenThere.push_back(slot.get());
    }).join();
    EXPECT_EQ((std::vector<void*>{nullptr, &theirs}), seenThere);
    EXPECT_EQ(&mine, slot.get());
    EXPECT_EQ(nullptr, zeno::TlsSlot().get());
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

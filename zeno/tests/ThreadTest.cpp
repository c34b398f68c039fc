// Critical sections, the standard tasks and the thread management records.

#include "zeno/CriticalSection.h"
#include "zeno/ManagedThread.h"
#include "zeno/Runnable.h"

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
    void run() override { std::unique_ptr<Step>(this)->function(); }
    std::function<void()> function;
};

int deletions = 0;
// Counts its own deletion, to see that a task or an object went.
template <class Base>
struct Counted : Base {
    using Base::Base;
    ~Counted() { ++deletions; }
};

struct Target {
    void call() { ++calls; }
    void fail() { throw zeno::IllegalStateException(L"from a dispatched call"); }
    int calls = 0;
};

struct ThrowingInDestructor {
    ~ThrowingInDestructor() noexcept(false) { throw std::runtime_error("destructor"); }
};

TEST(StandardTasks, DoTheirWorkThenDeleteThemselvesAlsoWhenItThrows) {
    Target target;
    deletions = 0;
    (new Counted<zeno::Deleter<Target>>(nullptr))->run();
    (new zeno::Deleter<Counted<Target>>(new Counted<Target>))->run();
    (new Counted<zeno::Dispatcher<Target>>(&target, &Target::call))->run();
    EXPECT_EQ(1, target.calls);
    EXPECT_EQ(3, deletions);
    EXPECT_THROW((new Counted<zeno::Deleter<ThrowingInDestructor>>(new ThrowingInDestructor))->run(),
                 std::runtime_error);
    EXPECT_THROW((new Counted<zeno::Dispatcher<Target>>(&target, &Target::fail))->run(), zeno::IllegalStateException);
    EXPECT_EQ(5, deletions);
    EXPECT_THROW(zeno::Dispatcher<Target>(nullptr, &Target::call), zeno::NullPointerException);
    EXPECT_THROW(zeno::Dispatcher<Target>(&target, nullptr), zeno::NullPointerException);
    {
        zeno::Thread record; // deletes the tasks that never ran
        record.addExitTask(new Counted<zeno::Deleter<int>>(nullptr));
        EXPECT_THROW(record.addExitTask(nullptr), zeno::NullPointerException);
    }
    EXPECT_EQ(6, deletions);
}

// The record lives in a thread-local slot: each thread sees its own. A scope's exit tasks run when
// it ends, and their failures go to the debugger output.
TEST(ManagedThreadScope, ManagesOnlyItsThreadOnceAndRunsTheExitTasksWhenItEnds) {
    zeno_test::DebugOutputCapture debugOutput;
    const auto lookUp = [] { return zeno_test::outcome([] { zeno::currentThread(); }); };
    std::wstring onAnotherThread;
    std::vector<int> events;
    std::thread([&] {
        {
            zeno::ManagedThreadScope scope;
            EXPECT_EQ(&scope.record(), &zeno::currentThread());
            scope.record().addExitTask(new Step([&events] { events.push_back(1); }));
            scope.record().addExitTask(new Step([] { throw zeno::IllegalStateException(L"from an exit task"); }));
            EXPECT_EQ(L"class zeno::IllegalThreadStateException: already managed",
                      zeno_test::outcome([] { zeno::ManagedThreadScope again; }));
            std::thread([&] { onAnotherThread = lookUp(); }).join();
            EXPECT_TRUE(events.empty());
        }
        EXPECT_EQ(std::vector<int>{1}, events);
        EXPECT_EQ(L"class zeno::IllegalThreadStateException: unmanaged thread", lookUp());
    }).join();
    EXPECT_EQ(L"class zeno::IllegalThreadStateException: unmanaged thread", onAnotherThread);
    EXPECT_EQ(std::vector<std::wstring>{L"ignored exception thrown by an exit task: "
                                        L"class zeno::IllegalStateException: from an exit task\n"},
              debugOutput.outputs());
}

TEST(ManagedThread, RunsTheBodyThenEveryExitTaskLastAddedFirstOnItsOwnThreadAndJoinRethrowsTheFirstFailure) {
    std::vector<int> events;
    DWORD tasksRanOn = 0;
    zeno::ManagedThread thread([&] {
        zeno::Thread& record = zeno::currentThread();
        record.addExitTask(new Step([&] { events.push_back(4); tasksRanOn = GetCurrentThreadId(); }));
        record.addExitTask(new Step([] { throw std::runtime_error("from an exit task"); }));
        // A task added while the tasks run is the next to run.
        record.addExitTask(new Step([&] { record.addExitTask(new Step([&] { events.push_back(3); })); }));
        record.addExitTask(new Step([&] { events.push_back(2); }));
        events.push_back(1);
        throw zeno::IOException(L"from the body", 5);
    });
    EXPECT_EQ(L"class zeno::IOException: from the body: 5", zeno_test::outcome([&] { thread.join(); }));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), events);
    EXPECT_TRUE(tasksRanOn == thread.getId() && tasksRanOn != GetCurrentThreadId());
    EXPECT_NO_THROW(thread.join());
    zeno::ManagedThread(new Step([&events] { events.push_back(5); })).join();
    EXPECT_EQ(5, events.back());
}

TEST(CriticalSection, IsRecursiveForItsOwnerAndExcludesOthers) {
    zeno::CriticalSection section;
    section.lock();
    section.lock(); // the owner does not block itself
    section.unlock();
    const HANDLE entered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> trying{false};
    std::thread other([&] {
        trying = true;
        std::lock_guard<zeno::CriticalSection> guard(section);
        SetEvent(entered);
    });
    // The other thread is at its lock before the check, however slow the machine.
    while (!trying) {
        Sleep(1);
    }
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(entered, 100)) << "one unlock of two released the section";
    section.unlock();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(entered, 10000));
    other.join();
    CloseHandle(entered);
}

} // namespace

#include <atomic>
#include <memory>
#include <thread>

#include "zeno/ManagedThread.h"
#include "zeno/Strings.h"
#include "zeno/Thread.h"

#include "awt/AWTException.h"
#include "awt/MessagePreprocessor.h"
#include "awt/WaitHandler.h"

#include "TestSupport.h"

using namespace test;

namespace {

// Counts the WM_NULL thread messages waiting for this thread and removes them.
int takeWakeUps() {
    int count = 0;
    MSG message;
    while (PeekMessageW(&message, reinterpret_cast<HWND>(-1), WM_NULL, WM_NULL, PM_REMOVE)) {
        ++count;
    }
    return count;
}

class RecordingPreprocessor : public awt::MessagePreprocessor {
public:
    explicit RecordingPreprocessor(std::vector<std::wstring>* journal, std::wstring name)
        : journal(journal), name(std::move(name)) {}
    void preprocess(MSG* message, bool* handled) override {
        if (message->message != WM_APP) {
            return;
        }
        journal->push_back(name);
        if (action) {
            action();
        }
        *handled = handles;
    }

    std::vector<std::wstring>* journal;
    std::wstring name;
    bool handles = false;
    std::function<void()> action;
};

int apcCalls = 0;

void CALLBACK quitFromApc(ULONG_PTR code) {
    PostQuitMessage(static_cast<int>(code));
}

void CALLBACK countApc(ULONG_PTR) {
    ++apcCalls;
}

} // namespace

TEST(ToolkitInstance, StartupThreadKeepsTheToolkitOfInitialize) {
    awt::Toolkit* first = awt::Toolkit::getInstance();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, awt::Toolkit::getInstance());
    EXPECT_EQ(first, awt::Toolkit::findInstance());
    EXPECT_EQ(GetCurrentThreadId(), first->getThreadId());
    EXPECT_EQ(GetModuleHandleW(nullptr), awt::Toolkit::getInstanceHandle());
}

TEST(ToolkitInstance, UnmanagedThreadIsRefused) {
    std::wstring message;
    std::uint32_t code = 0;
    bool secondCallGaveToolkit = false;
    std::thread worker([&] {
        try {
            awt::Toolkit::getInstance();
        } catch (const awt::AWTException& failure) {
            message = failure.getMessage();
            code = failure.getErrorCode();
        }
        // The toolkit made by the refused call stays with the thread.
        awt::Toolkit* kept = awt::Toolkit::findInstance();
        secondCallGaveToolkit = kept != nullptr && awt::Toolkit::getInstance() == kept &&
                                kept->getThreadId() == GetCurrentThreadId();
    });
    worker.join();
    EXPECT_EQ(L"using awt without zeno management", message);
    EXPECT_EQ(NO_CODE, code);
    EXPECT_TRUE(secondCallGaveToolkit);
}

TEST(ToolkitInstance, ManagedThreadGetsOneToolkitDeletedAtItsEnd) {
    awt::Toolkit* first = nullptr;
    awt::Toolkit* second = nullptr;
    std::size_t exitTasks = 0;
    awt::Toolkit* leftInSlot = reinterpret_cast<awt::Toolkit*>(1);
    {
        zeno::ManagedThread worker([&] {
            first = awt::Toolkit::getInstance();
            second = awt::Toolkit::getInstance();
            exitTasks = zeno::currentThread().exitTaskCount();
        });
        worker.join();
    }
    {
        // A managed scope on a fresh thread: the exit task deletes the toolkit and empties the slot.
        std::thread worker([&] {
            zeno::ManagedThreadScope scope;
            awt::Toolkit::getInstance();
            scope.finish();
            leftInSlot = awt::Toolkit::findInstance();
        });
        worker.join();
    }
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, second);
    EXPECT_EQ(1u, exitTasks);
    EXPECT_EQ(nullptr, leftInSlot);
}

TEST(ToolkitLoop, InvokeLaterFromAnotherThreadWakesTheLoop) {
    Watchdog watchdog;
    awt::Toolkit* tk = toolkit();
    std::atomic<DWORD> ranOn{0};
    std::thread worker([&] {
        Sleep(100);
        tk->invokeLater(task([&] {
            ranOn = GetCurrentThreadId();
            tk->quit(42);
        }));
    });
    int result = tk->run();
    worker.join();
    EXPECT_EQ(42, result);
    EXPECT_EQ(GetCurrentThreadId(), ranOn.load());
}

TEST(ToolkitLoop, InvokeLaterPostsOneWakeUpPerQueuedRunnable) {
    awt::Toolkit* tk = toolkit();
    takeWakeUps();
    int runs = 0;
    zeno::Runnable* once = task([&] { ++runs; });
    std::thread worker([&] {
        tk->invokeLater(once);
        tk->invokeLater(once);
    });
    worker.join();
    EXPECT_EQ(1u, tk->getRunnableCount());
    EXPECT_EQ(1, takeWakeUps());

    // From the toolkit's own thread nothing is posted; the runnable runs at the next pass.
    zeno::Runnable* local = task([&] { ++runs; });
    tk->invokeLater(local);
    EXPECT_EQ(0, takeWakeUps());
    EXPECT_EQ(2u, tk->getRunnableCount());
    tk->processPending(false);
    EXPECT_EQ(2, runs);
    EXPECT_EQ(0u, tk->getRunnableCount());
}

TEST(ToolkitLoop, RunnablesYieldToWaitingMessages) {
    awt::Toolkit* tk = toolkit();
    pumpMessages();
    int runs = 0;
    tk->invokeLater(task([&] { ++runs; }));
    PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
    tk->processPending(false);
    EXPECT_EQ(0, runs);
    pumpMessages();
    tk->processPending(false);
    EXPECT_EQ(1, runs);
}

TEST(ToolkitLoop, RunnablesQueuedAtQuitAllRunBeforeRunReturns) {
    Watchdog watchdog;
    awt::Toolkit* tk = toolkit();
    std::vector<int> order;
    tk->invokeLater(task([&] {
        order.push_back(1);
        tk->quit(7);
        // Queued while the loop ends, with messages waiting: still run before run returns.
        tk->invokeLater(task([&] {
            order.push_back(2);
            PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
            tk->invokeLater(task([&] { order.push_back(3); }));
        }));
    }));
    int result = tk->run();
    EXPECT_EQ(7, result);
    EXPECT_EQ((std::vector<int>{1, 2, 3}), order);
    EXPECT_EQ(0u, tk->getRunnableCount());
    pumpMessages();
}

TEST(ToolkitLoop, NestedLoopEndsAloneAndDrainsItsRunnables) {
    Watchdog watchdog;
    awt::Toolkit* tk = toolkit();
    std::vector<std::wstring> journal;
    tk->invokeLater(task([&] {
        tk->invokeLater(task([&] {
            journal.push_back(L"inner running");
            tk->endModal(nullptr);
            tk->invokeLater(task([&] { journal.push_back(L"drained by inner"); }));
        }));
        int inner = tk->runModal(nullptr);
        journal.push_back(L"inner ended " + zeno::toString(inner));
        tk->quit(9);
    }));
    int outer = tk->run();
    EXPECT_EQ(9, outer);
    EXPECT_EQ((std::vector<std::wstring>{L"inner running", L"drained by inner", L"inner ended 0"}),
              journal);
}

TEST(ToolkitLoop, ExceptionFromRunnableLeavesTheLoop) {
    Watchdog watchdog;
    awt::Toolkit* tk = toolkit();
    tk->invokeLater(task([] { throw zeno::IllegalStateException(L"from a runnable"); }));
    EXPECT_FAILURE(tk->run(), zeno::IllegalStateException, L"from a runnable", NO_CODE);
}

TEST(ToolkitLoop, AsynchronousProcedureCallsRunInTheAlertableWait) {
    Watchdog watchdog;
    awt::Toolkit* tk = toolkit();
    HANDLE self = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    std::thread worker([&] {
        Sleep(100);
        QueueUserAPC(quitFromApc, self, 31);
    });
    int result = tk->run();
    worker.join();
    EXPECT_EQ(31, result);

    // processPending(true) lets queued calls run too.
    apcCalls = 0;
    QueueUserAPC(countApc, self, 0);
    tk->processPending(true);
    EXPECT_EQ(1, apcCalls);
    CloseHandle(self);
}

TEST(ToolkitLoop, SignalledWaitHandleReachesItsHandler) {
    Watchdog watchdog;
    awt::Toolkit* tk = toolkit();
    struct Handler : awt::WaitHandler {
        void handleWait(awt::WaitEvent* event) override {
            seen = event->handle;
            abandoned = event->abandoned;
            ResetEvent(event->handle);
            PostQuitMessage(5);
        }
        HANDLE seen = nullptr;
        bool abandoned = true;
    } handler;
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    tk->addWaitHandle(event, &handler);
    std::thread worker([&] {
        Sleep(50);
        SetEvent(event);
    });
    int result = tk->run();
    worker.join();
    tk->removeWaitHandle(event);
    CloseHandle(event);
    EXPECT_EQ(5, result);
    EXPECT_EQ(event, handler.seen);
    EXPECT_FALSE(handler.abandoned);
}

TEST(ToolkitLoop, FailedWaitLeavesTheLoop) {
    Watchdog watchdog;
    awt::Toolkit* tk = toolkit();
    struct Handler : awt::WaitHandler {
        void handleWait(awt::WaitEvent*) override {}
    } handler;
    // A value that is no handle makes the wait itself fail.
    HANDLE bogus = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x7FF0));
    HANDLE handles[] = {bogus};
    SetLastError(0);
    DWORD direct = MsgWaitForMultipleObjectsEx(1, handles, 0, 0xFF, MWMO_INPUTAVAILABLE);
    DWORD expected = GetLastError();
    ASSERT_EQ(WAIT_FAILED, direct);
    tk->addWaitHandle(bogus, &handler);
    EXPECT_FAILURE(tk->run(), awt::AWTException, L"::MsgWaitForMultipleObjectsEx() failed",
                   expected);
    tk->removeWaitHandle(bogus);
}

TEST(ToolkitPreprocessors, ChainRunsInInsertionOrderUntilHandled) {
    Watchdog watchdog;
    awt::Toolkit* tk = toolkit();
    std::vector<std::wstring> journal;
    RecordingPreprocessor first(&journal, L"first");
    RecordingPreprocessor second(&journal, L"second");
    RecordingPreprocessor third(&journal, L"third");
    second.handles = true;
    tk->addMessagePreprocessor(&first);
    tk->addMessagePreprocessor(&second);
    tk->addMessagePreprocessor(&first);
    tk->addMessagePreprocessor(&third);
    EXPECT_EQ(3u, tk->getMessagePreprocessors().size());

    TestFrame frame;
    frame.createPeer();
    PostMessageW(frame.getHWND(), WM_APP, 0, 0);
    tk->invokeLater(task([&] { tk->quit(0); }));
    PostThreadMessageW(GetCurrentThreadId(), WM_APP + 1, 0, 0);
    tk->run();

    tk->removeMessagePreprocessor(&first);
    tk->removeMessagePreprocessor(&second);
    tk->removeMessagePreprocessor(&third);
    tk->removeMessagePreprocessor(&third);
    EXPECT_TRUE(tk->getMessagePreprocessors().empty());
    EXPECT_EQ((std::vector<std::wstring>{L"first", L"second"}), journal);
}

TEST(ToolkitPreprocessors, ChangingTheChainWhileHandlingIsRefused) {
    Watchdog watchdog;
    awt::Toolkit* tk = toolkit();
    std::vector<std::wstring> journal;
    RecordingPreprocessor changer(&journal, L"changer");
    RecordingPreprocessor other(&journal, L"other");

    changer.action = [&] { tk->addMessagePreprocessor(&other); };
    tk->addMessagePreprocessor(&changer);
    PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
    EXPECT_FAILURE(tk->run(), awt::AWTException,
                   L"the MessagePreprocessor can't add/remove message preprocessors", NO_CODE);

    changer.action = [&] { tk->removeMessagePreprocessor(&other); };
    PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
    EXPECT_FAILURE(tk->run(), awt::AWTException,
                   L"the MessagePreprocessor can't add/remove message preprocessors", NO_CODE);

    // A preprocessor that also handled the message may change the chain.
    changer.action = [&] { tk->addMessagePreprocessor(&other); };
    changer.handles = true;
    PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
    tk->invokeLater(task([&] { tk->quit(3); }));
    EXPECT_EQ(3, tk->run());
    tk->removeMessagePreprocessor(&changer);
    tk->removeMessagePreprocessor(&other);
}

TEST(ToolkitQueues, ValidateThenRepaintWithoutDuplicates) {
    awt::Toolkit* tk = toolkit();
    std::vector<std::wstring> journal;
    TestControl a;
    TestControl b;
    tk->scheduleRepaint(&a);
    tk->scheduleValidate(&b);
    tk->scheduleValidate(&a);
    tk->scheduleValidate(&b);
    tk->scheduleRepaint(&a);
    EXPECT_EQ((std::deque<awt::Component*>{&b, &a}), tk->getInvalidQueue());
    EXPECT_EQ((std::deque<awt::Component*>{&a}), tk->getRepaintQueue());
    tk->processPending(false);
    EXPECT_EQ(1, a.validations);
    EXPECT_EQ(1, b.validations);
    EXPECT_EQ(1, a.updates);
    EXPECT_EQ(0, b.updates);
    EXPECT_TRUE(tk->getInvalidQueue().empty());
    EXPECT_TRUE(tk->getRepaintQueue().empty());
}

TEST(ToolkitQueues, DeletedComponentLeavesTheQueues) {
    awt::Toolkit* tk = toolkit();
    auto* doomed = new TestControl();
    TestControl kept;
    tk->scheduleValidate(doomed);
    tk->scheduleRepaint(doomed);
    tk->scheduleValidate(&kept);
    delete doomed;
    EXPECT_EQ((std::deque<awt::Component*>{&kept}), tk->getInvalidQueue());
    EXPECT_TRUE(tk->getRepaintQueue().empty());
    tk->processPending(false);
    EXPECT_EQ(1, kept.validations);
}

TEST(ToolkitResources, LoadStringGrowsItsBufferAndMarksMissingStrings) {
    EXPECT_EQ(L"short text", awt::Toolkit::loadString(1));
    std::wstring long300 = awt::Toolkit::loadString(2);
    ASSERT_EQ(300u, long300.size());
    EXPECT_EQ(L'a', long300[0]);
    EXPECT_EQ(L'n', long300[299]);
    std::wstring exact255 = awt::Toolkit::loadString(3);
    ASSERT_EQ(255u, exact255.size());
    EXPECT_EQ(L'U', exact255[254]);
    EXPECT_EQ(L"\u65e5\u672c\u8a9e\u306e\u30c6\u30ad\u30b9\u30c8", awt::Toolkit::loadString(4));
    std::wstring long1000 = awt::Toolkit::loadString(5);
    ASSERT_EQ(1000u, long1000.size());
    EXPECT_EQ(L'9', long1000[999]);
    std::wstring missing = awt::Toolkit::loadString(999);
    EXPECT_EQ(zeno::nilString, missing);
    EXPECT_EQ(1u, missing.size());
}

TEST(ToolkitResources, LoadIconAtTheRequestedSize) {
    for (int size : {16, 32}) {
        HICON icon = awt::Toolkit::loadIcon(101, size, size);
        ASSERT_NE(nullptr, icon);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
        EXPECT_EQ(size, bitmap.bmWidth);
        EXPECT_EQ(size, bitmap.bmHeight);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    SetLastError(0);
    HANDLE direct = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(555), IMAGE_ICON, 16, 16,
                               0x80);
    DWORD expected = GetLastError();
    EXPECT_EQ(nullptr, direct);
    EXPECT_FAILURE(awt::Toolkit::loadIcon(555, 16, 16), awt::AWTException, L"::LoadImage() failed",
                   expected);
}

TEST(ToolkitResources, WindowClassIsRegisteredOnceUnderTheApplicationName) {
    ATOM atom = awt::Toolkit::getWindowClass();
    ASSERT_NE(0, atom);
    EXPECT_EQ(atom, awt::Toolkit::getWindowClass());
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"AwtCoreTests", &info));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), info.hbrBackground);
    EXPECT_EQ(0u, info.style);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), info.hCursor);
    EXPECT_EQ(nullptr, info.hIcon);

    // Windows of the class are subclassed: their procedure is the toolkit's.
    TestFrame frame;
    frame.createPeer();
    wchar_t name[64];
    GetClassNameW(frame.getHWND(), name, 64);
    EXPECT_EQ(std::wstring(L"AwtCoreTests"), name);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(awt::WindowProcedure::staticWindowProc),
              GetWindowLongPtrW(frame.getHWND(), GWLP_WNDPROC));
}

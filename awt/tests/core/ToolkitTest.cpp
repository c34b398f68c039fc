#include <atomic>
#include <thread>

#include "zeno/ManagedThread.h"
#include "zeno/Strings.h"
#include "zeno/Thread.h"

#include "awt/AWTException.h"
#include "awt/MessagePreprocessor.h"
#include "awt/WaitHandler.h"

#include "awt/tests/support/TestSupport.h"

using namespace test;

namespace {

using Journal = std::vector<std::wstring>;

// Counts the WM_NULL thread messages waiting for this thread and removes them.
int takeWakeUps() {
    int count = 0;
    MSG message;
    while (PeekMessageW(&message, reinterpret_cast<HWND>(-1), WM_NULL, WM_NULL, PM_REMOVE)) {
        ++count;
    }
    return count;
}

// Notes WM_APP messages under its name, runs its action, and handles them if told to.
struct NamedPreprocessor : awt::MessagePreprocessor {
    NamedPreprocessor(Journal* journal, std::wstring name) : journal(journal), name(std::move(name)) {}
    void preprocess(MSG* message, bool* handled) override {
        if (message->message == WM_APP) {
            journal->push_back(name);
            if (action) {
                action();
            }
            *handled = handles;
        }
    }
    Journal* journal;
    std::wstring name;
    bool handles = false;
    std::function<void()> action;
};

int apcCalls = 0;

void CALLBACK countApc(ULONG_PTR quitCode) {
    ++apcCalls;
    if (quitCode != 0) {
        PostQuitMessage(static_cast<int>(quitCode));
    }
}

void postApp() {
    PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
}

} // namespace

TEST(Toolkit, OnePerThreadAndUnmanagedThreadsAreRefused) {
    awt::Toolkit* first = awt::Toolkit::getInstance();
    EXPECT_EQ(first, awt::Toolkit::findInstance());
    EXPECT_EQ(GetCurrentThreadId(), first->getThreadId());
    EXPECT_EQ(GetModuleHandleW(nullptr), awt::Toolkit::getInstanceHandle());

    awt::Toolkit* kept = nullptr;
    std::thread([&] {
        EXPECT_FAILURE(awt::Toolkit::getInstance(), awt::AWTException, L"using awt without zeno management", NO_CODE);
        // The toolkit made by the refused call stays with the thread.
        kept = awt::Toolkit::findInstance();
        EXPECT_EQ(kept, awt::Toolkit::getInstance());
    }).join();
    EXPECT_NE(nullptr, kept);

    awt::Toolkit* managed[2] = {};
    std::size_t exitTasks = 0;
    awt::Toolkit* leftInSlot = first;
    zeno::ManagedThread([&] {
        managed[0] = awt::Toolkit::getInstance();
        managed[1] = awt::Toolkit::getInstance();
        exitTasks = zeno::currentThread().exitTaskCount();
    }).join();
    std::thread([&] {
        zeno::ManagedThreadScope scope;
        awt::Toolkit::getInstance();
        scope.finish();
        leftInSlot = awt::Toolkit::findInstance();
    }).join();
    EXPECT_EQ(managed[0], managed[1]);
    EXPECT_EQ(1u, exitTasks);
    EXPECT_EQ(nullptr, leftInSlot);
}

TEST(Toolkit, RunnablesWakeTheLoopYieldToMessagesAndAllRunBeforeRunReturns) {
    awt::Toolkit* tk = toolkit();
    std::atomic<DWORD> ranOn{0};
    std::thread worker([&] {
        Sleep(50);
        tk->invokeLater(task([&] {
            ranOn = GetCurrentThreadId();
            tk->quit(42);
        }));
    });
    EXPECT_EQ(42, tk->run());
    worker.join();
    EXPECT_EQ(GetCurrentThreadId(), ranOn.load());

    // One wake-up per queued runnable from another thread, none from the toolkit's own.
    takeWakeUps();
    int runs = 0;
    zeno::Runnable* once = task([&] { ++runs; });
    std::thread([&] {
        tk->invokeLater(once);
        tk->invokeLater(once);
    }).join();
    EXPECT_EQ(1, takeWakeUps());
    tk->invokeLater(task([&] { ++runs; }));
    EXPECT_EQ(0, takeWakeUps());
    EXPECT_EQ(2u, tk->getRunnableCount());
    postApp();
    tk->processPending(false);
    EXPECT_EQ(0, runs);
    pumpMessages();
    tk->processPending(false);
    EXPECT_EQ(2, runs);

    // Queued while the loop ends, with messages waiting: still run before run returns.
    std::vector<int> order;
    tk->invokeLater(task([&] {
        order.push_back(1);
        tk->quit(7);
        tk->invokeLater(task([&] {
            order.push_back(2);
            postApp();
            tk->invokeLater(task([&] { order.push_back(3); }));
        }));
    }));
    EXPECT_EQ(7, tk->run());
    EXPECT_EQ((std::vector<int>{1, 2, 3}), order);
    pumpMessages();
}

TEST(Toolkit, NestedLoopsExceptionsProcedureCallsAndWaits) {
    awt::Toolkit* tk = toolkit();
    Journal journal;
    tk->invokeLater(task([&] {
        tk->invokeLater(task([&] {
            tk->endModal(nullptr);
            tk->invokeLater(task([&] { journal.push_back(L"drained by inner"); }));
        }));
        journal.push_back(L"inner ended " + zeno::toString(tk->runModal(nullptr)));
        tk->quit(9);
    }));
    EXPECT_EQ(9, tk->run());
    EXPECT_EQ((Journal{L"drained by inner", L"inner ended 0"}), journal);

    tk->invokeLater(task([] { throw zeno::IllegalStateException(L"from a runnable"); }));
    EXPECT_FAILURE(tk->run(), zeno::IllegalStateException, L"from a runnable", NO_CODE);

    // Procedure calls run in the loop's alertable wait, and in processPending(true).
    HANDLE self = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    std::thread([&] { QueueUserAPC(countApc, self, 31); }).join();
    EXPECT_EQ(31, tk->run());
    QueueUserAPC(countApc, self, 0);
    tk->processPending(true);
    EXPECT_EQ(2, apcCalls);
    CloseHandle(self);

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
    HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    tk->addWaitHandle(event, &handler);
    EXPECT_EQ(5, tk->run());
    tk->removeWaitHandle(event);
    CloseHandle(event);
    EXPECT_EQ(event, handler.seen);
    EXPECT_FALSE(handler.abandoned);

    // A value that is no handle makes the wait itself fail.
    HANDLE bogus = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x7FF0));
    SetLastError(0);
    ASSERT_EQ(WAIT_FAILED, MsgWaitForMultipleObjectsEx(1, &bogus, 0, 0xFF, MWMO_INPUTAVAILABLE));
    const DWORD expected = GetLastError();
    tk->addWaitHandle(bogus, &handler);
    EXPECT_FAILURE(tk->run(), awt::AWTException, L"::MsgWaitForMultipleObjectsEx() failed", expected);
    tk->removeWaitHandle(bogus);
}

TEST(Toolkit, PreprocessorsRunInOrderUntilHandledAndMayNotChangeTheChain) {
    awt::Toolkit* tk = toolkit();
    Journal journal;
    NamedPreprocessor first(&journal, L"first");
    NamedPreprocessor second(&journal, L"second");
    NamedPreprocessor third(&journal, L"third");
    second.handles = true;
    for (NamedPreprocessor* each : {&first, &second, &first, &third}) {
        tk->addMessagePreprocessor(each);
    }
    EXPECT_EQ(3u, tk->getMessagePreprocessors().size());
    TestFrame frame;
    frame.createPeer();
    PostMessageW(frame.getHWND(), WM_APP, 0, 0);
    tk->invokeLater(task([&] { tk->quit(0); }));
    tk->run();
    for (NamedPreprocessor* each : {&first, &second, &third, &third}) {
        tk->removeMessagePreprocessor(each);
    }
    EXPECT_TRUE(tk->getMessagePreprocessors().empty());
    EXPECT_EQ((Journal{L"first", L"second"}), journal);

    first.action = [&] { tk->addMessagePreprocessor(&second); };
    tk->addMessagePreprocessor(&first);
    postApp();
    EXPECT_FAILURE(tk->run(), awt::AWTException, L"the MessagePreprocessor can't add/remove message preprocessors",
                   NO_CODE);
    first.action = [&] { tk->removeMessagePreprocessor(&second); };
    postApp();
    EXPECT_FAILURE(tk->run(), awt::AWTException, L"the MessagePreprocessor can't add/remove message preprocessors",
                   NO_CODE);
    // One that handled the message may.
    first.handles = true;
    postApp();
    tk->invokeLater(task([&] { tk->quit(3); }));
    EXPECT_EQ(3, tk->run());
    tk->removeMessagePreprocessor(&first);
}

TEST(Toolkit, ValidationBeforeRepaintOnceEachAndDeletedComponentsLeaveTheQueues) {
    awt::Toolkit* tk = toolkit();
    TestControl a;
    TestControl b;
    auto* doomed = new TestControl();
    tk->scheduleRepaint(&a);
    tk->scheduleValidate(&b);
    tk->scheduleValidate(doomed);
    tk->scheduleRepaint(doomed);
    tk->scheduleValidate(&a);
    tk->scheduleValidate(&b);
    tk->scheduleRepaint(&a);
    delete doomed;
    EXPECT_EQ((std::deque<awt::Component*>{&b, &a}), tk->getInvalidQueue());
    EXPECT_EQ((std::deque<awt::Component*>{&a}), tk->getRepaintQueue());
    tk->processPending(false);
    EXPECT_EQ((std::vector<int>{1, 1, 1, 0}), (std::vector<int>{a.validations, b.validations, a.updates, b.updates}));
    EXPECT_TRUE(tk->getInvalidQueue().empty() && tk->getRepaintQueue().empty());
}

TEST(Toolkit, ResourcesStringsOfAnyLengthIconsAndTheWindowClass) {
    struct Row {
        UINT id;
        std::size_t length;
        wchar_t last;
    };
    for (const Row& row : {Row{2, 300, L'n'}, Row{3, 255, L'U'}, Row{5, 1000, L'9'}}) {
        const std::wstring text = awt::Toolkit::loadString(row.id);
        EXPECT_EQ(row.length, text.size()) << row.id;
        EXPECT_EQ(row.last, text.back()) << row.id;
    }
    EXPECT_EQ(L"short text", awt::Toolkit::loadString(1));
    EXPECT_EQ(L"\u65e5\u672c\u8a9e\u306e\u30c6\u30ad\u30b9\u30c8", awt::Toolkit::loadString(4));
    EXPECT_EQ(zeno::nilString, awt::Toolkit::loadString(999));

    for (int size : {16, 32}) {
        HICON icon = awt::Toolkit::loadIcon(101, size, size);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
        EXPECT_EQ(size, bitmap.bmWidth);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    SetLastError(0);
    EXPECT_EQ(nullptr, LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(555), IMAGE_ICON, 16, 16, 0x80));
    EXPECT_FAILURE(awt::Toolkit::loadIcon(555, 16, 16), awt::AWTException, L"::LoadImage() failed", GetLastError());

    ATOM atom = awt::Toolkit::getWindowClass();
    EXPECT_EQ(atom, awt::Toolkit::getWindowClass());
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"AwtCoreTests", &info));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), info.hbrBackground);
    EXPECT_EQ(0u, info.style);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), info.hCursor);
    // Windows of the class are subclassed: their procedure is the toolkit's.
    TestFrame frame;
    frame.createPeer();
    EXPECT_EQ(L"AwtCoreTests", className(frame.getHWND()));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(awt::WindowProcedure::staticWindowProc),
              GetWindowLongPtrW(frame.getHWND(), GWLP_WNDPROC));
}

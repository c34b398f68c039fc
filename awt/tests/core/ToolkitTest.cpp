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
    for (MSG message; PeekMessageW(&message, reinterpret_cast<HWND>(-1), WM_NULL, WM_NULL, PM_REMOVE); ++count) {}
    return count;
}

// Hands WM_APP messages to its function, which says whether it handled them.
struct AppPreprocessor : awt::MessagePreprocessor {
    explicit AppPreprocessor(std::function<bool()> onApp) : onApp(std::move(onApp)) {}
    void preprocess(MSG* message, bool* handled) override { *handled = message->message == WM_APP && onApp(); }
    std::function<bool()> onApp;
};

int apcCalls = 0;

void CALLBACK countApc(ULONG_PTR quitCode) {
    ++apcCalls;
    if (quitCode != 0) { PostQuitMessage(static_cast<int>(quitCode)); }
}

} // namespace

TEST(Toolkit, OnePerThreadUnmanagedThreadsRefusedAndResources) {
    EXPECT_EQ(awt::Toolkit::getInstance(), awt::Toolkit::findInstance());
    EXPECT_EQ(GetCurrentThreadId(), awt::Toolkit::getInstance()->getThreadId());
    std::thread([&] {
        EXPECT_FAILURE(awt::Toolkit::getInstance(), awt::AWTException, L"using awt without zeno management", NO_CODE);
        // The toolkit made by the refused call stays with the thread.
        EXPECT_NE(nullptr, awt::Toolkit::findInstance());
        EXPECT_EQ(awt::Toolkit::findInstance(), awt::Toolkit::getInstance());
    }).join();
    // A managed thread gets one toolkit, deleted by its exit task.
    std::thread([&] {
        zeno::ManagedThreadScope scope;
        EXPECT_EQ(awt::Toolkit::getInstance(), awt::Toolkit::getInstance());
        EXPECT_EQ(1u, zeno::currentThread().exitTaskCount());
        scope.finish();
        EXPECT_EQ(nullptr, awt::Toolkit::findInstance());
    }).join();

    // Strings of any length, icons and the window class, from the program's resources.
    struct Row { UINT id; std::size_t length; wchar_t last; };
    for (const Row& row : {Row{2, 300, L'n'}, Row{3, 255, L'U'}, Row{5, 1000, L'9'}}) {
        const std::wstring text = awt::Toolkit::loadString(row.id);
        EXPECT_EQ(std::make_pair(row.length, row.last), std::make_pair(text.size(), text.back())) << row.id;
    }
    EXPECT_EQ(L"short text", awt::Toolkit::loadString(1));
    EXPECT_EQ(zeno::nilString, awt::Toolkit::loadString(999));
    EXPECT_EQ(L"\u65e5\u672c\u8a9e\u306e\u30c6\u30ad\u30b9\u30c8", awt::Toolkit::loadString(4));

    DestroyIcon(awt::Toolkit::loadIcon(101, 16, 16));
    EXPECT_EQ(nullptr, LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(555), IMAGE_ICON, 16, 16, 0x80));
    EXPECT_FAILURE(awt::Toolkit::loadIcon(555, 16, 16), awt::AWTException, L"::LoadImage() failed", GetLastError());

    // The class is registered once, under the application name.
    awt::Toolkit::getWindowClass();
    WNDCLASSW info{};
    ASSERT_TRUE(GetClassInfoW(GetModuleHandleW(nullptr), L"AwtCoreTests", &info));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), info.hbrBackground);
    EXPECT_EQ(0u, info.style);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), info.hCursor);
}

TEST(Toolkit, RunnablesExceptionsProcedureCallsAndWaitsInTheLoop) {
    // One wake-up per queued runnable from another thread, none from the toolkit's own.
    awt::Toolkit* tk = toolkit();
    takeWakeUps();
    int runs = 0;
    zeno::Runnable* once = task([&] { ++runs; });
    std::thread([&] { tk->invokeLater(once); tk->invokeLater(once); }).join();
    EXPECT_EQ(1, takeWakeUps());
    tk->invokeLater(task([&] { ++runs; }));
    EXPECT_EQ(0, takeWakeUps());
    EXPECT_EQ(2u, tk->getRunnableCount());
    PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
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
            PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
            tk->invokeLater(task([&] { order.push_back(3); }));
        }));
    }));
    EXPECT_EQ(7, tk->run());
    EXPECT_EQ((std::vector<int>{1, 2, 3}), order);
    pumpMessages();

    // An exception of a runnable ends the loop.
    tk->invokeLater(task([] { throw zeno::IllegalStateException(L"from a runnable"); }));
    EXPECT_FAILURE(tk->run(), zeno::IllegalStateException, L"from a runnable", NO_CODE);

    // Procedure calls run in the loop's alertable wait, and in processPending(true).
    HANDLE self = OpenThread(THREAD_SET_CONTEXT, FALSE, GetCurrentThreadId());
    apcCalls = 0;
    std::thread([&] { QueueUserAPC(countApc, self, 31); }).join();
    EXPECT_EQ(31, tk->run());
    QueueUserAPC(countApc, self, 0);
    tk->processPending(true);
    EXPECT_EQ(2, apcCalls);
    CloseHandle(self);

    struct Handler : awt::WaitHandler {
        void handleWait(awt::WaitEvent* event) override { seen = *event; ResetEvent(event->handle); PostQuitMessage(5); }
        awt::WaitEvent seen{nullptr, true};
    } handler;
    HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    tk->addWaitHandle(event, &handler);
    EXPECT_EQ(5, tk->run());
    tk->removeWaitHandle(event);
    CloseHandle(event);
    EXPECT_EQ(event, handler.seen.handle);
    EXPECT_FALSE(handler.seen.abandoned);

    // A value that is no handle makes the wait itself fail.
    HANDLE bogus = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x7FF0));
    tk->addWaitHandle(bogus, &handler);
    EXPECT_FAILURE(tk->run(), awt::AWTException, L"::MsgWaitForMultipleObjectsEx() failed", ERROR_INVALID_HANDLE);
    tk->removeWaitHandle(bogus);
}

TEST(Toolkit, PreprocessorsRunInOrderUntilHandledAndOnlyAHandlingOneMayChangeTheChain) {
    Journal journal;
    AppPreprocessor first([&] { journal.push_back(L"first"); return false; });
    AppPreprocessor second([&] { journal.push_back(L"second"); return true; });
    AppPreprocessor third([&] { journal.push_back(L"third"); return false; });
    for (AppPreprocessor* each : {&first, &second, &first, &third}) { toolkit()->addMessagePreprocessor(each); }
    EXPECT_EQ(3u, toolkit()->getMessagePreprocessors().size());
    // Window messages go through the chain too.
    TestFrame frame;
    frame.createPeer();
    PostMessageW(frame.getHWND(), WM_APP, 0, 0);
    toolkit()->invokeLater(task([&] { toolkit()->quit(0); }));
    toolkit()->run();
    EXPECT_EQ((Journal{L"first", L"second"}), journal);
    for (AppPreprocessor* each : {&first, &second, &third, &third}) { toolkit()->removeMessagePreprocessor(each); }
    EXPECT_TRUE(toolkit()->getMessagePreprocessors().empty());

    // It adds second, removes it, adds it again; only the last time does it handle the message.
    toolkit()->addMessagePreprocessor(&first);
    for (bool handles : {false, false, true}) {
        first.onApp = [&, handles] {
            const bool adds = toolkit()->getMessagePreprocessors().size() == 1;
            adds ? toolkit()->addMessagePreprocessor(&second) : toolkit()->removeMessagePreprocessor(&second);
            return handles;
        };
        PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
        if (handles) {
            // Retrieved after the WM_APP; the chain is emptied below even if run throws.
            PostQuitMessage(3);
            EXPECT_NO_THROW(EXPECT_EQ(3, toolkit()->run()));
        } else {
            EXPECT_FAILURE(toolkit()->run(), awt::AWTException,
                           L"the MessagePreprocessor can't add/remove message preprocessors", NO_CODE);
        }
    }
    toolkit()->removeMessagePreprocessor(&first);
    toolkit()->removeMessagePreprocessor(&second);
    pumpMessages();
}

TEST(Toolkit, ValidationBeforeRepaintOnceEachAndDeletedComponentsLeaveTheQueues) {
    TestControl a, b;
    auto* doomed = new TestControl();
    toolkit()->scheduleRepaint(&a);
    for (TestControl* each : {&b, doomed, &a, &b}) { toolkit()->scheduleValidate(each); }
    toolkit()->scheduleRepaint(doomed);
    toolkit()->scheduleRepaint(&a);
    delete doomed;
    EXPECT_EQ((std::deque<awt::Component*>{&b, &a}), toolkit()->getInvalidQueue());
    EXPECT_EQ((std::deque<awt::Component*>{&a}), toolkit()->getRepaintQueue());
    toolkit()->processPending(false);
    EXPECT_EQ((std::vector<int>{1, 1, 1, 0}), (std::vector<int>{a.validations, b.validations, a.updates, b.updates}));
    EXPECT_TRUE(toolkit()->getInvalidQueue().empty() && toolkit()->getRepaintQueue().empty());
}

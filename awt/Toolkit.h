#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include <windows.h>

#include "zeno/CriticalSection.h"

namespace zeno {
class Runnable;
}

namespace awt {

class Component;
class MessagePreprocessor;
class WaitHandler;
class Window;

// The run time of the toolkit: one per thread that uses components. Owns the thread's message
// loop, the preprocessor chain and the deferred work (components to validate, components to
// repaint, runnables handed over by any thread).
class Toolkit {
public:
    // Stores the module handle and the application name (kept alive by the caller; it names the
    // window class) and gives the calling thread its toolkit. The show command is ignored.
    static void initialize(HINSTANCE module, int showCommand, const wchar_t* applicationName);
    // The calling thread's toolkit, created on first use. A thread that is neither the start-up
    // thread nor managed by zeno gets AWTException "using awt without zeno management".
    static Toolkit* getInstance();
    // The calling thread's toolkit if it has one; never creates one.
    static Toolkit* findInstance();
    static HINSTANCE getInstanceHandle();
    // The atom of the class of all top-level windows, registered on first call.
    static ATOM getWindowClass();
    // The string resource, or zeno::nilString when there is none.
    static std::wstring loadString(UINT id);
    // The icon resource at the given size; the caller owns (DestroyIcon) the icon.
    static HICON loadIcon(UINT id, int width, int height);

    Toolkit(const Toolkit&) = delete;
    Toolkit& operator=(const Toolkit&) = delete;
    // Throws AWTException "::CloseHandle(awt::Toolkit::thread) failed" (unless unwinding).
    ~Toolkit() noexcept(false);

    // The message loop; returns the wParam of the quit message that ended it. Runnables still
    // queued at that point run before it returns.
    int run();
    // A nested run(); the window is not used.
    int runModal(Window* window);
    // Ends the innermost loop with 0; the window is not used.
    void endModal(Window* window);
    // Ends the innermost loop with the code.
    void quit(int exitCode);

    // Queues a task (which deletes itself when run) for this toolkit's thread. May be called from
    // any thread; a task already queued is not queued again.
    void invokeLater(zeno::Runnable* runnable);
    // Runs the deferred work now: validations, then repaints, then runnables until a message waits.
    void processPending(bool sleepFirst);
    // The validate part of processPending alone: lays out every container waiting for it.
    void validatePending();
    // validatePending for the root and its descendants only, in queue order (those queued
    // meanwhile too); the other components stay queued for the loop.
    void validateTree(Component* root);
    void scheduleValidate(Component* component);
    void scheduleRepaint(Component* component);
    // Takes a component that is going away out of the validate and repaint queues.
    void cancelScheduled(Component* component);
    // Takes a component that has just been laid out out of the validate queue only.
    void cancelValidate(Component* component);

    void addMessagePreprocessor(MessagePreprocessor* preprocessor);
    void removeMessagePreprocessor(MessagePreprocessor* preprocessor);

    // Kernel objects the loop waits on besides messages; the handler is not owned.
    void addWaitHandle(HANDLE handle, WaitHandler* handler);
    void removeWaitHandle(HANDLE handle);

    std::uint32_t getThreadId() const;
    const std::deque<Component*>& getInvalidQueue() const;
    const std::deque<Component*>& getRepaintQueue() const;
    std::size_t getRunnableCount();
    const std::vector<MessagePreprocessor*>& getMessagePreprocessors() const;

private:
    Toolkit();

    void preprocess(MSG* message, bool* handled);
    void runRunnables(bool drain);

    std::uint32_t threadId;
    HANDLE threadHandle;
    zeno::CriticalSection lock;
    std::vector<HANDLE> waitHandles;
    std::vector<WaitHandler*> waitHandlers;
    std::vector<MessagePreprocessor*> preprocessors;
    std::deque<Component*> invalidQueue;
    std::deque<Component*> repaintQueue;
    std::deque<zeno::Runnable*> runnableQueue;
};

} // namespace awt

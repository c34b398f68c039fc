#include "awt/Toolkit.h"

#include <algorithm>
#include <exception>
#include <mutex>

#include "zeno/Exception.h"
#include "zeno/Runnable.h"
#include "zeno/Strings.h"
#include "zeno/Thread.h"
#include "zeno/TlsSlot.h"
#include "zeno/VirtualBuffer.h"

#include "awt/AWTException.h"
#include "awt/Component.h"
#include "awt/Container.h"
#include "awt/MessagePreprocessor.h"
#include "awt/WaitHandler.h"

namespace awt {

namespace {

// Process-wide state. The slot and the lock are made before the entry point runs.
zeno::TlsSlot toolkitSlot;
zeno::CriticalSection globalLock;
HINSTANCE moduleHandle = nullptr;
const wchar_t* applicationName = L"";
ATOM windowClassAtom = 0;

constexpr DWORD ALL_INPUT = 0xFF;
constexpr std::size_t STRING_RESERVE = 0x100000;
constexpr std::size_t STRING_START = 256;
constexpr UINT LR_VGACOLOR_FLAG = 0x80;

template <class T>
bool contains(const T& list, typename T::value_type value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

template <class T>
void eraseValue(T& list, typename T::value_type value) {
    auto found = std::find(list.begin(), list.end(), value);
    if (found != list.end()) {
        list.erase(found);
    }
}

} // namespace

void Toolkit::initialize(HINSTANCE module, int, const wchar_t* name) {
    moduleHandle = module;
    applicationName = name != nullptr ? name : L"";
    // The start-up thread's toolkit lives until the process ends.
    toolkitSlot.set(new Toolkit());
}

Toolkit* Toolkit::getInstance() {
    std::lock_guard<zeno::CriticalSection> guard(globalLock);
    Toolkit* existing = static_cast<Toolkit*>(toolkitSlot.get());
    if (existing != nullptr) {
        return existing;
    }
    Toolkit* created = new Toolkit();
    toolkitSlot.set(created);
    try {
        zeno::currentThread().addExitTask(new zeno::Deleter<Toolkit>(created));
    } catch (const zeno::IllegalThreadStateException&) {
        throw AWTException(L"using awt without zeno management", zeno::Exception::NO_ERROR_CODE);
    }
    return created;
}

Toolkit* Toolkit::findInstance() {
    return static_cast<Toolkit*>(toolkitSlot.get());
}

HINSTANCE Toolkit::getInstanceHandle() {
    return moduleHandle;
}

ATOM Toolkit::getWindowClass() {
    std::lock_guard<zeno::CriticalSection> guard(globalLock);
    if (windowClassAtom == 0) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(WNDCLASSEXW);
        windowClass.style = 0;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = moduleHandle;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = applicationName;
        ATOM atom = RegisterClassExW(&windowClass);
        if (atom == 0) {
            throwLastError(L"::RegisterClassEx(" + std::wstring(applicationName) + L") failed");
        }
        windowClassAtom = atom;
    }
    return windowClassAtom;
}

std::wstring Toolkit::loadString(UINT id) {
    zeno::VirtualBuffer buffer(STRING_RESERVE);
    for (std::size_t capacity = STRING_START; capacity <= STRING_RESERVE; capacity *= 2) {
        buffer.commit(capacity);
        int length = LoadStringW(moduleHandle, id, buffer.data(), static_cast<int>(capacity));
        if (length <= 0) {
            buffer.release();
            return zeno::nilString;
        }
        if (static_cast<std::size_t>(length) < capacity - 1) {
            std::wstring text(buffer.data(), static_cast<std::size_t>(length));
            buffer.release();
            return text;
        }
    }
    throw zeno::Exception(L"Can't Happen", zeno::Exception::NO_ERROR_CODE);
}

HICON Toolkit::loadIcon(UINT id, int width, int height) {
    HANDLE icon = LoadImageW(moduleHandle, MAKEINTRESOURCEW(id), IMAGE_ICON, width, height,
                             LR_VGACOLOR_FLAG);
    if (icon == nullptr) {
        throwLastError(L"::LoadImage() failed");
    }
    return static_cast<HICON>(icon);
}

Toolkit::Toolkit()
    : threadId(GetCurrentThreadId()), threadHandle(OpenThread(THREAD_ALL_ACCESS, FALSE, threadId)) {
    if (threadHandle == nullptr) {
        throwLastError(L"::OpenThread(awt::Toolkit::thread) failed");
    }
}

Toolkit::~Toolkit() noexcept(false) {
    // A thread whose toolkit is deleted (its exit task) must not find the dead object later.
    if (GetCurrentThreadId() == threadId && toolkitSlot.get() == this) {
        toolkitSlot.set(nullptr);
    }
    if (!CloseHandle(threadHandle) && std::uncaught_exceptions() == 0) {
        throwLastError(L"::CloseHandle(awt::Toolkit::thread) failed");
    }
}

int Toolkit::run() {
    MSG message{};
    for (;;) {
        processPending(false);
        DWORD count = static_cast<DWORD>(waitHandles.size());
        DWORD result = MsgWaitForMultipleObjectsEx(count, count > 0 ? waitHandles.data() : nullptr,
                                                   INFINITE, ALL_INPUT,
                                                   MWMO_ALERTABLE | MWMO_INPUTAVAILABLE);
        if (result == WAIT_OBJECT_0 + count) {
            if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                continue;
            }
            if (message.message == WM_QUIT) {
                break;
            }
            bool handled = false;
            preprocess(&message, &handled);
            if (!handled) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        } else if (result < WAIT_OBJECT_0 + count) {
            std::size_t index = result - WAIT_OBJECT_0;
            WaitEvent event;
            event.handle = waitHandles[index];
            event.abandoned = false;
            waitHandlers[index]->handleWait(&event);
        } else if (result == WAIT_IO_COMPLETION) {
            continue;
        } else if (result == WAIT_FAILED) {
            throwLastError(L"::MsgWaitForMultipleObjectsEx() failed");
        }
    }
    runRunnables(true);
    return static_cast<int>(message.wParam);
}

int Toolkit::runModal(Window*) {
    return run();
}

void Toolkit::endModal(Window*) {
    PostQuitMessage(0);
}

void Toolkit::quit(int exitCode) {
    PostQuitMessage(exitCode);
}

void Toolkit::invokeLater(zeno::Runnable* runnable) {
    zeno::checkNotNull(L"runnable", runnable);
    bool appended = false;
    {
        std::lock_guard<zeno::CriticalSection> guard(lock);
        if (!contains(runnableQueue, runnable)) {
            runnableQueue.push_back(runnable);
            appended = true;
        }
    }
    if (appended && GetCurrentThreadId() != threadId) {
        PostThreadMessageW(threadId, WM_NULL, 0, 0);
    }
}

void Toolkit::processPending(bool sleepFirst) {
    if (sleepFirst) {
        SleepEx(0, TRUE);
    }
    validatePending();
    while (invalidQueue.empty() && !repaintQueue.empty()) {
        Component* component = repaintQueue.front();
        repaintQueue.pop_front();
        component->update();
    }
    runRunnables(false);
}

void Toolkit::validatePending() {
    while (!invalidQueue.empty()) {
        Component* component = invalidQueue.front();
        invalidQueue.pop_front();
        component->validate();
    }
}

void Toolkit::validateTree(Component* root) {
    const auto inTree = [root](const Component* component) {
        while (component != nullptr && component != root) {
            component = component->getParent();
        }
        return component != nullptr;
    };
    for (;;) {
        const auto next = std::find_if(invalidQueue.begin(), invalidQueue.end(), inTree);
        if (next == invalidQueue.end()) {
            return;
        }
        Component* component = *next;
        invalidQueue.erase(next);
        component->validate();
    }
}

void Toolkit::runRunnables(bool drain) {
    for (;;) {
        MSG waiting;
        if (!drain && PeekMessageW(&waiting, nullptr, 0, 0, PM_NOREMOVE)) {
            return;
        }
        zeno::Runnable* runnable = nullptr;
        {
            std::lock_guard<zeno::CriticalSection> guard(lock);
            if (runnableQueue.empty()) {
                return;
            }
            runnable = runnableQueue.front();
            runnableQueue.pop_front();
        }
        runnable->run();
    }
}

void Toolkit::scheduleValidate(Component* component) {
    if (!contains(invalidQueue, component)) {
        invalidQueue.push_back(component);
    }
}

void Toolkit::scheduleRepaint(Component* component) {
    if (!contains(repaintQueue, component)) {
        repaintQueue.push_back(component);
    }
}

void Toolkit::cancelScheduled(Component* component) {
    eraseValue(invalidQueue, component);
    eraseValue(repaintQueue, component);
}

void Toolkit::cancelValidate(Component* component) {
    eraseValue(invalidQueue, component);
}

void Toolkit::addMessagePreprocessor(MessagePreprocessor* preprocessor) {
    zeno::checkNotNull(L"preprocessor", preprocessor);
    if (!contains(preprocessors, preprocessor)) {
        preprocessors.push_back(preprocessor);
    }
}

void Toolkit::removeMessagePreprocessor(MessagePreprocessor* preprocessor) {
    eraseValue(preprocessors, preprocessor);
}

void Toolkit::preprocess(MSG* message, bool* handled) {
    const std::size_t length = preprocessors.size();
    for (std::size_t i = 0; i < preprocessors.size(); ++i) {
        preprocessors[i]->preprocess(message, handled);
        if (*handled) {
            return;
        }
        if (preprocessors.size() != length) {
            throw AWTException(L"the MessagePreprocessor can't add/remove message preprocessors",
                               zeno::Exception::NO_ERROR_CODE);
        }
    }
}

void Toolkit::addWaitHandle(HANDLE handle, WaitHandler* handler) {
    zeno::checkNotNull(L"handle", handle);
    zeno::checkNotNull(L"handler", handler);
    if (contains(waitHandles, handle)) {
        throw zeno::IllegalArgumentException(L"handle already waited on");
    }
    if (waitHandles.size() + 1 >= MAXIMUM_WAIT_OBJECTS) {
        throw zeno::IllegalStateException(L"too many wait handles");
    }
    waitHandles.push_back(handle);
    waitHandlers.push_back(handler);
}

void Toolkit::removeWaitHandle(HANDLE handle) {
    auto found = std::find(waitHandles.begin(), waitHandles.end(), handle);
    if (found != waitHandles.end()) {
        waitHandlers.erase(waitHandlers.begin() + (found - waitHandles.begin()));
        waitHandles.erase(found);
    }
}

std::uint32_t Toolkit::getThreadId() const {
    return threadId;
}

const std::deque<Component*>& Toolkit::getInvalidQueue() const {
    return invalidQueue;
}

const std::deque<Component*>& Toolkit::getRepaintQueue() const {
    return repaintQueue;
}

std::size_t Toolkit::getRunnableCount() {
    std::lock_guard<zeno::CriticalSection> guard(lock);
    return runnableQueue.size();
}

const std::vector<MessagePreprocessor*>& Toolkit::getMessagePreprocessors() const {
    return preprocessors;
}

} // namespace awt

#include "UiDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <exception>
#include <stdexcept>
#include <vector>

#include "awt/Toolkit.h"
#include "zeno/Runnable.h"

namespace {

const DWORD UI_CALL_TIMEOUT_MS = 20000;
const DWORD CLOSE_TIMEOUT_MS = 30000;

[[noreturn]] void giveUp(const char* why) {
    std::fprintf(stderr, "app_tests: %s; stopping the test program\n", why);
    std::fflush(stderr);
    ExitProcess(3);
}

// What a driver and its call on the toolkit's thread share. A call that the driver stopped waiting
// for (the program under test ended first) is abandoned: if a later loop runs it, it does nothing.
struct CallState {
    std::function<void()> work;
    std::exception_ptr error;
    std::atomic<bool> abandoned{false};
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~CallState() { CloseHandle(done); }
};

// One call of a driver's work on the toolkit's thread; it deletes itself as the toolkit expects
// of every runnable.
class UiCall : public zeno::Runnable {
public:
    explicit UiCall(std::shared_ptr<CallState> state) : state(std::move(state)) {}

    void run() override {
        std::unique_ptr<UiCall> self(this);
        if (state->abandoned) {
            return;
        }
        try {
            state->work();
        } catch (...) {
            state->error = std::current_exception();
        }
        SetEvent(state->done);
    }

private:
    std::shared_ptr<CallState> state;
};

struct DriverThread {
    UiDriver* driver;
    const std::function<void(UiDriver&)>* script;
};

DWORD WINAPI driverMain(void* parameter) {
    auto* thread = static_cast<DriverThread*>(parameter);
    try {
        (*thread->script)(*thread->driver);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "driver stopped: " << e.what();
    } catch (...) {
        ADD_FAILURE() << "driver stopped by an unknown exception";
    }
    return 0;
}

BOOL CALLBACK closeWindow(HWND window, LPARAM) {
    if (IsWindowVisible(window)) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

struct Closer {
    HANDLE driverHandle;
    HANDLE bodyDone;
    DWORD uiThreadId;
};

DWORD WINAPI closerMain(void* parameter) {
    auto* closer = static_cast<Closer*>(parameter);
    HANDLE handles[2] = {closer->driverHandle, closer->bodyDone};
    WaitForMultipleObjects(2, handles, FALSE, INFINITE);
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(closer->bodyDone, 100) != WAIT_OBJECT_0) {
        EnumThreadWindows(closer->uiThreadId, closeWindow, 0);
        if (GetTickCount() - start > CLOSE_TIMEOUT_MS) {
            giveUp("the program under test did not end after its windows were closed");
        }
    }
    return 0;
}

void addKey(std::vector<INPUT>& inputs, WORD virtualKey, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
}

}  // namespace

UiDriver::UiDriver(awt::Toolkit* toolkit, DWORD uiThreadId, HANDLE bodyDone)
    : toolkit(toolkit), uiThreadId(uiThreadId), bodyDone(bodyDone) {}

void UiDriver::onUi(const std::function<void()>& work) {
    auto state = std::make_shared<CallState>();
    state->work = work;
    toolkit->invokeLater(new UiCall(state));
    HANDLE handles[2] = {state->done, bodyDone};
    const DWORD woken = WaitForMultipleObjects(2, handles, FALSE, UI_CALL_TIMEOUT_MS);
    if (woken == WAIT_OBJECT_0 + 1 && WaitForSingleObject(state->done, 0) != WAIT_OBJECT_0) {
        state->abandoned = true;
        throw std::runtime_error("the program under test has already ended");
    }
    if (woken == WAIT_TIMEOUT) {
        giveUp("the toolkit's thread did not answer in time");
    }
    if (state->error) {
        std::rethrow_exception(state->error);
    }
}

bool UiDriver::waitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (get<bool>(condition)) {
            return true;
        }
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(20);
    }
}

void UiDriver::press(WORD virtualKey, bool shift, bool control) {
    std::vector<INPUT> inputs;
    if (shift) {
        addKey(inputs, VK_SHIFT, false);
    }
    if (control) {
        addKey(inputs, VK_CONTROL, false);
    }
    addKey(inputs, virtualKey, false);
    addKey(inputs, virtualKey, true);
    if (control) {
        addKey(inputs, VK_CONTROL, true);
    }
    if (shift) {
        addKey(inputs, VK_SHIFT, true);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    settle();
}

void UiDriver::type(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t unit : text) {
        for (bool up : {false, true}) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = unit;
            input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            inputs.push_back(input);
        }
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    settle();
}

void UiDriver::settle() {
    // A queued call runs only once no message waits, so two of them come after all input sent so far.
    onUi([] {});
    onUi([] {});
}

int runDriven(awt::Toolkit* toolkit, const std::function<int()>& body,
              const std::function<void(UiDriver&)>& script) {
    HANDLE bodyDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    UiDriver driver(toolkit, GetCurrentThreadId(), bodyDone);
    DriverThread thread = {&driver, &script};
    HANDLE driverHandle = CreateThread(nullptr, 0, driverMain, &thread, 0, nullptr);
    if (driverHandle == nullptr) {
        giveUp("no driver thread");
    }

    // Once the script is over, close what it left open so that body comes back.
    Closer closer = {driverHandle, bodyDone, GetCurrentThreadId()};
    HANDLE closerHandle = CreateThread(nullptr, 0, closerMain, &closer, 0, nullptr);
    if (closerHandle == nullptr) {
        giveUp("no closer thread");
    }

    int result = -1;
    try {
        result = body();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "the program under test threw " << e.what();
    } catch (...) {
        SetEvent(bodyDone);
        WaitForSingleObject(driverHandle, CLOSE_TIMEOUT_MS);
        throw;
    }
    SetEvent(bodyDone);
    if (WaitForSingleObject(driverHandle, CLOSE_TIMEOUT_MS) != WAIT_OBJECT_0 ||
        WaitForSingleObject(closerHandle, CLOSE_TIMEOUT_MS) != WAIT_OBJECT_0) {
        giveUp("the driver did not end");
    }
    CloseHandle(closerHandle);
    CloseHandle(driverHandle);
    CloseHandle(bodyDone);
    return result;
}

#include "UiDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <exception>
#include <memory>
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

// A call that the driver stopped waiting for (the program under test ended first) is abandoned:
// if a later message loop still runs it, it does nothing.
struct CallState {
    std::function<void()> work;
    std::exception_ptr error;
    std::atomic<bool> abandoned{false};
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~CallState() { CloseHandle(done); }
};

// Deletes itself as the toolkit expects of every runnable.
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

BOOL CALLBACK closeWindow(HWND window, LPARAM) {
    if (IsWindowVisible(window)) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

DWORD WINAPI driverMain(void* parameter) {
    auto* thread = static_cast<DriverThread*>(parameter);
    try {
        (*thread->script)(*thread->driver);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "driver stopped: " << e.what();
    }
    // Close whatever the script left open so that the body comes back.
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(thread->driver->bodyDone(), 100) != WAIT_OBJECT_0) {
        EnumThreadWindows(thread->driver->uiThread(), closeWindow, 0);
        if (GetTickCount() - start > CLOSE_TIMEOUT_MS) {
            giveUp("the program under test did not end after its windows were closed");
        }
    }
    return 0;
}

void sendInput(std::vector<INPUT>& inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT key(WORD virtualKey, wchar_t unit, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = virtualKey != 0 ? static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) : unit;
    input.ki.dwFlags = (virtualKey == 0 ? KEYEVENTF_UNICODE : 0) | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

}  // namespace

UiDriver::UiDriver(awt::Toolkit* toolkit, DWORD uiThreadId, HANDLE bodyDone)
    : toolkit(toolkit), uiThreadId(uiThreadId), done(bodyDone) {}

void UiDriver::onUi(const std::function<void()>& work) {
    auto state = std::make_shared<CallState>();
    state->work = work;
    toolkit->invokeLater(new UiCall(state));
    HANDLE handles[2] = {state->done, done};
    const DWORD woken = WaitForMultipleObjects(2, handles, FALSE, UI_CALL_TIMEOUT_MS);
    if (woken == WAIT_TIMEOUT) {
        giveUp("the toolkit's thread did not answer in time");
    }
    if (woken == WAIT_OBJECT_0 + 1 && WaitForSingleObject(state->done, 0) != WAIT_OBJECT_0) {
        state->abandoned = true;
        throw std::runtime_error("the program under test has already ended");
    }
    if (state->error) {
        std::rethrow_exception(state->error);
    }
}

bool UiDriver::waitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!get<bool>(condition)) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

void UiDriver::press(WORD virtualKey, bool shift, bool control) {
    std::vector<WORD> keys;
    if (shift) {
        keys.push_back(VK_SHIFT);
    }
    if (control) {
        keys.push_back(VK_CONTROL);
    }
    keys.push_back(virtualKey);
    std::vector<INPUT> inputs;
    for (WORD down : keys) {
        inputs.push_back(key(down, 0, false));
    }
    for (auto up = keys.rbegin(); up != keys.rend(); ++up) {
        inputs.push_back(key(*up, 0, true));
    }
    sendInput(inputs);
    settle();
}

void UiDriver::type(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t unit : text) {
        inputs.push_back(key(0, unit, false));
        inputs.push_back(key(0, unit, true));
    }
    sendInput(inputs);
    settle();
}

void UiDriver::settle() {
    // A queued call runs only once no message waits, so two of them come after all input sent so far.
    onUi([] {});
    onUi([] {});
}

int runDriven(awt::Toolkit* toolkit, const std::function<int()>& body, const std::function<void(UiDriver&)>& script) {
    HANDLE bodyDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    UiDriver driver(toolkit, GetCurrentThreadId(), bodyDone);
    DriverThread thread = {&driver, &script};
    HANDLE driverHandle = CreateThread(nullptr, 0, driverMain, &thread, 0, nullptr);
    if (driverHandle == nullptr) {
        giveUp("no driver thread");
    }
    int result = -1;
    try {
        result = body();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "the program under test threw " << e.what();
    }
    SetEvent(bodyDone);
    if (WaitForSingleObject(driverHandle, CLOSE_TIMEOUT_MS) != WAIT_OBJECT_0) {
        giveUp("the driver did not end");
    }
    CloseHandle(driverHandle);
    CloseHandle(bodyDone);
    return result;
}

#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "awt/tests/ExpectFailure.h"
#include "zeno/Exception.h"
#include "zeno/Runnable.h"

#include "awt/Component.h"
#include "awt/Container.h"
#include "awt/Listener.h"
#include "awt/MouseOverTracker.h"
#include "awt/Toolkit.h"

namespace test {

constexpr std::uint32_t NO_CODE = zeno::Exception::NO_ERROR_CODE;


awt::Toolkit* toolkit();

// Ends any loop that runs longer than the limit: a thread timer posts a quit message with
// WATCHDOG_EXIT every period, so nested loops end one after the other.
class Watchdog {
public:
    static constexpr int WATCHDOG_EXIT = -7777;
    explicit Watchdog(UINT milliseconds = 5000);
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    ~Watchdog();

private:
    UINT_PTR timer;
};

// Dispatches every waiting message (no deferred work).
void pumpMessages();
// Dispatches messages and runs the deferred work until nothing is left.
void settle();
// Runs the loop for a while: a timer quits it after the time.
int runFor(UINT milliseconds);

// A task that calls a function once and deletes itself, like the standard tasks.
class Task : public zeno::Runnable {
public:
    explicit Task(std::function<void()> body);
    void run() override;

private:
    std::function<void()> body;
};
zeno::Runnable* task(std::function<void()> body);

// A top-level test window with caption and sizing border; the mouse-over bookkeeping as the
// toolkit's windows do it.
class TestFrame : public awt::Container, public awt::MouseOverTracker {
public:
    TestFrame(int x = 100, int y = 100, int width = 400, int height = 300);
    ~TestFrame() noexcept(false) override;
    LPCWSTR getClassName() const override;
    DWORD getStyle() const override;
    bool isChild() const override;
    void mouseEnteredComponent(awt::Component* component, int x, int y) override;

    awt::Component* mouseOver = nullptr;
};

// A child container of the toolkit's window class; optionally with a border and a caption.
class TestPanel : public awt::Container {
public:
    explicit TestPanel(DWORD extraStyle = 0);
    LPCWSTR getClassName() const override;
    DWORD getStyle() const override;
    awt::Insets getInsets() const override;

    DWORD extraStyle;
    awt::Insets insets;
};

// A standard control (class and style given) with a preferred size set by the test.
class TestControl : public awt::Component {
public:
    explicit TestControl(const wchar_t* className = L"BUTTON", DWORD extraStyle = WS_TABSTOP,
                         const wchar_t* text = L"control");
    ~TestControl() noexcept(false) override;
    LPCWSTR getClassName() const override;
    LPCWSTR getWindowText() const override;
    DWORD getStyle() const override;
    awt::Dimension getPreferredSize() const override;
    void validate() override;
    void update() override;
    LRESULT processCommand(UINT code, WPARAM wParam, bool* handled) override;
    LRESULT processNotify(UINT code, NMHDR* header, bool* handled) override;
    LRESULT processScroll(WPARAM wParam, int position, bool* handled) override;
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    std::wstring className;
    DWORD extraStyle;
    std::wstring text;
    awt::Dimension preferred;
    int validations = 0;
    int updates = 0;
    std::vector<std::wstring>* journal = nullptr;
    std::wstring name;
    std::vector<UINT> received;
    bool handleCommands = false;
    UINT lastCode = 0;
    WPARAM lastWParam = 0;
    int lastPosition = -1;
};

// Writes every event it receives to a journal, as "name:operation".
class Recorder : public awt::MouseListener,
                 public awt::KeyListener,
                 public awt::FocusListener,
                 public awt::ContainerListener {
public:
    Recorder(std::vector<std::wstring>* journal, std::wstring name, bool consume = false);

    void mouseEntered(awt::MouseEvent* event) override;
    void mouseExited(awt::MouseEvent* event) override;
    void mousePressed(awt::MouseEvent* event) override;
    void mouseReleased(awt::MouseEvent* event) override;
    void mouseDoubleClicked(awt::MouseEvent* event) override;
    void keyPressed(awt::KeyEvent* event) override;
    void keyReleased(awt::KeyEvent* event) override;
    void keyTyped(awt::KeyEvent* event) override;
    void focusGained(awt::FocusEvent* event) override;
    void focusLost(awt::FocusEvent* event) override;
    void componentAdded(awt::ContainerEvent* event) override;
    void componentRemoved(awt::ContainerEvent* event) override;

    std::vector<std::wstring>* journal;
    std::wstring name;
    bool consume;
    awt::MouseEvent lastMouse;
    awt::KeyEvent lastKey;
    awt::ContainerEvent lastContainer;

private:
    void note(awt::Event* event, const wchar_t* operation);
};

// Sets the thread's key state so that getModifiers sees the given keys held; restores on exit.
class HeldKeys {
public:
    explicit HeldKeys(std::vector<int> virtualKeys);
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;
    ~HeldKeys();

private:
    BYTE saved[256];
};

std::wstring windowText(HWND window);

// A native window class whose procedure notes what reaches it, to see whether the toolkit passed
// a message on. Its WM_GETDLGCODE answer is set per window.
struct ProbeMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
};
const wchar_t* probeClass();
std::vector<ProbeMessage>& probeJournal();
void setProbeDialogCode(HWND window, LRESULT code);
bool probeSaw(HWND window, UINT message, WPARAM wParam);

} // namespace test

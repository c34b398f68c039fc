#include "TestSupport.h"

#include <cstring>

namespace test {

namespace {

void CALLBACK watchdogFired(HWND, UINT, UINT_PTR, DWORD) {
    PostQuitMessage(Watchdog::WATCHDOG_EXIT);
}

int runForExit = 0;

void CALLBACK runForFired(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    PostQuitMessage(runForExit);
}

} // namespace

awt::Toolkit* toolkit() {
    return awt::Toolkit::getInstance();
}

Watchdog::Watchdog(UINT milliseconds) : timer(SetTimer(nullptr, 0, milliseconds, watchdogFired)) {}

Watchdog::~Watchdog() {
    KillTimer(nullptr, timer);
}

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void settle() {
    for (int round = 0; round < 20; ++round) {
        pumpMessages();
        toolkit()->processPending(true);
        MSG message;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) &&
            toolkit()->getInvalidQueue().empty() && toolkit()->getRepaintQueue().empty()) {
            return;
        }
    }
}

int runFor(UINT milliseconds) {
    runForExit = 0;
    SetTimer(nullptr, 0, milliseconds, runForFired);
    return toolkit()->run();
}

Task::Task(std::function<void()> body) : body(std::move(body)) {}

void Task::run() {
    std::unique_ptr<Task> self(this);
    body();
}

zeno::Runnable* task(std::function<void()> body) {
    return new Task(std::move(body));
}

TestFrame::TestFrame(int left, int top, int w, int h) {
    x = left;
    y = top;
    width = w;
    height = h;
    setGroup(true);
}

TestFrame::~TestFrame() noexcept(false) {}

LPCWSTR TestFrame::getClassName() const {
    return MAKEINTATOM(awt::Toolkit::getWindowClass());
}

DWORD TestFrame::getStyle() const {
    return Container::getStyle() | WS_OVERLAPPEDWINDOW;
}

bool TestFrame::isChild() const {
    return false;
}

void TestFrame::mouseEnteredComponent(awt::Component* component, int atX, int atY) {
    if (mouseOver != nullptr) {
        RECT from;
        RECT to;
        GetWindowRect(component->getHWND(), &from);
        GetWindowRect(mouseOver->getHWND(), &to);
        mouseOver->notifyMouseExited(atX + from.left - to.left, atY + from.top - to.top);
    }
    mouseOver = component;
}

TestPanel::TestPanel(DWORD extraStyle) : extraStyle(extraStyle) {}

LPCWSTR TestPanel::getClassName() const {
    return MAKEINTATOM(awt::Toolkit::getWindowClass());
}

DWORD TestPanel::getStyle() const {
    return Container::getStyle() | extraStyle;
}

awt::Insets TestPanel::getInsets() const {
    return insets;
}

TestControl::TestControl(const wchar_t* className, DWORD extraStyle, const wchar_t* text)
    : className(className), extraStyle(extraStyle), text(text) {}

TestControl::~TestControl() noexcept(false) {
    if (journal != nullptr) {
        journal->push_back(L"delete " + name);
    }
}

LPCWSTR TestControl::getClassName() const {
    return className.c_str();
}

LPCWSTR TestControl::getWindowText() const {
    return text.c_str();
}

DWORD TestControl::getStyle() const {
    return Component::getStyle() | extraStyle;
}

awt::Dimension TestControl::getPreferredSize() const {
    return preferred;
}

void TestControl::validate() {
    ++validations;
    Component::validate();
}

void TestControl::update() {
    ++updates;
    Component::update();
}

LRESULT TestControl::processCommand(UINT code, WPARAM wParam, bool* handled) {
    lastCode = code;
    lastWParam = wParam;
    *handled = handleCommands;
    return handleCommands ? 1234 : 0;
}

LRESULT TestControl::processNotify(UINT code, NMHDR*, bool* handled) {
    lastCode = code;
    *handled = handleCommands;
    return handleCommands ? 4321 : 0;
}

LRESULT TestControl::processScroll(WPARAM wParam, int position, bool* handled) {
    lastWParam = wParam;
    lastPosition = position;
    *handled = handleCommands;
    return 0;
}

LRESULT TestControl::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    received.push_back(message);
    return Component::windowProc(message, wParam, lParam);
}

Recorder::Recorder(std::vector<std::wstring>* journal, std::wstring name, bool consume)
    : journal(journal), name(std::move(name)), consume(consume) {}

void Recorder::note(awt::Event* event, const wchar_t* operation) {
    journal->push_back(name + L":" + operation);
    if (consume) {
        event->consumed = true;
    }
}

void Recorder::mouseEntered(awt::MouseEvent* event) {
    lastMouse = *event;
    note(event, L"entered");
}
void Recorder::mouseExited(awt::MouseEvent* event) {
    lastMouse = *event;
    note(event, L"exited");
}
void Recorder::mousePressed(awt::MouseEvent* event) {
    lastMouse = *event;
    note(event, L"pressed");
}
void Recorder::mouseReleased(awt::MouseEvent* event) {
    lastMouse = *event;
    note(event, L"released");
}
void Recorder::mouseDoubleClicked(awt::MouseEvent* event) {
    lastMouse = *event;
    note(event, L"double");
}
void Recorder::keyPressed(awt::KeyEvent* event) {
    lastKey = *event;
    note(event, L"keyPressed");
}
void Recorder::keyReleased(awt::KeyEvent* event) {
    lastKey = *event;
    note(event, L"keyReleased");
}
void Recorder::keyTyped(awt::KeyEvent* event) {
    lastKey = *event;
    note(event, L"keyTyped");
}
void Recorder::focusGained(awt::FocusEvent* event) {
    note(event, L"focusGained");
}
void Recorder::focusLost(awt::FocusEvent* event) {
    note(event, L"focusLost");
}
void Recorder::componentAdded(awt::ContainerEvent* event) {
    lastContainer = *event;
    note(event, L"added");
}
void Recorder::componentRemoved(awt::ContainerEvent* event) {
    lastContainer = *event;
    note(event, L"removed");
}

HeldKeys::HeldKeys(std::vector<int> virtualKeys) {
    GetKeyboardState(saved);
    BYTE state[256];
    std::memcpy(state, saved, sizeof(state));
    for (int key : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN, VK_LSHIFT, VK_RSHIFT,
                    VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU}) {
        state[key] = 0;
    }
    for (int key : virtualKeys) {
        state[key] = 0x80;
    }
    SetKeyboardState(state);
}

HeldKeys::~HeldKeys() {
    SetKeyboardState(saved);
}

std::wstring windowText(HWND window) {
    wchar_t buffer[512];
    int length = GetWindowTextW(window, buffer, 512);
    return std::wstring(buffer, static_cast<std::size_t>(length > 0 ? length : 0));
}

namespace {

LRESULT CALLBACK probeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) {
        return GetWindowLongPtrW(window, 0);
    }
    if (message >= WM_KEYFIRST && message <= WM_KEYLAST) {
        probeJournal().push_back(ProbeMessage{window, message, wParam});
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

const wchar_t* probeClass() {
    static ATOM atom = 0;
    if (atom == 0) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = probeProc;
        windowClass.cbWndExtra = sizeof(LONG_PTR);
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"AwtCoreProbe";
        atom = RegisterClassExW(&windowClass);
    }
    return L"AwtCoreProbe";
}

std::vector<ProbeMessage>& probeJournal() {
    static std::vector<ProbeMessage> journal;
    return journal;
}

void setProbeDialogCode(HWND window, LRESULT code) {
    SetWindowLongPtrW(window, 0, code);
}

bool probeSaw(HWND window, UINT message, WPARAM wParam) {
    for (const ProbeMessage& seen : probeJournal()) {
        if (seen.window == window && seen.message == message && seen.wParam == wParam) {
            return true;
        }
    }
    return false;
}

} // namespace test

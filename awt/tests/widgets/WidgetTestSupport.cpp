#include "WidgetTestSupport.h"

#include "awt/Event.h"

namespace widgets_test {

int showcaseHoldMilliseconds = 0;

awt::Toolkit* toolkit() { return awt::Toolkit::getInstance(); }

namespace {

void dispatchWaiting() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

void settle() {
    for (int round = 0; round < 50; ++round) {
        dispatchWaiting();
        toolkit()->processPending(true);
        MSG message;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) &&
            toolkit()->getInvalidQueue().empty() && toolkit()->getRepaintQueue().empty()) {
            return;
        }
    }
}

bool waitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        settle();
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start >= milliseconds) {
            return condition();
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

namespace {

void CALLBACK endLoop(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    PostQuitMessage(0);
}

} // namespace

void runLoopFor(UINT milliseconds) {
    SetTimer(nullptr, 0, milliseconds, endLoop);
    toolkit()->run();
}

TestWindow::TestWindow(int left, int top, int w, int h) {
    x = left;
    y = top;
    width = w;
    height = h;
    setGroup(true);
    flags &= ~VISIBLE;
}

void TestWindow::show() {
    createPeer();
    setVisible(true);
    SetForegroundWindow(getHWND());
    settle();
}

TestWindow::~TestWindow() noexcept(false) {}

LPCWSTR TestWindow::getClassName() const { return MAKEINTATOM(awt::Toolkit::getWindowClass()); }

LPCWSTR TestWindow::getWindowText() const { return L"awt widgets"; }

DWORD TestWindow::getStyle() const {
    return (Container::getStyle() & ~WS_CHILD) | WS_OVERLAPPEDWINDOW;
}

bool TestWindow::isChild() const { return false; }

void TestWindow::mouseEnteredComponent(awt::Component* component, int atX, int atY) {
    if (mouseOver != nullptr && mouseOver->getHWND() != nullptr && component->getHWND() != nullptr) {
        POINT point{atX, atY};
        MapWindowPoints(component->getHWND(), mouseOver->getHWND(), &point, 1);
        mouseOver->notifyMouseExited(point.x, point.y);
    }
    mouseOver = component;
}

EventCounter::EventCounter(std::wstring name, std::vector<std::wstring>* journal)
    : name(std::move(name)), journal(journal) {}

void EventCounter::note(awt::Event* event, const wchar_t* what) {
    lastSource = event->source;
    if (journal != nullptr) {
        journal->push_back(name + L":" + what);
    }
}

void EventCounter::actionPerformed(awt::ActionEvent* event) {
    ++actions;
    note(event, L"action");
}

void EventCounter::itemStateChanged(awt::ItemEvent* event) {
    ++items;
    note(event, L"item");
}

void EventCounter::textValueChanged(awt::TextEvent* event) {
    ++texts;
    note(event, L"text");
    if (onText) {
        onText();
    }
}

FontProbe::FontProbe(HWND window) : window(window), dc(GetDC(window)), previous(nullptr) {
    auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0));
    if (font != nullptr) {
        previous = SelectObject(dc, font);
    }
}

FontProbe::~FontProbe() {
    if (previous != nullptr) {
        SelectObject(dc, previous);
    }
    ReleaseDC(window, dc);
}

TEXTMETRICW FontProbe::metrics() const {
    TEXTMETRICW result{};
    GetTextMetricsW(dc, &result);
    return result;
}

SIZE FontProbe::extent(const std::wstring& text) const {
    SIZE result{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &result);
    return result;
}

awt::Insets frameOf(HWND window) {
    RECT rect{0, 0, 0, 0};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
    return awt::Insets{-rect.top, -rect.left, rect.bottom, rect.right};
}

DWORD styleOf(HWND window) { return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)); }

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring windowText(HWND window) {
    std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
}

} // namespace widgets_test

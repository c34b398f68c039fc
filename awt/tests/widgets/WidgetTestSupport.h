#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "awt/tests/ExpectFailure.h"
#include "awt/Container.h"
#include "awt/Event.h"
#include "awt/Listener.h"
#include "awt/MouseOverTracker.h"
#include "awt/Toolkit.h"
#include "zeno/Exception.h"

namespace widgets_test {

constexpr std::uint32_t NO_CODE = zeno::Exception::NO_ERROR_CODE;

// String resources of the test program (WidgetTests.rc).
constexpr UINT IDS_SETTINGS = 101;
constexpr UINT IDS_HEADER_FILE = 102;
constexpr UINT IDS_BROWSE = 103;
constexpr UINT IDS_STATUS = 104;

// How long the showcase stays on screen (TestMain --hold=MS).
extern int showcaseHoldMilliseconds;


inline awt::Toolkit* toolkit() { return awt::Toolkit::getInstance(); }
// Dispatches waiting messages and the toolkit's deferred work until both are done (bounded).
void settle();
// Dispatches messages and deferred work until the condition holds or the time is over.
bool waitUntil(const std::function<bool()>& condition, DWORD milliseconds = 3000);
// Runs the toolkit's own message loop (with its preprocessors) for a while: a timer ends it.
void runLoopFor(UINT milliseconds);

// A top-level window of the toolkit's class, hidden until a test shows it (Wine waits two
// seconds for a window manager whenever a shown top-level window goes away); it keeps the
// mouse-over bookkeeping as the toolkit's windows do.
class TestWindow : public awt::Container, public awt::MouseOverTracker {
public:
    TestWindow(int left = 40, int top = 40, int w = 480, int h = 360) {
        setBounds(left, top, w, h);
        setGroup(true);
        flags &= ~VISIBLE;
    }
    LPCWSTR getClassName() const override { return MAKEINTATOM(awt::Toolkit::getWindowClass()); }
    LPCWSTR getWindowText() const override { return L"awt widgets"; }
    DWORD getStyle() const override { return (Container::getStyle() & ~WS_CHILD) | WS_OVERLAPPEDWINDOW; }
    bool isChild() const override { return false; }
    void mouseEnteredComponent(awt::Component* component, int x, int y) override;

    // Adds the child (placed there when a width is given) and returns it.
    template <class C>
    C* put(C* child, int left = 0, int top = 0, int w = 0, int h = 0) {
        add(child);
        if (w > 0) {
            child->setBounds(left, top, w, h);
        }
        return child;
    }
    // Creates the windows, shows them in front and settles.
    void show() {
        createPeer();
        setVisible(true);
        SetForegroundWindow(getHWND());
        settle();
    }

    awt::Component* mouseOver = nullptr;
};

// Counts the events it gets and notes "name:kind" in a shared journal, if any.
class EventCounter : public awt::ActionListener, public awt::ItemListener, public awt::TextListener {
public:
    explicit EventCounter(std::wstring name = L"", std::vector<std::wstring>* journal = nullptr)
        : name(std::move(name)), journal(journal) {}
    void actionPerformed(awt::ActionEvent* event) override { note(event, &actions, L"action"); }
    void itemStateChanged(awt::ItemEvent* event) override { note(event, &items, L"item"); }
    void textValueChanged(awt::TextEvent* event) override {
        note(event, &texts, L"text");
        if (onText) {
            onText();
        }
    }

    int actions = 0;
    int items = 0;
    int texts = 0;
    awt::Component* lastSource = nullptr;
    std::function<void()> onText;  // run for each text event, as a listener reading the text

private:
    void note(awt::Event* event, int* count, const wchar_t* kind) {
        ++*count;
        lastSource = event->source;
        if (journal != nullptr) {
            journal->push_back(name + L":" + kind);
        }
    }
    std::wstring name;
    std::vector<std::wstring>* journal;
};

// Measures with plain GDI in the font the window has now (WM_GETFONT).
class FontProbe {
public:
    explicit FontProbe(HWND window);
    FontProbe(const FontProbe&) = delete;
    FontProbe& operator=(const FontProbe&) = delete;
    ~FontProbe();
    TEXTMETRICW metrics() const;
    SIZE extent(const std::wstring& text) const;
    int widest(const std::vector<std::wstring>& lines) const;

private:
    HWND window;
    HDC dc;
    HGDIOBJ previous;
};

// The insets AdjustWindowRectEx gives for the window's current styles.
awt::Insets frameOf(HWND window);
inline DWORD styleOf(HWND window) { return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)); }
std::wstring windowText(HWND window);
std::wstring className(HWND window);

} // namespace widgets_test

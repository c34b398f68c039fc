#pragma once

// What every widget test needs: the widgets themselves, a hidden test window and an event counter.

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "awt/AWTException.h"
#include "awt/Button.h"
#include "awt/Event.h"
#include "awt/Label.h"
#include "awt/List.h"
#include "awt/Listener.h"
#include "awt/StatusBar.h"
#include "awt/TextArea.h"
#include "awt/TextField.h"
#include "awt/ToolTip.h"
#include "awt/tests/support/TestSupport.h"

using namespace test;

// String resources of the test program (WidgetTests.rc).
constexpr UINT IDS_SETTINGS = 101;
constexpr UINT IDS_HEADER_FILE = 102;
constexpr UINT IDS_BROWSE = 103;
constexpr UINT IDS_STATUS = 104;

// A test frame that stays hidden until a test shows it: Wine waits for a window manager
// whenever a shown top-level window goes away.
class TestWindow : public TestFrame {
public:
    TestWindow() : TestFrame(40, 40, 480, 360) { flags &= ~VISIBLE; }
    // Adds the child at these bounds (none: where a layout would put it) and returns it.
    template <class C>
    C* put(C* child, int left = 0, int top = 0, int w = 0, int h = 0) {
        return place(this, child, left, top, w, h);
    }
    void show() {
        createPeer();
        setVisible(true);
        SetForegroundWindow(getHWND());
        settle();
    }
};

// Counts the action, item and text events it gets and notes "name:kind" in a shared journal.
class EventCounter : public awt::ActionListener, public awt::ItemListener, public awt::TextListener {
public:
    explicit EventCounter(std::wstring name = L"", std::vector<std::wstring>* journal = nullptr)
        : name(std::move(name)), journal(journal) {}
    void actionPerformed(awt::ActionEvent* event) override { note(event, &actions, L"action"); }
    void itemStateChanged(awt::ItemEvent* event) override { note(event, &items, L"item"); }
    void textValueChanged(awt::TextEvent* event) override { note(event, &texts, L"text"); }

    int actions = 0, items = 0, texts = 0;
    awt::Component* lastSource = nullptr;
    std::function<void()> onEvent;  // run for each event, as a listener reading the widget

private:
    void note(awt::Event* event, int* count, const wchar_t* kind) {
        ++*count;
        lastSource = event->source;
        if (journal != nullptr) {
            journal->push_back(name + L":" + kind);
        }
        if (onEvent) {
            onEvent();
        }
    }
    std::wstring name;
    std::vector<std::wstring>* journal;
};

// A widget whose window answers one chosen message with a failure value and last error (the
// first `refusals` times; -1: always), and notes the redraw switches and text reads it gets.
template <class W>
class Rigged : public W {
public:
    using W::W;
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETREDRAW) {
            redraws.push_back(static_cast<int>(wParam));
        }
        textReads += message == WM_GETTEXT ? 1 : 0;
        if (failing != 0 && message == failing && refusals != 0) {
            refusals -= refusals > 0 ? 1 : 0;
            SetLastError(lastError);
            return failure;
        }
        return W::windowProc(message, wParam, lParam);
    }
    UINT failing = 0;
    LRESULT failure = 0;
    DWORD lastError = ERROR_SUCCESS;
    int refusals = -1;
    std::vector<int> redraws;
    int textReads = 0;
};

#pragma once

#include <functional>
#include <string>

#include <windows.h>

#include "awt/Component.h"
#include "awt/Event.h"
#include "awt/Listener.h"

// Message-loop helpers for the window tests. Every loop they start is bounded by a timer, so
// a test that waits for something that never happens fails instead of hanging.

// Runs the toolkit's loop until `done` is true (checked every 10 ms) or `limitMs` passed.
// Returns whether `done` became true.
bool runUntil(const std::function<bool()>& done, DWORD limitMs = 5000);
// Runs the toolkit's loop for about `ms` milliseconds.
void pumpFor(DWORD ms);

// A one-shot action run from whatever loop is running when the delay has passed. Killed, if it
// has not run yet, when the object goes.
class DelayedAction {
public:
    DelayedAction(DWORD delayMs, std::function<void()> action);
    DelayedAction(const DelayedAction&) = delete;
    DelayedAction& operator=(const DelayedAction&) = delete;
    ~DelayedAction();

    bool hasRun() const { return ran; }

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR id, DWORD);

    UINT_PTR timer;
    std::function<void()> action;
    bool ran;
};

// Ends the innermost running loop (for example a modal dialog's) when it runs for too long.
class LoopWatchdog {
public:
    explicit LoopWatchdog(DWORD limitMs = 5000);
    bool fired() const { return timeout.hasRun(); }

private:
    DelayedAction timeout;
};

// A push button without the widget library: it reports clicks to a function.
class TestButton : public awt::Component {
public:
    TestButton(const std::wstring& text, std::function<void()> onClick);

    LPCWSTR getClassName() const override { return L"BUTTON"; }
    LPCWSTR getWindowText() const override { return text.c_str(); }
    DWORD getStyle() const override;
    awt::Dimension getPreferredSize() const override { return awt::Dimension{80, 24}; }
    LRESULT processCommand(UINT code, WPARAM wParam, bool* handled) override;

private:
    std::wstring text;
    std::function<void()> onClick;
};

// A static text with a chosen preferred size, for frames that are looked at.
class TestLabel : public awt::Component {
public:
    TestLabel(const std::wstring& text, int width, int height)
        : text(text), preferred{width, height} {}

    LPCWSTR getClassName() const override { return L"STATIC"; }
    LPCWSTR getWindowText() const override { return text.c_str(); }
    DWORD getStyle() const override { return Component::getStyle() | SS_CENTER | SS_CENTERIMAGE; }
    awt::Dimension getPreferredSize() const override { return preferred; }

private:
    std::wstring text;
    awt::Dimension preferred;
};

// Counts the window events it receives and consumes the chosen kinds.
class WindowEventRecorder : public awt::WindowListener {
public:
    int shown = 0;
    int closing = 0;
    int hidden = 0;
    int iconified = 0;
    int deiconified = 0;
    bool consumeClosing = false;
    bool consumeIconified = false;
    bool consumeDeiconified = false;
    std::function<void()> onHidden;

    void windowShown(awt::WindowEvent*) override { ++shown; }
    void windowClosing(awt::WindowEvent* event) override {
        ++closing;
        event->consumed = consumeClosing;
    }
    void windowHidden(awt::WindowEvent*) override {
        ++hidden;
        if (onHidden) {
            onHidden();
        }
    }
    void windowActivated(awt::WindowEvent*) override {}
    void windowDeactivated(awt::WindowEvent*) override {}
    void windowIconified(awt::WindowEvent* event) override {
        ++iconified;
        event->consumed = consumeIconified;
    }
    void windowDeiconified(awt::WindowEvent* event) override {
        ++deiconified;
        event->consumed = consumeDeiconified;
    }
};

// Real input through the system's input queue.
void pressKey(WORD virtualKey, bool down);
void clickAt(int screenX, int screenY);
// A screen point on the window's close box, found by hit testing; false when there is none.
bool findCloseBox(HWND window, POINT* point);

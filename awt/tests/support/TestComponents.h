#pragma once

// Small components for tests: a top-level frame, a panel, a standard control that notes what
// reaches it, and a listener that journals every event.

#include <algorithm>
#include <string>
#include <vector>

#include <windows.h>

#include "awt/Container.h"
#include "awt/Listener.h"
#include "awt/MouseOverTracker.h"
#include "awt/Toolkit.h"

namespace test {

// A top-level window of the toolkit's class with caption and sizing border; it keeps the
// mouse-over bookkeeping as the toolkit's windows do.
class TestFrame : public awt::Container, public awt::MouseOverTracker {
public:
    TestFrame(int left = 100, int top = 100, int w = 400, int h = 300) { setBounds(left, top, w, h); setGroup(true); }
    LPCWSTR getClassName() const override { return MAKEINTATOM(awt::Toolkit::getWindowClass()); }
    DWORD getStyle() const override { return Container::getStyle() | WS_OVERLAPPEDWINDOW; }
    bool isChild() const override { return false; }
    void mouseEnteredComponent(awt::Component* component, int x, int y) override {
        if (mouseOver != nullptr && mouseOver->getHWND() != nullptr && component->getHWND() != nullptr) {
            RECT from, to;
            GetWindowRect(component->getHWND(), &from);
            GetWindowRect(mouseOver->getHWND(), &to);
            mouseOver->notifyMouseExited(x + from.left - to.left, y + from.top - to.top);
        }
        mouseOver = component;
    }

    awt::Component* mouseOver = nullptr;
};

// A child container of the toolkit's window class, with extra styles (a border, a caption).
class TestPanel : public awt::Container {
public:
    explicit TestPanel(DWORD extraStyle = 0) : extraStyle(extraStyle) {}
    LPCWSTR getClassName() const override { return MAKEINTATOM(awt::Toolkit::getWindowClass()); }
    DWORD getStyle() const override { return Container::getStyle() | extraStyle; }
    awt::Insets getInsets() const override { return insets; }

    DWORD extraStyle;
    awt::Insets insets;
};

// A standard control (class and styles given) with the preferred size the test sets; counts
// validations and updates, notes the messages it receives and the notifications routed to it
// (answering them when handleCommands is set).
class TestControl : public awt::Component {
public:
    explicit TestControl(const wchar_t* className = L"BUTTON", DWORD extraStyle = WS_TABSTOP, const wchar_t* text = L"control")
        : className(className), extraStyle(extraStyle), text(text) {}
    LPCWSTR getClassName() const override { return className.c_str(); }
    LPCWSTR getWindowText() const override { return text.c_str(); }
    DWORD getStyle() const override { return Component::getStyle() | extraStyle; }
    awt::Dimension getPreferredSize() const override { return preferred; }
    void validate() override { ++validations; Component::validate(); }
    void update() override { ++updates; Component::update(); }
    LRESULT processCommand(UINT code, WPARAM wParam, bool* handled) override {
        lastCode = code;
        lastWParam = wParam;
        return (*handled = handleCommands) ? 1234 : 0;
    }
    LRESULT processNotify(UINT code, NMHDR*, bool* handled) override {
        lastCode = code;
        return (*handled = handleCommands) ? 4321 : 0;
    }
    LRESULT processScroll(WPARAM wParam, int position, bool* handled) override {
        lastWParam = wParam;
        lastPosition = position;
        *handled = handleCommands;
        return 0;
    }
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        return Component::windowProc(message, wParam, lParam);
    }
    bool received(UINT message) const { return std::find(messages.begin(), messages.end(), message) != messages.end(); }

    std::wstring className;
    DWORD extraStyle;
    std::wstring text;
    awt::Dimension preferred;
    int validations = 0, updates = 0;
    std::vector<UINT> messages;
    bool handleCommands = false;
    UINT lastCode = 0;
    WPARAM lastWParam = 0;
    int lastPosition = -1;
};

// The component's window rectangle on the screen.
inline awt::Rectangle screenBounds(const awt::Component* component) {
    RECT rect{};
    GetWindowRect(component->getHWND(), &rect);
    return awt::Rectangle{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// Adds the child to the parent at these bounds (the parent's window coordinates); returns it.
template <class C> C* place(awt::Container* parent, C* child, int x, int y, int width, int height) {
    child->setBounds(x, y, width, height);
    parent->add(child);
    return child;
}

// Writes every event it receives to a journal as "name:operation"; consumes them if asked.
class Recorder : public awt::MouseListener, public awt::KeyListener,
                 public awt::FocusListener, public awt::ContainerListener {
public:
    Recorder(std::vector<std::wstring>* journal, std::wstring name, bool consume = false)
        : journal(journal), name(std::move(name)), consume(consume) {}

    void mouseEntered(awt::MouseEvent* event) override { note(event, L"entered", &lastMouse); }
    void mouseExited(awt::MouseEvent* event) override { note(event, L"exited", &lastMouse); }
    void mousePressed(awt::MouseEvent* event) override { note(event, L"pressed", &lastMouse); }
    void mouseReleased(awt::MouseEvent* event) override { note(event, L"released", &lastMouse); }
    void mouseDoubleClicked(awt::MouseEvent* event) override { note(event, L"double", &lastMouse); }
    void keyPressed(awt::KeyEvent* event) override { note(event, L"keyPressed", &lastKey); }
    void keyReleased(awt::KeyEvent* event) override { note(event, L"keyReleased", &lastKey); }
    void keyTyped(awt::KeyEvent* event) override { note(event, L"keyTyped", &lastKey); }
    void focusGained(awt::FocusEvent* event) override { note(event, L"focusGained", &lastFocus); }
    void focusLost(awt::FocusEvent* event) override { note(event, L"focusLost", &lastFocus); }
    void componentAdded(awt::ContainerEvent* event) override { note(event, L"added", &lastContainer); }
    void componentRemoved(awt::ContainerEvent* event) override { note(event, L"removed", &lastContainer); }

    std::vector<std::wstring>* journal;
    std::wstring name;
    bool consume;
    awt::MouseEvent lastMouse;
    awt::KeyEvent lastKey;
    awt::FocusEvent lastFocus;
    awt::ContainerEvent lastContainer;

private:
    template <class E> void note(E* event, const wchar_t* operation, E* last) {
        journal->push_back(name + L":" + operation);
        event->consumed = event->consumed || consume;
        *last = *event;
    }
};

} // namespace test

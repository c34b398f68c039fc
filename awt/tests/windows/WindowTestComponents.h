#pragma once

#include <string>

#include "awt/Component.h"
#include "awt/Container.h"
#include "awt/Event.h"
#include "awt/Geometry.h"
#include "awt/LayoutManager.h"
#include "awt/Listener.h"
#include "awt/tests/support/TestSupport.h"

using namespace test;

// Components whose preferred size the test chooses; layouts only read sizes and visibility
// and call setBounds, which without a window just stores.
class FixedComponent : public awt::Component {
public:
    FixedComponent(int width, int height) : preferred{width, height} {}

    awt::Dimension getPreferredSize() const override { return preferred; }
    void setPreferredSize(int width, int height) { preferred = awt::Dimension{width, height}; }

    // Bounds as "x,y,width,height", so that a failed comparison shows all four.
    std::wstring bounds() {
        const awt::Point p = getLocation();
        const awt::Dimension d = getSize();
        return std::to_wstring(p.x) + L"," + std::to_wstring(p.y) + L"," +
               std::to_wstring(d.width) + L"," + std::to_wstring(d.height);
    }

protected:
    LPCWSTR getClassName() const override { return L"STATIC"; }

private:
    awt::Dimension preferred;
};

// A container with chosen insets, standing in for a bordered panel.
class InsetContainer : public awt::Container {
public:
    explicit InsetContainer(awt::Insets insets = awt::Insets{0, 0, 0, 0}) : insets(insets) {}

    awt::Insets getInsets() const override { return insets; }

    // Adds a new child with the given preferred size; the container owns it.
    FixedComponent* addFixed(int width, int height) {
        awt::LayoutManager::Constraints none;
        return addFixed(width, height, none);
    }
    FixedComponent* addFixed(int width, int height, const awt::LayoutManager::Constraints& where) {
        auto* child = new FixedComponent(width, height);
        add(child, where);
        return child;
    }

protected:
    LPCWSTR getClassName() const override { return L"STATIC"; }

private:
    awt::Insets insets;
};

// Counts the window events it receives and consumes the chosen kinds.
class WindowEventRecorder : public awt::WindowListener {
public:
    int shown = 0;
    int closing = 0;
    int iconified = 0;
    int deiconified = 0;
    bool consumeClosing = false;
    bool consumeIconified = false;

    void windowShown(awt::WindowEvent*) override { ++shown; }
    void windowClosing(awt::WindowEvent* event) override {
        ++closing;
        event->consumed = consumeClosing;
    }
    void windowHidden(awt::WindowEvent*) override {}
    void windowActivated(awt::WindowEvent*) override {}
    void windowDeactivated(awt::WindowEvent*) override {}
    void windowIconified(awt::WindowEvent* event) override {
        ++iconified;
        event->consumed = consumeIconified;
    }
    void windowDeiconified(awt::WindowEvent* event) override {
        ++deiconified;
        event->consumed = consumeIconified;
    }
};

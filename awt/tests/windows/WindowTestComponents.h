#pragma once

// What the window tests share: windows, layouts, test components and bounds as text.

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "awt/BorderLayout.h"
#include "awt/ButtonsLayout.h"
#include "awt/Dialog.h"
#include "awt/Frame.h"
#include "awt/GridLayout.h"
#include "awt/tests/support/TestSupport.h"

using awt::Dimension;
using awt::Frame;
using namespace test;

// A control asking for the given size; without a window, layouts only read it and store bounds.
inline TestControl* sized(int width, int height) {
    auto* control = new TestControl();
    control->preferred = awt::Dimension{width, height};
    return control;
}

// "x,y,width,height", so that a failed comparison shows all four.
inline std::wstring bounds(int x, int y, int width, int height) {
    return std::to_wstring(x) + L"," + std::to_wstring(y) + L"," + std::to_wstring(width) + L"," +
           std::to_wstring(height);
}
inline std::wstring bounds(const awt::Component& component) {
    const awt::Rectangle r = component.getBounds();
    return bounds(r.x, r.y, r.width, r.height);
}
// The native window's, on the screen or in the client area of `relativeTo`.
inline std::wstring nativeBounds(HWND window, HWND relativeTo = nullptr) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, relativeTo, reinterpret_cast<POINT*>(&r), 2);
    return bounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

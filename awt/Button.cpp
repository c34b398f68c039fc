#include "awt/Button.h"

#include "awt/Event.h"
#include "awt/Listener.h"
#include "awt/Toolkit.h"

namespace awt {

Button::Button(UINT textId) : Button(Toolkit::loadString(textId)) {}

Button::Button(const std::wstring& text) : text(text), isDefault(false), preferredCache{-1, -1} {}

LPCWSTR Button::getClassName() const { return L"BUTTON"; }

LPCWSTR Button::getWindowText() const { return text.c_str(); }

DWORD Button::getStyle() const {
    return Component::getStyle() | (isDefault ? BS_DEFPUSHBUTTON : 0) | BS_CENTER | BS_VCENTER |
           WS_TABSTOP;
}

LRESULT Button::processCommand(UINT notificationCode, WPARAM wParam, bool* handled) {
    if (notificationCode != BN_CLICKED) {
        return Component::processCommand(notificationCode, wParam, handled);
    }
    ActionEvent event;
    event.source = this;
    listeners.fire(&ActionListener::actionPerformed, &event);
    *handled = true;
    return 0;
}

Dimension Button::getPreferredSize() const {
    if (hwnd == nullptr) {
        return Dimension{};
    }
    if (preferredCache.width == -1) {
        std::vector<Dimension> extents;
        TEXTMETRICW metrics{};
        measureTexts({text}, &extents, &metrics);
        const Dimension extent = extents.front();
        preferredCache.width =
            extent.width + 2 * (metrics.tmAveCharWidth + GetSystemMetrics(SM_CXEDGE)) + 4;
        preferredCache.height =
            extent.height + 2 * (metrics.tmExternalLeading + GetSystemMetrics(SM_CYEDGE)) + 4;
    }
    return preferredCache;
}

void Button::addActionListener(ActionListener* listener) { listeners.add(listener); }

void Button::removeActionListener(ActionListener* listener) { listeners.remove(listener); }

const std::wstring& Button::getText() const { return text; }

bool Button::isDefaultButton() const { return isDefault; }

void Button::setDefaultButton(bool newDefault) {
    if (newDefault == isDefault) {
        return;
    }
    isDefault = newDefault;
    if (hwnd != nullptr) {
        SendMessageW(hwnd, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
}

} // namespace awt

#include "awt/TextField.h"

#include "awt/Event.h"
#include "awt/Listener.h"

namespace awt {

TextField::TextField(std::int32_t columns) : TextComponent(std::wstring()), columns(columns) {}

DWORD TextField::getStyle() const { return TextComponent::getStyle() | ES_AUTOHSCROLL; }

LRESULT TextField::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && wParam == VK_RETURN && getModifiers() == 0) {
        ActionEvent event;
        event.source = this;
        listeners.fire(&ActionListener::actionPerformed, &event);
    }
    // The key goes on to the control in any case.
    return TextComponent::windowProc(message, wParam, lParam);
}

Dimension TextField::getPreferredSize() const {
    if (hwnd == nullptr) {
        return Dimension{};
    }
    if (preferredCache.width == -1) {
        const TEXTMETRICW metrics = getTextMetrics();
        const Insets frame = getStyleInsets();
        preferredCache.width = columns * metrics.tmAveCharWidth + frame.left + frame.right + 2;
        preferredCache.height = metrics.tmHeight + frame.top + frame.bottom + 2;
    }
    return preferredCache;
}

void TextField::requestFocus() {
    if (hwnd == nullptr) {
        return;
    }
    TextComponent::requestFocus();
    selectAll();
}

void TextField::addActionListener(ActionListener* listener) { listeners.add(listener); }

void TextField::removeActionListener(ActionListener* listener) { listeners.remove(listener); }

std::int32_t TextField::getColumns() const { return columns; }

} // namespace awt

#include "awt/TextComponent.h"

#include <vector>

#include "awt/AWTException.h"
#include "awt/Event.h"
#include "awt/Listener.h"

namespace awt {

TextComponent::TextComponent(const std::wstring& text)
    : text(text), textFlags(EDITABLE), preferredCache{-1, -1}, settingWindowText(false) {}

LPCWSTR TextComponent::getClassName() const { return L"EDIT"; }

LPCWSTR TextComponent::getWindowText() const { return text.c_str(); }

DWORD TextComponent::getStyle() const {
    return Component::getStyle() | (isEditable() ? 0 : ES_READONLY) | WS_TABSTOP;
}

DWORD TextComponent::getExStyle() const { return Component::getExStyle() | WS_EX_CLIENTEDGE; }

LRESULT TextComponent::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE && lParam == 0 && !isEditable()) {
        // A read-only text lets Tab move the focus on.
        const LRESULT code = callPreviousProc(WM_GETDLGCODE, 0, 0);
        return code & ~static_cast<LRESULT>(DLGC_WANTTAB | DLGC_WANTALLKEYS);
    }
    return Component::windowProc(message, wParam, lParam);
}

LRESULT TextComponent::processCommand(UINT notificationCode, WPARAM wParam, bool* handled) {
    if (notificationCode != EN_CHANGE) {
        return Component::processCommand(notificationCode, wParam, handled);
    }
    *handled = true;
    if (!settingWindowText) {
        textFlags |= TEXT_DIRTY;
        fireTextValueChanged();
    }
    return 0;
}

void TextComponent::destroyPeer() {
    if (hwnd != nullptr) {
        synchronize();
    }
    Component::destroyPeer();
}

void TextComponent::synchronize() const {
    if (hwnd == nullptr || !isTextDirty()) {
        return;
    }
    std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    const int read = GetWindowTextW(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    text.assign(buffer.data(), read > 0 ? static_cast<std::size_t>(read) : 0);
    textFlags &= ~TEXT_DIRTY;
}

const std::wstring& TextComponent::getText() const {
    synchronize();
    return text;
}

void TextComponent::setText(const std::wstring& newText) {
    if (hwnd != nullptr) {
        if (!isTextDirty() && newText == text) {
            return;
        }
        settingWindowText = true;
        try {
            Component::setText(newText);
        } catch (...) {
            settingWindowText = false;
            throw;
        }
        settingWindowText = false;
    } else if (newText == text) {
        return;
    }
    text = newText;
    textFlags &= ~TEXT_DIRTY;
    fireTextValueChanged();
}

bool TextComponent::isEditable() const { return (textFlags & EDITABLE) != 0; }

void TextComponent::setEditable(bool editable) {
    if (editable) {
        textFlags |= EDITABLE;
    } else {
        textFlags &= ~EDITABLE;
    }
    if (hwnd != nullptr && SendMessageW(hwnd, EM_SETREADONLY, editable ? 0 : 1, 0) == 0) {
        throw AWTException(L"::SendMessage(EM_SETREADONLY) failed", zeno::Exception::NO_ERROR_CODE);
    }
}

void TextComponent::getSelection(std::uint32_t* start, std::uint32_t* end) const {
    if (hwnd != nullptr) {
        SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(start),
                     reinterpret_cast<LPARAM>(end));
    }
}

void TextComponent::selectAll() {
    if (hwnd != nullptr) {
        SendMessageW(hwnd, EM_SETSEL, 0, -1);
    }
}

void TextComponent::addTextListener(TextListener* listener) { listeners.add(listener); }

void TextComponent::removeTextListener(TextListener* listener) { listeners.remove(listener); }

bool TextComponent::isTextDirty() const { return (textFlags & TEXT_DIRTY) != 0; }

void TextComponent::fireTextValueChanged() {
    TextEvent event;
    event.source = this;
    listeners.fire(&TextListener::textValueChanged, &event);
}

} // namespace awt

#pragma once

#include <cstdint>
#include <string>

#include "awt/Component.h"

namespace awt {

class TextListener;

// Text over an EDIT window. The component keeps its own copy of the text and takes the window's
// text only when it is asked for after the user changed it, so the text survives the window.
// Every change fires a text event; listeners that want the new text call getText.
class TextComponent : public Component {
public:
    explicit TextComponent(const std::wstring& text);

    LPCWSTR getClassName() const override;
    LPCWSTR getWindowText() const override;
    DWORD getStyle() const override;
    DWORD getExStyle() const override;
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT processCommand(UINT notificationCode, WPARAM wParam, bool* handled) override;
    // Keeps what the user typed before the window goes.
    void destroyPeer() override;

    // The current text, read from the window when the user changed it.
    const std::wstring& getText() const;
    // Shows the text and fires a text event, unless nothing would change. Throws AWTException
    // "::SetWindowText() failed".
    void setText(const std::wstring& text);
    bool isEditable() const;
    // Throws AWTException "::SendMessage(EM_SETREADONLY) failed"; the flag is stored anyway and
    // used for a window created later.
    void setEditable(bool editable);
    // The selected range; nothing is written without a window.
    void getSelection(std::uint32_t* start, std::uint32_t* end) const;
    void selectAll();

    void addTextListener(TextListener* listener);
    void removeTextListener(TextListener* listener);

protected:
    static constexpr std::uint8_t TEXT_DIRTY = 1;
    static constexpr std::uint8_t EDITABLE = 2;

    bool isTextDirty() const;
    void fireTextValueChanged();

    mutable std::wstring text;
    mutable std::uint8_t textFlags;
    mutable Dimension preferredCache;

private:
    void synchronize() const;

    // Set while the component itself writes the window's text, whose EN_CHANGE is no user change.
    bool settingWindowText;
};

} // namespace awt

#pragma once

#include <string>

#include "awt/Component.h"

namespace awt {

class ActionListener;

// A push button; a click fires an action event to its action listeners.
class Button : public Component {
public:
    // The caption from the program's string table.
    explicit Button(UINT textId);
    explicit Button(const std::wstring& text);

    LPCWSTR getClassName() const override;
    LPCWSTR getWindowText() const override;
    DWORD getStyle() const override;
    LRESULT processCommand(UINT notificationCode, WPARAM wParam, bool* handled) override;
    // The caption's extent with room for the edges and the focus frame; (0, 0) without a window
    // (not cached).
    Dimension getPreferredSize() const override;

    void addActionListener(ActionListener* listener);
    void removeActionListener(ActionListener* listener);

    const std::wstring& getText() const;
    bool isDefaultButton() const;
    // The dialog's default button draws a heavier frame.
    void setDefaultButton(bool isDefault);

private:
    std::wstring text;
    bool isDefault;
    mutable Dimension preferredCache;
};

} // namespace awt

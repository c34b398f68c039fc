#pragma once

#include <string>

#include "awt/Panel.h"

namespace awt {

// A container drawn as a titled group box. Its insets keep the children inside the frame, it
// paints its background in its parent's control colour (a group box paints none) and it takes
// the mouse over its whole area (a group box is transparent to it). It is a group for arrow-key
// focus traversal.
class BorderedPanel : public Panel {
public:
    // The title from the program's string table.
    explicit BorderedPanel(UINT titleId);
    explicit BorderedPanel(const std::wstring& title);

    LPCWSTR getClassName() const override;
    LPCWSTR getWindowText() const override;
    DWORD getStyle() const override;
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Forgets the insets, so that a new window with another font gets its own.
    void destroyPeer() override;
    // Room for the frame and the caption, from the font of the window; zeros without a window.
    Insets getInsets() const override;

    // Throws AWTException "::SetWindowText() failed". The insets stay as they are.
    void setTitle(const std::wstring& title);
    const std::wstring& getTitle() const;

private:
    LRESULT eraseBackground(HDC dc, bool* handled);

    std::wstring title;
    mutable Insets insetsCache;
};

} // namespace awt

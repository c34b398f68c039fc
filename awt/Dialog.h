#pragma once

#include <cstdint>
#include <string>

#include "awt/Frame.h"

namespace awt {

// A frame without minimize and maximize boxes that opens at its owner's client corner. Showing
// a modal dialog disables its owner and runs a nested message loop until the dialog is hidden
// again (by a button handler, the close box, ...); only then does setVisible(true) return.
class Dialog : public Frame {
public:
    Dialog(Window* owner, const std::wstring& title, bool modal);

    // Overrides.
    void setResizable(bool resizable) override;
    HWND createWindow() override;
    DWORD getStyle() const override;
    DWORD getExStyle() const override;
    void setVisible(bool visible) override;

    bool isModal() const;

private:
    static constexpr std::uint8_t MODAL = 1;
    static constexpr std::uint8_t OWNER_WAS_ENABLED = 2;

    void showModal();
    void hideModal();

    std::uint8_t dialogFlags;
};

}  // namespace awt

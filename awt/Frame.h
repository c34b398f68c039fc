#pragma once

#include <cstdint>
#include <string>

#include <windows.h>

#include "awt/OwnedIcon.h"
#include "awt/Window.h"

namespace awt {

// A window with a caption: title, small and large icon, minimize box, and two flags. A
// resizable frame has a sizing border and a maximize box; a frame that is not closable greys
// its close item and ignores the close box and Alt+F4.
class Frame : public Window {
public:
    Frame(Window* owner, const std::wstring& title);
    ~Frame() noexcept(false) override;

    // Slots 43 and 44.
    virtual void setResizable(bool resizable);
    virtual void setClosable(bool closable);

    // Overrides.
    HWND createWindow() override;
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LPCWSTR getWindowText() const override;
    DWORD getStyle() const override;
    // The frame insets of the native window: children are placed inside the client area.
    Insets getInsets() const override;

    // Throws AWTException "::SetWindowText() failed" when the native window refuses it.
    void setTitle(const std::wstring& title);
    // The title from the program's string table.
    void setTitle(UINT stringId);
    const std::wstring& getTitle() const;
    // Loads both icon sizes of the icon resource; throws AWTException "::LoadImage() failed".
    void setIcon(UINT iconId);
    HICON getSmallIcon() const;
    HICON getBigIcon() const;
    bool isResizable() const;
    bool isClosable() const;

protected:
    static constexpr std::uint8_t RESIZABLE = 1;
    static constexpr std::uint8_t CLOSABLE = 2;

    // Adds or removes the style bits of the sizing border and redraws the frame.
    void applyResizableStyle(bool resizable, DWORD bits);
    std::uint8_t frameFlags;

private:
    void applyCloseItemState(HWND window);
    void sendIcons(HWND window);

    std::wstring title;
    OwnedIcon smallIcon;
    OwnedIcon bigIcon;
};

}  // namespace awt

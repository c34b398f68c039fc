#pragma once

#include <windows.h>

namespace awt {

class Window;

// A window's menu bar. The window owns it, attaches it to its native window when that exists
// and enables or disables its items with the window's component tree.
class MenuBar {
public:
    MenuBar() = default;
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;
    virtual ~MenuBar() = default;

    virtual void attach(HWND window) = 0;
    virtual void detach(HWND window) = 0;
    virtual void setItemsEnabled(bool enabled) = 0;

    Window* getOwner() const { return owner; }
    void setOwner(Window* window) { owner = window; }

private:
    Window* owner = nullptr;
};

// The object a menu with MNS_NOTIFYBYPOS keeps as its menu data (MENUINFO::dwMenuData): the
// window's WM_MENUCOMMAND activates the item at the chosen position through it.
class MenuItems {
public:
    virtual ~MenuItems() = default;
    virtual int getItemCount() const = 0;
    // Fires the item's action listeners; the index is already checked.
    virtual void activateItem(int index) = 0;
};

}  // namespace awt

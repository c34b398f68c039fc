#pragma once

#include <memory>
#include <string>

#include <windows.h>

#include "awt/Geometry.h"

namespace awt {

class Component;

// Base of the wrappers around the system's common dialogs. The system dialog is modal and runs
// inside setVisible(true); this object knows its owner, its title, the position and size asked
// for, and, while the dialog is on screen, its window.
class CommonDialog {
public:
    // The title zeno::nilString stands for the system's default title.
    CommonDialog(Component* owner, const std::wstring& title);
    CommonDialog(const CommonDialog&) = delete;
    CommonDialog& operator=(const CommonDialog&) = delete;
    virtual ~CommonDialog();

    // Throw AWTException "::SetWindowText() failed" or "::SetWindowPos() failed" when the shown
    // dialog refuses the change.
    virtual void setTitle(const std::wstring& title);
    virtual void setLocation(int x, int y);
    virtual void setSize(int width, int height);
    virtual void setVisible(bool visible) = 0;
    // The dialog window now exists: remember it and apply the stored position and size.
    virtual void attach(HWND dialog);
    // The dialog window is gone.
    virtual void detach();
    // Closes the shown dialog as if the user had cancelled it.
    virtual void close();

    Component* getOwner() const;
    const std::wstring& getTitle() const;
    // The dialog's window while it is on screen, null otherwise.
    HWND getHandle() const;

protected:
    Component* owner;
    std::wstring title;
    std::unique_ptr<Point> location;
    std::unique_ptr<Dimension> size;
    HWND handle;
};

} // namespace awt

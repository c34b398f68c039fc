#include "awt/Dialog.h"

#include "awt/Toolkit.h"

namespace awt {

namespace {

constexpr DWORD RESIZABLE_DIALOG_STYLE = WS_THICKFRAME;
constexpr DWORD BOXES = WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

}  // namespace

Dialog::Dialog(Window* owner, const std::wstring& title, bool modal)
    : Frame(owner, title), dialogFlags(modal ? MODAL : 0) {}

void Dialog::setResizable(bool resizable) {
    applyResizableStyle(resizable, RESIZABLE_DIALOG_STYLE);
}

HWND Dialog::createWindow() {
    Window* owner = getOwner();
    if (owner != nullptr && x == CW_USEDEFAULT && y == CW_USEDEFAULT) {
        // Open at the owner's client-area corner.
        const Point origin = owner->getLocation();
        const Insets insets = owner->getInsets();
        x = origin.x + insets.left;
        y = origin.y + insets.top;
    }
    return Frame::createWindow();
}

DWORD Dialog::getStyle() const {
    return Frame::getStyle() & ~BOXES;
}

DWORD Dialog::getExStyle() const {
    return Frame::getExStyle() | (getOwner() != nullptr ? WS_EX_DLGMODALFRAME : 0);
}

void Dialog::setVisible(bool visible) {
    if (visible == isVisible()) {
        return;
    }
    if (!isModal()) {
        Frame::setVisible(visible);
    } else if (visible) {
        showModal();
    } else {
        hideModal();
    }
}

bool Dialog::isModal() const {
    return (dialogFlags & MODAL) != 0;
}

void Dialog::showModal() {
    if (Window* owner = getOwner()) {
        if (owner->isEnabled()) {
            dialogFlags |= OWNER_WAS_ENABLED;
        } else {
            dialogFlags &= static_cast<std::uint8_t>(~OWNER_WAS_ENABLED);
        }
        owner->setEnabled(false);
    }
    Frame::setVisible(true);
    getToolkit()->runModal(this);
}

void Dialog::hideModal() {
    Window* owner = getOwner();
    // Enabled before this window hides, so that the activation goes back to the owner.
    if (owner != nullptr && (dialogFlags & OWNER_WAS_ENABLED) != 0) {
        owner->setEnabled(true);
    }
    // The toolkit is cached with the native window, which the hiding may take away.
    Toolkit* modalToolkit = getToolkit();
    Frame::setVisible(false);
    if (owner != nullptr) {
        owner->toFront();
    }
    modalToolkit->endModal(this);
}

}  // namespace awt

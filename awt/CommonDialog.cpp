#include "awt/CommonDialog.h"

#include "awt/AWTException.h"

namespace awt {

CommonDialog::CommonDialog(Component* owner, const std::wstring& title)
    : owner(owner), title(title), handle(nullptr) {}

CommonDialog::~CommonDialog() = default;

void CommonDialog::setTitle(const std::wstring& newTitle) {
    if (newTitle == title) {
        return;
    }
    title = newTitle;
    if (handle != nullptr && !SetWindowTextW(handle, title.c_str())) {
        throwLastError(L"::SetWindowText() failed");
    }
}

void CommonDialog::setLocation(int x, int y) {
    if (!location) {
        location = std::make_unique<Point>();
    }
    location->x = x;
    location->y = y;
    if (handle != nullptr && !SetWindowPos(handle, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER)) {
        throwLastError(L"::SetWindowPos() failed");
    }
}

void CommonDialog::setSize(int width, int height) {
    if (!size) {
        size = std::make_unique<Dimension>();
    }
    size->width = width;
    size->height = height;
    if (handle != nullptr &&
        !SetWindowPos(handle, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER)) {
        throwLastError(L"::SetWindowPos() failed");
    }
}

void CommonDialog::attach(HWND dialog) {
    handle = dialog;
    if (!location && !size) {
        return;
    }
    UINT flags = SWP_NOZORDER | SWP_NOREDRAW;
    if (!size) {
        flags |= SWP_NOSIZE;
    }
    if (!location) {
        flags |= SWP_NOMOVE;
    }
    // The dialog still shows at its default place if the system refuses; nothing to report.
    SetWindowPos(handle, nullptr, location ? location->x : 0, location ? location->y : 0,
                 size ? size->width : 0, size ? size->height : 0, flags);
}

void CommonDialog::detach() { handle = nullptr; }

void CommonDialog::close() {
    if (handle != nullptr) {
        PostMessageW(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}

Component* CommonDialog::getOwner() const { return owner; }

const std::wstring& CommonDialog::getTitle() const { return title; }

HWND CommonDialog::getHandle() const { return handle; }

} // namespace awt

#include "awt/List.h"

#include <algorithm>
#include <utility>

#include "awt/AWTException.h"
#include "awt/Event.h"
#include "awt/Listener.h"
#include "awt/SingleListSelectionModel.h"
#include "zeno/Exception.h"
#include "zeno/Strings.h"

namespace awt {

List::List()
    : selectionModel(std::make_unique<SingleListSelectionModel>(this)),
      visibleRows(3),
      preferredCache{-1, -1},
      redrawSuspension(0) {}

List::~List() noexcept(false) = default;

LPCWSTR List::getClassName() const { return L"LISTBOX"; }

DWORD List::getStyle() const {
    return Component::getStyle() | selectionModel->getListBoxStyle() | LBS_NOTIFY |
           LBS_NOINTEGRALHEIGHT | WS_TABSTOP | WS_VSCROLL;
}

DWORD List::getExStyle() const { return Component::getExStyle() | WS_EX_CLIENTEDGE; }

HWND List::createWindow() {
    HWND window = Component::createWindow();
    try {
        SendMessageW(window, LB_INITSTORAGE, items.size(), 0);
        // Without drawing while the rows go in: the list box would otherwise set its scroll
        // bar again for every one of thousands of rows.
        SendMessageW(window, WM_SETREDRAW, 0, 0);
        for (const std::wstring& item : items) {
            const LRESULT result =
                SendMessageW(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            if (result < 0) {
                throwListBoxFailure(L"LB_ADDSTRING", result);
            }
        }
        SendMessageW(window, WM_SETREDRAW, 1, 0);
        selectionModel->applyTo(window);
    } catch (...) {
        DestroyWindow(window);
        throw;
    }
    return window;
}

LRESULT List::processCommand(UINT notificationCode, WPARAM wParam, bool* handled) {
    switch (notificationCode) {
    case LBN_SELCHANGE:
    case LBN_SELCANCEL:
        if (selectionModel->updateFrom(hwnd)) {
            fireItemStateChanged();
        }
        break;
    case LBN_DBLCLK:
        fireActionPerformed();
        break;
    default:
        return Component::processCommand(notificationCode, wParam, handled);
    }
    *handled = true;
    return 0;
}

Dimension List::getPreferredSize() const {
    if (hwnd == nullptr) {
        return Dimension{};
    }
    if (preferredCache.width != -1) {
        return preferredCache;
    }
    std::vector<Dimension> extents;
    measureTexts(items, &extents, nullptr);
    std::int32_t widest = 0;
    for (const Dimension& extent : extents) {
        widest = std::max(widest, extent.width);
    }
    const LRESULT itemHeight = SendMessageW(hwnd, LB_GETITEMHEIGHT, 0, 0);
    if (itemHeight == LB_ERR) {
        throwListBoxFailure(L"LB_GETITEMHEIGHT", itemHeight);
    }
    const Insets frame = getStyleInsets();
    preferredCache.width = frame.left + frame.right + 2 * GetSystemMetrics(SM_CXBORDER) +
                           GetSystemMetrics(SM_CXVSCROLL) + widest;
    preferredCache.height =
        visibleRows * static_cast<std::int32_t>(itemHeight) + frame.top + frame.bottom;
    return preferredCache;
}

std::int32_t List::getItemCount() const { return static_cast<std::int32_t>(items.size()); }

const std::wstring& List::getItem(std::int32_t index) const {
    zeno::checkIndex(L"index", 0, getItemCount(), index);
    return items[static_cast<std::size_t>(index)];
}

void List::add(std::wstring item) { insert(std::move(item), getItemCount()); }

void List::insert(std::wstring item, std::int32_t index) {
    zeno::checkIndex(L"index", 0, getItemCount() + 1, index);
    const std::wstring& inserted = *items.insert(items.begin() + index, std::move(item));
    // Also without a window: a cached size would be stale when a new window is made.
    forgetPreferredSize();
    if (hwnd != nullptr) {
        const LRESULT result = SendMessageW(hwnd, LB_INSERTSTRING, static_cast<WPARAM>(index),
                                            reinterpret_cast<LPARAM>(inserted.c_str()));
        if (result < 0) {
            throwListBoxFailure(L"LB_ADDSTRING", result);
        }
        // A row inserted after the selection (or with none) leaves the selection where it was:
        // filling a list of thousands of rows then asks the list box once per row, not twice.
        const std::int32_t selected = selectionModel->getSelectedIndex();
        if (selected >= index && selectionModel->updateFrom(hwnd)) {
            fireItemStateChanged();
        }
    } else if (selectionModel->itemsInserted(index, 1)) {
        fireItemStateChanged();
    }
}

void List::removeAll() {
    if (items.empty()) {
        return;
    }
    items.clear();
    forgetPreferredSize();
    if (hwnd != nullptr) {
        SendMessageW(hwnd, LB_RESETCONTENT, 0, 0);
    }
    if (selectionModel->clearSelection(hwnd)) {
        fireItemStateChanged();
    }
}

void List::scrollToTop() {
    if (hwnd != nullptr && !items.empty()) {
        SendMessageW(hwnd, LB_SETTOPINDEX, 0, 0);
    }
}

void List::ensureCapacity(std::int32_t count) {
    if (count <= 0) {
        return;
    }
    items.reserve(static_cast<std::size_t>(count));
    if (hwnd != nullptr) {
        SendMessageW(hwnd, LB_INITSTORAGE, static_cast<WPARAM>(count), 0);
    }
}

std::int32_t List::getSelectedIndex() const { return selectionModel->getSelectedIndex(); }

void List::select(std::int32_t index) {
    if (index == -1) {
        clearSelection();
        return;
    }
    zeno::checkIndex(L"index", 0, getItemCount(), index);
    if (selectionModel->select(hwnd, index)) {
        fireItemStateChanged();
    }
}

void List::clearSelection() {
    if (selectionModel->clearSelection(hwnd)) {
        fireItemStateChanged();
    }
}

ListSelectionModel* List::getSelectionModel() const { return selectionModel.get(); }

void List::setRedraw(bool redraw) {
    if (redraw) {
        // An unmatched setRedraw(true) must not make a later setRedraw(false) ineffective.
        if (redrawSuspension > 0) {
            --redrawSuspension;
        }
    } else {
        ++redrawSuspension;
    }
    if (hwnd != nullptr) {
        const bool drawing = redrawSuspension <= 0;
        SendMessageW(hwnd, WM_SETREDRAW, drawing ? 1 : 0, 0);
        if (drawing) {
            // The list box does not repaint itself when drawing resumes.
            repaintAll();
        }
    }
}

void List::addItemListener(ItemListener* listener) { listeners.add(listener); }

void List::removeItemListener(ItemListener* listener) { listeners.remove(listener); }

void List::addActionListener(ActionListener* listener) { listeners.add(listener); }

void List::removeActionListener(ActionListener* listener) { listeners.remove(listener); }

void List::throwListBoxFailure(const wchar_t* messageName, LRESULT result) {
    std::wstring message = L"::SendMessage(";
    message += messageName;
    message += L") failed: ";
    if (result == LB_ERRSPACE) {
        message += L"LB_ERRSPACE";
    } else if (result == LB_ERR) {
        message += L"LB_ERR";
    } else {
        message += zeno::toString(static_cast<std::int32_t>(result));
    }
    throw AWTException(message, zeno::Exception::NO_ERROR_CODE);
}

void List::fireItemStateChanged() {
    ItemEvent event;
    event.source = this;
    listeners.fire(&ItemListener::itemStateChanged, &event);
}

void List::fireActionPerformed() {
    ActionEvent event;
    event.source = this;
    listeners.fire(&ActionListener::actionPerformed, &event);
}

void List::forgetPreferredSize() { preferredCache = Dimension{-1, -1}; }

} // namespace awt

#include "awt/SingleListSelectionModel.h"

#include "zeno/Exception.h"

namespace awt {

SingleListSelectionModel::SingleListSelectionModel(List* list) : list(list), selected(-1) {}

std::uint32_t SingleListSelectionModel::getListBoxStyle() { return 0; }

void SingleListSelectionModel::applyTo(HWND listBox) {
    // LB_SETCURSEL answers LB_ERR for -1 although it cleared the selection: nothing to check.
    SendMessageW(listBox, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

bool SingleListSelectionModel::updateFrom(HWND listBox) {
    const std::int32_t before = selected;
    const LRESULT current = SendMessageW(listBox, LB_GETCURSEL, 0, 0);
    selected = current == LB_ERR ? -1 : static_cast<std::int32_t>(current);
    return selected != before;
}

bool SingleListSelectionModel::itemsInserted(std::int32_t index, std::int32_t count) {
    if (selected < index) {
        return false;
    }
    selected += count;
    return true;
}

bool SingleListSelectionModel::itemsRemoved(std::int32_t index, std::int32_t count) {
    if (selected == -1 || selected < index) {
        return false;
    }
    if (selected >= index + count) {
        selected -= count;
    } else {
        selected = -1;
    }
    return true;
}

std::int32_t SingleListSelectionModel::getSelectedIndex() { return selected; }

std::vector<std::int32_t> SingleListSelectionModel::getSelectedIndices() {
    throw zeno::IllegalStateException();
}

bool SingleListSelectionModel::hasSelection() { return selected != -1; }

bool SingleListSelectionModel::select(HWND listBox, std::int32_t index) {
    if (index == selected) {
        return false;
    }
    selected = index;
    if (listBox != nullptr) {
        applyTo(listBox);
    }
    return true;
}

bool SingleListSelectionModel::addSelection(HWND, std::int32_t) { return false; }

bool SingleListSelectionModel::deselect(HWND listBox, std::int32_t index) {
    // Deselecting -1 while nothing is selected is no change.
    if (index != selected || selected == -1) {
        return false;
    }
    selected = -1;
    if (listBox != nullptr) {
        applyTo(listBox);
    }
    return true;
}

bool SingleListSelectionModel::clearSelection(HWND listBox) { return select(listBox, -1); }

List* SingleListSelectionModel::getList() const { return list; }

} // namespace awt

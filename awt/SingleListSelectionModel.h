#pragma once

#include "awt/ListSelectionModel.h"

namespace awt {

class List;

// At most one selected item.
class SingleListSelectionModel : public ListSelectionModel {
public:
    explicit SingleListSelectionModel(List* list);

    std::uint32_t getListBoxStyle() override;
    void applyTo(HWND listBox) override;
    bool updateFrom(HWND listBox) override;
    bool itemsInserted(std::int32_t index, std::int32_t count) override;
    bool itemsRemoved(std::int32_t index, std::int32_t count) override;
    std::int32_t getSelectedIndex() override;
    // Throws zeno::IllegalStateException: one selection has no index list.
    std::vector<std::int32_t> getSelectedIndices() override;
    bool hasSelection() override;
    bool select(HWND listBox, std::int32_t index) override;
    // A single selection cannot grow: changes nothing.
    bool addSelection(HWND listBox, std::int32_t index) override;
    bool deselect(HWND listBox, std::int32_t index) override;
    bool clearSelection(HWND listBox) override;

    List* getList() const;

private:
    List* list;
    std::int32_t selected;
};

} // namespace awt

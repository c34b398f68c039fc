#pragma once

#include <cstdint>
#include <vector>

#include <windows.h>

namespace awt {

// The selection of an awt::List, kept apart from the list box so that it survives the list's
// window. Operations that take the list box window accept null when the list has none; they
// return whether the selection changed.
class ListSelectionModel {
public:
    virtual ~ListSelectionModel() = default;

    // Extra list-box style bits the model needs (for example multiple selection).
    virtual std::uint32_t getListBoxStyle() = 0;
    // Shows the model's selection in the list box.
    virtual void applyTo(HWND listBox) = 0;
    // Takes the user's selection from the list box.
    virtual bool updateFrom(HWND listBox) = 0;
    virtual bool itemsInserted(std::int32_t index, std::int32_t count) = 0;
    virtual bool itemsRemoved(std::int32_t index, std::int32_t count) = 0;
    // The selected index, -1 for none.
    virtual std::int32_t getSelectedIndex() = 0;
    // Every selected index, in ascending order, for models that allow several.
    virtual std::vector<std::int32_t> getSelectedIndices() = 0;
    virtual bool hasSelection() = 0;
    // Makes the index the selection (-1 clears it).
    virtual bool select(HWND listBox, std::int32_t index) = 0;
    // Adds the index to the selection, for models that allow several.
    virtual bool addSelection(HWND listBox, std::int32_t index) = 0;
    virtual bool deselect(HWND listBox, std::int32_t index) = 0;
    virtual bool clearSelection(HWND listBox) = 0;
};

} // namespace awt

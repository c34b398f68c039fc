#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "awt/Component.h"

namespace awt {

class ActionListener;
class ItemListener;
class ListSelectionModel;

// A column of text items in a LISTBOX window. The items and the selection (kept in the list's
// ListSelectionModel) live on the component side: the list can be filled before its window
// exists and a new window shows the same items and selection. Selection changes, by the user or
// by the program, fire item events; a double click fires an action event.
class List : public Component {
public:
    List();
    ~List() noexcept(false) override;

    LPCWSTR getClassName() const override;
    DWORD getStyle() const override;
    DWORD getExStyle() const override;
    // Fills the new list box with the items and the selection.
    HWND createWindow() override;
    LRESULT processCommand(UINT notificationCode, WPARAM wParam, bool* handled) override;
    // The widest item with room for the frame and the scroll bar, by three rows; (0, 0) without a
    // window (not cached).
    Dimension getPreferredSize() const override;

    std::int32_t getItemCount() const;
    const std::wstring& getItem(std::int32_t index) const;
    void add(std::wstring item);
    // index from 0 to the item count; others throw zeno::IndexOutOfBoundsException.
    void insert(std::wstring item, std::int32_t index);
    void removeAll();
    void ensureCapacity(std::int32_t count);
    // Shows the first row at the top, as a list filled anew does.
    void scrollToTop();

    std::int32_t getSelectedIndex() const;
    // -1 clears the selection; other indexes outside the items throw
    // zeno::IndexOutOfBoundsException.
    void select(std::int32_t index);
    void clearSelection();
    ListSelectionModel* getSelectionModel() const;

    // Nests: drawing resumes when every setRedraw(false) is matched by a setRedraw(true).
    void setRedraw(bool redraw);

    void addItemListener(ItemListener* listener);
    void removeItemListener(ItemListener* listener);
    void addActionListener(ActionListener* listener);
    void removeActionListener(ActionListener* listener);

    // A list-box message that answered with a failure: AWTException (code -1)
    // "::SendMessage(" + name + ") failed: " + LB_ERRSPACE, LB_ERR or the result.
    [[noreturn]] static void throwListBoxFailure(const wchar_t* messageName, LRESULT result);

private:
    void fireItemStateChanged();
    void fireActionPerformed();
    void forgetPreferredSize();

    std::vector<std::wstring> items;
    std::unique_ptr<ListSelectionModel> selectionModel;
    std::int32_t visibleRows;
    mutable Dimension preferredCache;
    std::int32_t redrawSuspension;
};

} // namespace awt

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "awt/BorderLayout.h"
#include "awt/GridFlowLayout.h"
#include "awt/Listener.h"
#include "awt/ListenerAdapters.h"
#include "awt/List.h"
#include "awt/Panel.h"
#include "awt/TextArea.h"
#include "awt/TextField.h"
#include "awt/ToolTip.h"
#include "codes/CodeTable.h"
#include "codes/MessageFormatter.h"

// One code kind (NTSTATUS or Win32 error code): the current code as name, decimal, hexadecimal
// and message text, above the list of the table's names. Typing into a field, picking a row or
// the arrow keys change the current code; every change is reported to the item listeners.
class ErrorCodePane : public awt::Panel, public awt::KeyListener {
public:
    // Marks "no code" in currentCode.
    static constexpr std::uint32_t NO_CODE = 0xFFFFFFFFu;

    ErrorCodePane(const std::wstring& title, CodeTable* table, MessageFormatter* formatter);
    // noexcept: awt::KeyListener's destructor does not throw, so this one may not either.
    ~ErrorCodePane() noexcept override;

    awt::Component* getNameField() const;
    awt::Component* getDecimalField() const;
    awt::Component* getHexField() const;
    awt::Component* getMessageArea() const;
    awt::List* getList() const;

    std::uint32_t getCurrentCode() const;

    // Shows a code with the table's name for it (empty when the table has none).
    void showCode(std::uint32_t code);
    // Shows a code with the given name text.
    void display(std::uint32_t code, const std::wstring& name);
    // Shows nothing; notifies nobody.
    void clear();
    // Makes the list show exactly these codes, in the given order.
    void setCandidates(const std::vector<std::uint32_t>& codes);
    // Makes the list show every entry of the table.
    void fillAll();
    // Makes the list show the entries whose name contains the text.
    void filterByName(const std::wstring& text);

    void addItemListener(awt::ItemListener* listener);

    void keyPressed(awt::KeyEvent* event) override;
    void keyReleased(awt::KeyEvent* event) override;
    void keyTyped(awt::KeyEvent* event) override;

    // Listener targets.
    void onNameChanged();
    void onDecimalChanged();
    void onHexChanged();
    void onListSelection();

private:
    void notifyItemListeners();
    // Shows the list row i (Up and Down); nothing when the list is empty.
    void showRow(std::int32_t row);
    // After a handler rewrote the field the user is typing into, puts the caret at its end.
    void keepCaretAtEnd(awt::TextField* field, const std::wstring& typed);

    std::wstring title;
    CodeTable* table;             // not owned
    MessageFormatter* formatter;  // not owned
    awt::ToolTip toolTip;
    awt::TextField* nameField;
    awt::TextField* decimalField;
    awt::TextField* hexField;
    awt::TextArea* messageArea;
    awt::List* list;
    awt::BorderLayout paneLayout;
    awt::GridFlowLayout fieldsLayout;
    std::uint32_t currentCode;
    std::vector<std::uint32_t> candidates;
    std::int32_t updating;
    // The code whose message text the message area shows, when messageShown: showing it again
    // (the other pane's counterpart often stays the same) needs no new formatting.
    std::uint32_t messageCode;
    bool messageShown;
    std::vector<std::unique_ptr<awt::TextListener_mem_fun_t<ErrorCodePane>>> textAdapters;
    std::vector<std::unique_ptr<awt::ItemListener_mem_fun_t<ErrorCodePane>>> paneItemAdapters;
};

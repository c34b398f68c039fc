#include "app/ErrorCodePane.h"

#include <algorithm>
#include <memory>

#include "app/CounterGuard.h"
#include "awt/Label.h"
#include "awt/TextComponent.h"
#include "codes/CodeExceptions.h"
#include "zeno/Exception.h"
#include "zeno/Strings.h"

namespace {

const std::uint32_t VK_CODE_PAGE_UP = 33;
const std::uint32_t VK_CODE_PAGE_DOWN = 34;
const std::uint32_t VK_CODE_UP = 38;
const std::uint32_t VK_CODE_DOWN = 40;
const std::uint32_t VK_CODE_C = 67;
const std::uint32_t MODIFIER_CONTROL = 2;

}  // namespace

ErrorCodePane::ErrorCodePane(const std::wstring& title, CodeTable* table, MessageFormatter* formatter)
    : title(title),
      table(table),
      formatter(formatter),
      toolTip(nullptr, zeno::emptyString),
      nameField(nullptr),
      decimalField(nullptr),
      hexField(nullptr),
      messageArea(nullptr),
      list(nullptr),
      currentCode(NO_CODE),
      updating(0),
      messageCode(NO_CODE),
      messageShown(false) {
    // Each control goes into its container as soon as it is made, so that one owner holds it.
    auto fieldsPanel = std::make_unique<awt::Panel>();
    fieldsLayout.setRowsAndCols(0, 1);
    fieldsLayout.setDefaultGaps();
    fieldsPanel->setLayout(&fieldsLayout);
    awt::LayoutManager::Constraints cell;
    auto* titleLabel = new awt::Label(
        title + L"   (total " + zeno::toString(static_cast<std::uint32_t>(table->size()), 10) + L" entries)",
        SS_LEFT);
    fieldsPanel->add(titleLabel, cell);
    toolTip.setTarget(titleLabel);
    toolTip.setText(table->headerPath());

    fieldsPanel->add(nameField = new awt::TextField(32), cell);
    fieldsPanel->add(decimalField = new awt::TextField(16), cell);
    fieldsPanel->add(hexField = new awt::TextField(16), cell);
    fieldsPanel->add(messageArea = new awt::TextArea(zeno::emptyString, 5, 32), cell);
    messageArea->setEditable(false);

    paneLayout.setDefaultGaps();
    setLayout(&paneLayout);
    add(fieldsPanel.release(), awt::BorderLayout::NORTH);
    add(list = new awt::List(), awt::BorderLayout::CENTER);

    auto textAdapter = [this](void (ErrorCodePane::*target)()) {
        textAdapters.push_back(std::make_unique<awt::TextListener_mem_fun_t<ErrorCodePane>>(this, target));
        return textAdapters.back().get();
    };
    nameField->addTextListener(textAdapter(&ErrorCodePane::onNameChanged));
    decimalField->addTextListener(textAdapter(&ErrorCodePane::onDecimalChanged));
    hexField->addTextListener(textAdapter(&ErrorCodePane::onHexChanged));
    paneItemAdapters.push_back(
        std::make_unique<awt::ItemListener_mem_fun_t<ErrorCodePane>>(this, &ErrorCodePane::onListSelection));
    list->addItemListener(paneItemAdapters.back().get());

    nameField->addKeyListener(this);
    decimalField->addKeyListener(this);
    hexField->addKeyListener(this);
    messageArea->addKeyListener(this);

    fillAll();
    showCode(0);
}

ErrorCodePane::~ErrorCodePane() noexcept {
    paneItemAdapters.clear();
    textAdapters.clear();
}

awt::Component* ErrorCodePane::getNameField() const { return nameField; }
awt::Component* ErrorCodePane::getDecimalField() const { return decimalField; }
awt::Component* ErrorCodePane::getHexField() const { return hexField; }
awt::Component* ErrorCodePane::getMessageArea() const { return messageArea; }
awt::List* ErrorCodePane::getList() const { return list; }

std::uint32_t ErrorCodePane::getCurrentCode() const { return currentCode; }

void ErrorCodePane::showCode(std::uint32_t code) {
    std::wstring name;
    try {
        name = table->nameOf(code);
    } catch (const EntryNotFoundException&) {
        name.clear();
    }
    display(code, name);
}

void ErrorCodePane::display(std::uint32_t code, const std::wstring& name) {
    const bool changed = currentCode != code;
    currentCode = code;
    {
        CounterGuard guard(updating);
        nameField->setText(name);
        decimalField->setText(zeno::toString(code, 10));
        hexField->setText(L"0x" + zeno::toString(code, 16));
        if (!messageShown || messageCode != code) {
            messageArea->setText(formatter->format(code));
            messageCode = code;
            messageShown = true;
        }
        auto found = std::find(candidates.begin(), candidates.end(), code);
        if (found == candidates.end()) {
            fillAll();
            found = std::find(candidates.begin(), candidates.end(), code);
        }
        if (found != candidates.end()) {
            list->select(static_cast<std::int32_t>(found - candidates.begin()));
        } else {
            list->clearSelection();
        }
    }
    if (changed) {
        notifyItemListeners();
    }
}

void ErrorCodePane::clear() {
    currentCode = NO_CODE;
    CounterGuard guard(updating);
    nameField->setText(zeno::emptyString);
    decimalField->setText(zeno::emptyString);
    hexField->setText(zeno::emptyString);
    messageArea->setText(zeno::emptyString);
    messageShown = false;
    fillAll();
    list->clearSelection();
}

void ErrorCodePane::fillAll() {
    CounterGuard guard(updating);
    const std::size_t size = table->size();
    if (candidates.size() == size) {
        return;
    }
    candidates.clear();
    candidates.reserve(size);
    list->setRedraw(false);
    list->removeAll();
    list->ensureCapacity(static_cast<std::int32_t>(size));
    for (auto entry = table->begin(); entry != table->end(); ++entry) {
        candidates.push_back(entry->first);
        list->add(std::wstring(entry->second));
    }
    list->setRedraw(true);
    const awt::Dimension listSize = list->getSize();
    list->repaint(0, 0, listSize.width, listSize.height);
}

void ErrorCodePane::setCandidates(const std::vector<std::uint32_t>& codes) {
    CounterGuard guard(updating);
    candidates.clear();
    list->removeAll();
    candidates.reserve(codes.size());
    list->ensureCapacity(static_cast<std::int32_t>(codes.size()));
    for (std::uint32_t code : codes) {
        std::wstring name(table->nameOf(code));
        candidates.push_back(code);
        list->add(std::move(name));
    }
}

void ErrorCodePane::filterByName(const std::wstring& text) {
    CounterGuard guard(updating);
    std::vector<std::uint32_t> matching;
    matching.reserve(candidates.size());
    for (auto entry = table->begin(); entry != table->end(); ++entry) {
        if (entry->second.find(text) != std::wstring_view::npos) {
            matching.push_back(entry->first);
        }
    }
    if (matching == candidates) {
        // Typing the start that thousands of names share keeps the same rows: the list keeps
        // them and ends as a refilled one would, scrolled to the top and without a selection.
        list->clearSelection();
        list->scrollToTop();
    } else {
        candidates.swap(matching);
        list->setRedraw(false);
        list->removeAll();
        // Room for every row at once: the list box would otherwise grow its storage step by step.
        list->ensureCapacity(static_cast<std::int32_t>(candidates.size()));
        for (auto entry = table->begin(); entry != table->end(); ++entry) {
            if (entry->second.find(text) != std::wstring_view::npos) {
                list->add(std::wstring(entry->second));
            }
        }
        list->setRedraw(true);
    }
    const awt::Dimension listSize = list->getSize();
    list->repaint(0, 0, listSize.width, listSize.height);
}

void ErrorCodePane::onNameChanged() {
    if (updating > 0) {
        return;
    }
    CounterGuard guard(updating);
    const std::wstring typed = nameField->getText();
    const std::wstring name = zeno::toUpper(typed);
    std::uint32_t value;
    try {
        value = table->valueOf(name);
    } catch (const EntryNotFoundException&) {
        filterByName(name);
        return;
    }
    display(value, name);
    keepCaretAtEnd(nameField, typed);
}

void ErrorCodePane::onDecimalChanged() {
    if (updating > 0) {
        return;
    }
    CounterGuard guard(updating);
    const std::wstring typed = decimalField->getText();
    std::uint32_t value;
    try {
        value = zeno::parseDecimal(typed);
    } catch (const zeno::NumberFormatException&) {
        return;
    }
    showCode(value);
    keepCaretAtEnd(decimalField, typed);
}

void ErrorCodePane::onHexChanged() {
    if (updating > 0) {
        return;
    }
    CounterGuard guard(updating);
    const std::wstring typed = hexField->getText();
    std::wstring digits = typed;
    if (zeno::startsWith(digits, L"0x")) {
        digits.erase(0, 2);
        // A "0" typed key by key is shown as "0x0" at once, so the "x" that follows gives
        // "0x0x": the second prefix is the one the user is typing.
        if (zeno::startsWith(digits, L"0x")) {
            digits.erase(0, 2);
        }
    }
    std::uint32_t value;
    try {
        value = zeno::parseHex(digits);
    } catch (const zeno::NumberFormatException&) {
        return;
    }
    showCode(value);
    keepCaretAtEnd(hexField, typed);
}

void ErrorCodePane::keepCaretAtEnd(awt::TextField* field, const std::wstring& typed) {
    // Showing the code rewrote the field being typed into (upper case, canonical number form), and
    // the edit control then puts its caret at the start: the next keystroke would land in front
    // of the text. Continue typing at its end instead.
    HWND window = field->getHWND();
    if (window != nullptr && field->getText() != typed) {
        const WPARAM end = static_cast<WPARAM>(field->getText().size());
        SendMessageW(window, EM_SETSEL, end, end);
    }
}

void ErrorCodePane::onListSelection() {
    if (updating > 0) {
        return;
    }
    CounterGuard guard(updating);
    const std::int32_t row = list->getSelectedIndex();
    if (row != -1) {
        showCode(candidates[static_cast<std::size_t>(row)]);
    }
}

void ErrorCodePane::showRow(std::int32_t row) {
    // After a filter that matched nothing there is no row to show.
    if (row < 0 || static_cast<std::size_t>(row) >= candidates.size()) {
        return;
    }
    showCode(candidates[static_cast<std::size_t>(row)]);
}

void ErrorCodePane::keyPressed(awt::KeyEvent* event) {
    switch (event->keyCode) {
    case VK_CODE_PAGE_UP:
    case VK_CODE_PAGE_DOWN:
        SendMessageW(list->getHWND(), WM_KEYDOWN, event->keyCode, 0);
        event->consumed = true;
        break;
    case VK_CODE_UP: {
        std::int32_t row = list->getSelectedIndex();
        if (row == -1) {
            row = 0;
        } else if (row > 0) {
            row = row - 1;
        }
        showRow(row);
        event->consumed = true;
        break;
    }
    case VK_CODE_DOWN: {
        std::int32_t row = list->getSelectedIndex();
        if (row == -1) {
            row = 0;
        } else if (row < list->getItemCount() - 1) {
            row = row + 1;
        }
        showRow(row);
        event->consumed = true;
        break;
    }
    case VK_CODE_C:
        if (event->modifiers == MODIFIER_CONTROL) {
            // Nothing selected: copy the whole text. The event goes on to the control, which copies.
            auto* text = dynamic_cast<awt::TextComponent*>(awt::Component::getFocusedComponent());
            if (text != nullptr) {
                std::uint32_t start = 0;
                std::uint32_t end = 0;
                text->getSelection(&start, &end);
                if (start == end) {
                    text->selectAll();
                }
            }
        }
        break;
    default:
        break;
    }
}

void ErrorCodePane::keyReleased(awt::KeyEvent*) {}

void ErrorCodePane::keyTyped(awt::KeyEvent*) {}

void ErrorCodePane::addItemListener(awt::ItemListener* listener) {
    listeners.add(listener);
}

void ErrorCodePane::notifyItemListeners() {
    awt::ItemEvent event;
    event.source = this;
    listeners.fire(&awt::ItemListener::itemStateChanged, &event);
}

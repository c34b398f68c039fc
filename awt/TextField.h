#pragma once

#include <cstdint>

#include "awt/TextComponent.h"

namespace awt {

class ActionListener;

// One line of text, as wide as a number of average characters. Enter without modifier keys fires
// an action event; focusing it by requestFocus selects the whole text.
class TextField : public TextComponent {
public:
    explicit TextField(std::int32_t columns);

    DWORD getStyle() const override;
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // (0, 0) without a window (not cached).
    Dimension getPreferredSize() const override;
    void requestFocus() override;

    void addActionListener(ActionListener* listener);
    void removeActionListener(ActionListener* listener);
    std::int32_t getColumns() const;

private:
    std::int32_t columns;
};

} // namespace awt

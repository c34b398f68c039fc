#pragma once

#include <cstdint>
#include <string>

#include "awt/TextComponent.h"

namespace awt {

// Several lines of text with a vertical scroll bar, sized in rows and average characters.
class TextArea : public TextComponent {
public:
    TextArea(const std::wstring& text, std::int32_t rows, std::int32_t columns);

    DWORD getStyle() const override;
    // (0, 0) without a window (not cached).
    Dimension getPreferredSize() const override;

    std::int32_t getRows() const;
    std::int32_t getColumns() const;

private:
    std::int32_t rows;
    std::int32_t columns;
};

} // namespace awt

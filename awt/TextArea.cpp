#include "awt/TextArea.h"

namespace awt {

TextArea::TextArea(const std::wstring& text, std::int32_t rows, std::int32_t columns)
    : TextComponent(text), rows(rows), columns(columns) {}

DWORD TextArea::getStyle() const {
    return TextComponent::getStyle() | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
}

Dimension TextArea::getPreferredSize() const {
    if (hwnd == nullptr) {
        return Dimension{};
    }
    if (preferredCache.width == -1) {
        const TEXTMETRICW metrics = getTextMetrics();
        const Insets frame = getStyleInsets();
        preferredCache.width = columns * metrics.tmAveCharWidth + frame.left + frame.right +
                               GetSystemMetrics(SM_CXVSCROLL) + 2;
        preferredCache.height = rows * metrics.tmHeight + frame.top + frame.bottom + 2;
    }
    return preferredCache;
}

std::int32_t TextArea::getRows() const { return rows; }

std::int32_t TextArea::getColumns() const { return columns; }

} // namespace awt

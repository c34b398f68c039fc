#pragma once

#include <cstdint>
#include <string>

#include "awt/Component.h"

namespace awt {

// Static text of one or more lines (separated by U+000A), without mnemonic prefixes.
class Label : public Component {
public:
    // alignment: SS_LEFT, SS_CENTER or SS_RIGHT.
    explicit Label(const std::wstring& text, std::uint32_t alignment = SS_LEFT);
    // The text from the program's string table.
    explicit Label(UINT textId, std::uint32_t alignment = SS_LEFT);

    LPCWSTR getClassName() const override;
    LPCWSTR getWindowText() const override;
    DWORD getStyle() const override;
    // The widest line by the height of a line times the number of lines, in the window's font;
    // (0, 0) without a window (not cached) or for an empty text.
    Dimension getPreferredSize() const override;

    void setAlignment(std::uint32_t alignment);
    std::uint32_t getAlignment() const;
    const std::wstring& getText() const;

private:
    std::wstring text;
    std::uint32_t alignment;
    mutable Dimension preferredCache;
};

} // namespace awt

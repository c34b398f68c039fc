#include "awt/Label.h"

#include <algorithm>
#include <vector>

#include "awt/Toolkit.h"

namespace awt {

namespace {

constexpr DWORD ALIGNMENT_BITS = SS_LEFT | SS_CENTER | SS_RIGHT;

// Lines end at U+000A; a final U+000A adds no empty line.
std::vector<std::wstring> splitLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace

Label::Label(const std::wstring& text, std::uint32_t alignment)
    : text(text), alignment(alignment), preferredCache{-1, -1} {}

Label::Label(UINT textId, std::uint32_t alignment) : Label(Toolkit::loadString(textId), alignment) {}

LPCWSTR Label::getClassName() const { return L"STATIC"; }

LPCWSTR Label::getWindowText() const { return text.c_str(); }

DWORD Label::getStyle() const {
    return Component::getStyle() | alignment | SS_NOPREFIX | SS_NOTIFY;
}

Dimension Label::getPreferredSize() const {
    if (hwnd == nullptr) {
        return Dimension{};
    }
    if (preferredCache.width != -1) {
        return preferredCache;
    }
    Dimension size;
    if (!text.empty()) {
        const std::vector<std::wstring> lines = splitLines(text);
        std::vector<Dimension> extents;
        TEXTMETRICW metrics{};
        measureTexts(lines, &extents, &metrics);
        for (const Dimension& extent : extents) {
            size.width = std::max(size.width, extent.width);
        }
        size.height = (metrics.tmHeight + metrics.tmExternalLeading) *
                      static_cast<std::int32_t>(lines.size());
    }
    preferredCache = size;
    return size;
}

void Label::setAlignment(std::uint32_t newAlignment) {
    if (newAlignment == alignment) {
        return;
    }
    alignment = newAlignment;
    if (hwnd != nullptr) {
        replaceStyle(ALIGNMENT_BITS, alignment);
        repaint(0, 0, width, height);
    }
}

std::uint32_t Label::getAlignment() const { return alignment; }

const std::wstring& Label::getText() const { return text; }

} // namespace awt

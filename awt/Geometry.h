#pragma once

#include <cstdint>

namespace awt {

// Pixel values of the toolkit. Component positions are relative to the top-left corner of the
// parent's window rectangle; top-level windows use screen coordinates.

struct Dimension {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct Insets {
    std::int32_t top = 0;
    std::int32_t left = 0;
    std::int32_t bottom = 0;
    std::int32_t right = 0;
};

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct Rectangle {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

inline bool operator==(const Dimension& a, const Dimension& b) {
    return a.width == b.width && a.height == b.height;
}
inline bool operator!=(const Dimension& a, const Dimension& b) { return !(a == b); }

inline bool operator==(const Insets& a, const Insets& b) {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}
inline bool operator!=(const Insets& a, const Insets& b) { return !(a == b); }

inline bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const Point& a, const Point& b) { return !(a == b); }

inline bool operator==(const Rectangle& a, const Rectangle& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}
inline bool operator!=(const Rectangle& a, const Rectangle& b) { return !(a == b); }

} // namespace awt

#pragma once

namespace awt {

// Rows and columns of a grid layout. A zero count is derived from the number of children,
// so that (0, 3) means "three columns, as many rows as needed".
struct GridShape {
    int rows;
    int cols;

    // Throws zeno::IllegalArgumentException for a negative count or when both are zero.
    static void check(int rows, int cols);

    // The counts actually used for a container with the given number of children
    // (hidden children included).
    GridShape effective(int childCount) const;
};

}  // namespace awt

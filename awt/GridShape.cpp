#include "awt/GridShape.h"

#include "zeno/Exception.h"
#include "zeno/Strings.h"

namespace awt {

void GridShape::check(int rows, int cols) {
    if (rows < 0) {
        throw zeno::IllegalArgumentException(L"rows: " + zeno::toString(rows, 10));
    }
    if (cols < 0) {
        throw zeno::IllegalArgumentException(L"cols: " + zeno::toString(cols, 10));
    }
    if (rows == 0 && cols == 0) {
        throw zeno::IllegalArgumentException(L"both of rows and cols specified 0");
    }
}

GridShape GridShape::effective(int childCount) const {
    GridShape shape{rows, cols};
    if (rows == 0) {
        shape.rows = (childCount + cols - 1) / cols;
    }
    if (cols == 0) {
        shape.cols = (childCount + rows - 1) / rows;
    }
    return shape;
}

}  // namespace awt

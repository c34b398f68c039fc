#pragma once

namespace awt {

// Gaps between neighbouring components, derived once per process from the metrics of the
// default GUI font: the average character width horizontally, half the character height
// vertically.
void getDefaultGaps(int& hgap, int& vgap);

}  // namespace awt

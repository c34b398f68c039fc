#pragma once

#include <string>

namespace zeno {

// Writes the text and a line feed to the debugger output.
void debugLog(const std::wstring& text);

} // namespace zeno

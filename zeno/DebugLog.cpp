#include "zeno/DebugLog.h"

#include <windows.h>

namespace zeno {

void debugLog(const std::wstring& text) {
    OutputDebugStringW((text + L"\n").c_str());
}

} // namespace zeno

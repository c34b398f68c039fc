#include "zeno/CriticalSection.h"

namespace zeno {

CriticalSection::CriticalSection() {
    InitializeCriticalSection(&section);
}

CriticalSection::~CriticalSection() {
    DeleteCriticalSection(&section);
}

void CriticalSection::lock() {
    EnterCriticalSection(&section);
}

void CriticalSection::unlock() {
    LeaveCriticalSection(&section);
}

} // namespace zeno

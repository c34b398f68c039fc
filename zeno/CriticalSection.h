#pragma once

#include <windows.h>

namespace zeno {

// One Win32 critical section; recursive for its owning thread. Works with std::lock_guard.
class CriticalSection {
public:
    CriticalSection();
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    ~CriticalSection();

    void lock();
    void unlock();

private:
    CRITICAL_SECTION section;
};

} // namespace zeno

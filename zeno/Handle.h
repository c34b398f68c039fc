#pragma once

#include <windows.h>

namespace zeno {

// Owns one kernel handle; null and INVALID_HANDLE_VALUE both mean nothing to close.
// Call close() at the end of the normal path: it throws "::CloseHandle() failed" on failure.
// The destructor closes what is left without reporting failures, so unwinding stays silent.
class Handle {
public:
    explicit Handle(HANDLE handle = nullptr);
    Handle(Handle&& other) noexcept;
    Handle& operator=(Handle&& other) noexcept;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle();

    HANDLE get() const;
    bool isOpen() const;
    void close();
    // Gives up ownership without closing.
    HANDLE detach();

private:
    HANDLE handle;
};

} // namespace zeno

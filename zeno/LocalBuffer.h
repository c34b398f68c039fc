#pragma once

namespace zeno {

// Owns memory that the system allocated for the caller with LocalAlloc (e.g. by FormatMessageW).
// Call release() at the end of the normal path: it throws "::LocalFree() failed" on failure.
// The destructor releases what is left without reporting failures, so unwinding stays silent.
class LocalBuffer {
public:
    explicit LocalBuffer(void* memory = nullptr);
    LocalBuffer(const LocalBuffer&) = delete;
    LocalBuffer& operator=(const LocalBuffer&) = delete;
    ~LocalBuffer();

    void* get() const;
    void release();

private:
    void* memory;
};

} // namespace zeno

#pragma once

#include <cstddef>

namespace zeno {

// A reserved range of wide characters, committed from the base on demand.
// Call release() at the end of the normal path: it throws "::VirtualFree() failed" on failure.
// The destructor frees what is left without reporting failures, so unwinding stays silent.
class VirtualBuffer {
public:
    // Reserves capacity wide characters; throws "::VirtualAlloc(MEM_RESERVE) failed".
    explicit VirtualBuffer(std::size_t capacity);
    VirtualBuffer(const VirtualBuffer&) = delete;
    VirtualBuffer& operator=(const VirtualBuffer&) = delete;
    ~VirtualBuffer();

    // Makes the first n wide characters usable; never shrinks. Throws "::VirtualAlloc(MEM_COMMIT) failed".
    void commit(std::size_t n);
    wchar_t* data() const;
    // Number of wide characters committed so far.
    std::size_t committedSize() const;
    void release();

private:
    wchar_t* base;
    std::size_t committed;
};

} // namespace zeno

#pragma once

#include <cstdint>

namespace zeno {

// One thread-local storage index; each thread sees its own value (null until set).
class TlsSlot {
public:
    // Throws zeno::Exception "::TlsAlloc() failed".
    TlsSlot();
    TlsSlot(const TlsSlot&) = delete;
    TlsSlot& operator=(const TlsSlot&) = delete;
    ~TlsSlot();

    std::uint32_t getIndex() const;
    // The calling thread's value.
    void* get() const;
    // Throws zeno::Exception "::TlsSetValue() failed".
    void set(void* value) const;

private:
    std::uint32_t index;
};

} // namespace zeno

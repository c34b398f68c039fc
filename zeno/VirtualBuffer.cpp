#include "zeno/VirtualBuffer.h"

#include <cstdint>

#include <windows.h>

#include "zeno/Exception.h"

namespace zeno {

namespace {

// Sizes whose byte count would not fit in a size_t cannot be reserved or committed.
constexpr std::size_t MAX_UNITS = SIZE_MAX / sizeof(wchar_t);

} // namespace

VirtualBuffer::VirtualBuffer(std::size_t capacity) : base(nullptr), committed(0) {
    if (capacity > MAX_UNITS) {
        throw IllegalArgumentException(L"capacity");
    }
    base = static_cast<wchar_t*>(
        VirtualAlloc(nullptr, capacity * sizeof(wchar_t), MEM_RESERVE, PAGE_READWRITE));
    if (base == nullptr) {
        throw Exception(L"::VirtualAlloc(MEM_RESERVE) failed", GetLastError());
    }
}

VirtualBuffer::~VirtualBuffer() {
    if (base != nullptr) {
        VirtualFree(base, 0, MEM_RELEASE);
    }
}

void VirtualBuffer::commit(std::size_t n) {
    if (n <= committed) {
        return;
    }
    if (base == nullptr) {
        throw IllegalStateException(L"released");
    }
    if (n > MAX_UNITS) {
        throw IllegalArgumentException(L"n");
    }
    if (VirtualAlloc(base, n * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE) == nullptr) {
        throw Exception(L"::VirtualAlloc(MEM_COMMIT) failed", GetLastError());
    }
    committed = n;
}

wchar_t* VirtualBuffer::data() const {
    return base;
}

std::size_t VirtualBuffer::committedSize() const {
    return committed;
}

void VirtualBuffer::release() {
    if (base == nullptr) {
        return;
    }
    wchar_t* released = base;
    base = nullptr;
    committed = 0;
    if (!VirtualFree(released, 0, MEM_RELEASE)) {
        throw Exception(L"::VirtualFree() failed", GetLastError());
    }
}

} // namespace zeno

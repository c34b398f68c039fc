#include "zeno/LocalBuffer.h"

#include <windows.h>

#include "zeno/Exception.h"

namespace zeno {

LocalBuffer::LocalBuffer(void* memory) : memory(memory) {}

LocalBuffer::~LocalBuffer() {
    if (memory != nullptr) {
        LocalFree(memory);
    }
}

void* LocalBuffer::get() const {
    return memory;
}

void LocalBuffer::release() {
    if (memory == nullptr) {
        return;
    }
    // Given up before the call: a failed LocalFree must not be retried by the destructor.
    void* released = memory;
    memory = nullptr;
    if (LocalFree(released) != nullptr) {
        throw Exception(L"::LocalFree() failed", GetLastError());
    }
}

} // namespace zeno

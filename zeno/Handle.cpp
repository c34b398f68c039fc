#include "zeno/Handle.h"

#include "zeno/Exception.h"

namespace zeno {

namespace {

bool isRealHandle(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

} // namespace

Handle::Handle(HANDLE handle) : handle(handle) {}

Handle::Handle(Handle&& other) noexcept : handle(other.detach()) {}

Handle& Handle::operator=(Handle&& other) noexcept {
    if (this != &other) {
        if (isRealHandle(handle)) {
            CloseHandle(handle);
        }
        handle = other.detach();
    }
    return *this;
}

Handle::~Handle() {
    if (isRealHandle(handle)) {
        CloseHandle(handle);
    }
}

HANDLE Handle::get() const {
    return handle;
}

bool Handle::isOpen() const {
    return isRealHandle(handle);
}

void Handle::close() {
    const HANDLE closing = detach();
    if (isRealHandle(closing) && !CloseHandle(closing)) {
        throw Exception(L"::CloseHandle() failed", GetLastError());
    }
}

HANDLE Handle::detach() {
    const HANDLE detached = handle;
    handle = nullptr;
    return detached;
}

} // namespace zeno

#include "zeno/TlsSlot.h"

#include <windows.h>

#include "zeno/Exception.h"

namespace zeno {

TlsSlot::TlsSlot() : index(TlsAlloc()) {
    if (index == TLS_OUT_OF_INDEXES) {
        throw Exception(L"::TlsAlloc() failed", GetLastError());
    }
}

TlsSlot::~TlsSlot() {
    if (index != TLS_OUT_OF_INDEXES) {
        TlsFree(index);
        index = TLS_OUT_OF_INDEXES;
    }
}

std::uint32_t TlsSlot::getIndex() const {
    return index;
}

void* TlsSlot::get() const {
    return TlsGetValue(index);
}

void TlsSlot::set(void* value) const {
    if (!TlsSetValue(index, value)) {
        throw Exception(L"::TlsSetValue() failed", GetLastError());
    }
}

} // namespace zeno

#include "zeno/FormatMessage.h"

#include <windows.h>

#include "zeno/Exception.h"
#include "zeno/LocalBuffer.h"

namespace zeno {

void formatMessage(std::uint32_t code, std::wstring& appendTo) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0) {
        const DWORD error = GetLastError();
        LocalBuffer leftover(text);
        throw Exception(L"::FormatMessage() failed", error);
    }
    LocalBuffer buffer(text);
    appendTo.append(text, length);
    buffer.release();
}

} // namespace zeno

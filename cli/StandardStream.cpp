#include "cli/StandardStream.h"

#include "codes/Utf8.h"

#include <algorithm>

namespace {

// Older consoles refuse single writes of more than about 64 KB.
const std::size_t CONSOLE_CHUNK_UNITS = 8192;

} // namespace

void writeStandardStream(DWORD which, const std::wstring& text)
{
    const HANDLE stream = GetStdHandle(which);
    if (stream == nullptr || stream == INVALID_HANDLE_VALUE || text.empty()) {
        return;
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(stream, &mode)) {
        for (std::size_t start = 0; start < text.size();) {
            std::size_t count = std::min(CONSOLE_CHUNK_UNITS, text.size() - start);
            // A surrogate pair stays in one write.
            if (start + count < text.size() && text[start + count - 1] >= 0xD800 && text[start + count - 1] <= 0xDBFF) {
                --count;
            }
            if (!WriteConsoleW(stream, text.data() + start, static_cast<DWORD>(count), &written, nullptr)) {
                return;
            }
            start += count;
        }
        return;
    }
    const std::string bytes = encodeUtf8(text);
    WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

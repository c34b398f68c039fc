#include "codes/Win32ErrorCodeMessageFormatter.h"

#include "zeno/Exception.h"
#include "zeno/FormatMessage.h"

std::wstring Win32ErrorCodeMessageFormatter::format(std::uint32_t code) const
{
    std::wstring text;
    try {
        zeno::formatMessage(code, text);
    } catch (const zeno::Exception&) {
        // No text for this code: the pane shows none.
        return std::wstring();
    }
    return text;
}

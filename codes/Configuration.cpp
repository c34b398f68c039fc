#include "codes/Configuration.h"

#include "codes/ByteSpan.h"
#include "codes/Utf8.h"

#include "zeno/Exception.h"
#include "zeno/File.h"
#include "zeno/Handle.h"
#include "zeno/MappedFile.h"
#include "zeno/Strings.h"

#include <cstdint>
#include <string_view>

#include <windows.h>

namespace {

constexpr std::wstring_view NTSTATUS_KEY = L"ntstatus.h=";
constexpr std::wstring_view WIN32_KEY = L"winerror.h=";

void appendValue(const ByteSpan& line, std::wstring_view key, std::wstring& value)
{
    ByteSpan rest = line.middle(static_cast<std::uint32_t>(key.size()), 0);
    decodeUtf8(rest.data(), rest.size(), value);
}

} // namespace

void readConfiguration(const std::wstring& configPath, std::wstring& ntStatusPath, std::wstring& win32Path)
{
    zeno::MappedFile file(configPath, zeno::MappedFile::READ, zeno::nilString);
    ByteSpan bytes(file.data(), static_cast<std::uint32_t>(file.size()));
    ByteSpan line;
    while (bytes.nextLine(line)) {
        if (line.startsWith(NTSTATUS_KEY)) {
            appendValue(line, NTSTATUS_KEY, ntStatusPath);
        } else if (line.startsWith(WIN32_KEY)) {
            appendValue(line, WIN32_KEY, win32Path);
        }
    }
    file.close();
}

void writeConfiguration(const std::wstring& ntStatusField, const std::wstring& win32Field,
                        const std::wstring& configPath)
{
    std::wstring text;
    text.append(NTSTATUS_KEY).append(ntStatusField).append(zeno::crlf);
    text.append(WIN32_KEY).append(win32Field).append(zeno::crlf);
    std::string bytes = encodeUtf8(text);

    zeno::Handle file(zeno::openFile(configPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        DWORD error = GetLastError();
        throw zeno::IOException(L"failed to write to " + configPath, error);
    }
    file.close();
}

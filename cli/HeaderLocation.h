#pragma once

#include <string>

// Where the console lookup takes its headers from, in this order:
//   --config FILE;
//   kelvane.cfg in the working directory;
//   kelvane.cfg beside the executable (a copy in a folder on PATH works from anywhere);
//   the newest Windows SDK under the 32-bit Program Files folder,
//     Windows Kits\10\Include\<version>\shared\ (versions compared part by part, as numbers),
//     or under another Windows Kits folder given instead (FOLDER\Include\<version>\shared\);
//   else kelvane.cfg in the working directory, which then fails to open as in the window.
struct HeaderLocation {
    std::wstring configPath;       // empty when the headers come from the SDK
    std::wstring sdkFolder;        // the SDK's shared\ folder, ending in a backslash

    // kitsFolder: empty for Windows Kits\10 under the 32-bit Program Files folder.
    static HeaderLocation find(const std::wstring& configOption, const std::wstring& kitsFolder = std::wstring());
};

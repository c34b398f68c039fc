#pragma once

#include <string>

// The program's name and version, shown in the status bar of the main window.
extern const std::wstring programName;
extern const std::wstring versionString;

#include "app/Version.h"

#include "KelvaneVersion.h"

const std::wstring programName = L"Kelvane";
const std::wstring versionString = L"" KELVANE_VERSION;

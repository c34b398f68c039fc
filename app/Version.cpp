#include "app/Version.h"

const std::wstring programName = L"Kelvane";
const std::wstring versionString = L"0.1.2";

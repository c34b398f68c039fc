#pragma once

#include <string>

#include <windows.h>

// Writes text to standard output or standard error (STD_OUTPUT_HANDLE, STD_ERROR_HANDLE): to a
// console as UTF-16 with WriteConsoleW, to a pipe or a file as UTF-8, so that names and texts in
// any language survive both. A stream that is closed or missing takes nothing.
void writeStandardStream(DWORD which, const std::wstring& text);

#pragma once

#include <string>

// The configuration file: the lines "ntstatus.h=<path>" and "winerror.h=<path>", 8-bit text.

// Appends the values of the two keys to the two strings (the caller passes them empty). Every
// CR and LF ends a line; keys match case-sensitively from the first byte; values are taken
// verbatim up to the line end; a key on several lines yields the concatenation of its values;
// other lines are ignored. Throws zeno::FileNotFoundException / zeno::IOException when the file
// cannot be opened or mapped (a file of zero bytes cannot be mapped).
void readConfiguration(const std::wstring& configPath, std::wstring& ntStatusPath, std::wstring& win32Path);

// Writes "ntstatus.h=" + ntStatusField + CR LF + "winerror.h=" + win32Field + CR LF to
// configPath, replacing the file. ASCII is written one byte per unit, other characters as UTF-8
// (read back unchanged by readConfiguration). Throws zeno::FileNotFoundException /
// zeno::IOException when the file cannot be created, zeno::IOException "failed to write to " +
// path when writing fails, zeno::Exception "::CloseHandle() failed" when closing fails.
void writeConfiguration(const std::wstring& ntStatusField, const std::wstring& win32Field,
                        const std::wstring& configPath);

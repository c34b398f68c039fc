#pragma once

#include <string>

class CodeTable;

// Add every "#define STATUS_<name> ((NTSTATUS)0x<hex>L)" line of an ntstatus.h, or every
// "#define ERROR_<name> <decimal>L" line of a winerror.h, to the table; all other lines are
// passed over. The path is recorded in the table before the file is opened. Writes
// "NTSTATUS loaded N entries" / "Win32 Error Code loaded N entries" to the debugger output,
// N being the table's size afterwards. Throws zeno::FileNotFoundException / zeno::IOException
// when the file cannot be opened or mapped.
void scanNtStatusHeader(CodeTable& ntStatusTable, const std::wstring& path);
void scanWin32ErrorHeader(CodeTable& win32Table, const std::wstring& path);

// Add every "#define <any name> _HRESULT_TYPEDEF_(0x<hex>L)" line of a winerror.h to the table
// (the window passes them over). The first definition of a name counts and later lines for it
// are passed over entirely, so that of winerror.h's two branches the Windows one, which comes
// first, wins. Writes "HRESULT loaded N entries" to the debugger output.
void scanHResultHeader(CodeTable& hresultTable, const std::wstring& path);

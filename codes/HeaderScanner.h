#pragma once

#include <string>
#include <string_view>

class CodeTable;

// Sees every "#define NAME ..." line of a scan, in file order, whatever the table takes of it.
// The views are into the file and valid only during the call.
class DefinitionListener {
public:
    struct Definition {
        std::string_view name;
        // The token after the name (empty when the line ends there).
        std::string_view value;
        const char* afterName;
        const char* end;

        // Everything after the name up to the line end: blanks, the value, comments.
        std::string_view restOfLine() const;
    };

    virtual void definition(const Definition& definition) = 0;

protected:
    ~DefinitionListener() = default;
};

// Add every "#define STATUS_<name> ((NTSTATUS)0x<hex>L)" line of an ntstatus.h, or every
// "#define ERROR_<name> <decimal>L" line of a winerror.h, to the table; all other lines are
// passed over. The path is recorded in the table before the file is opened. Writes
// "NTSTATUS loaded N entries" / "Win32 Error Code loaded N entries" to the debugger output,
// N being the table's size afterwards. Throws zeno::FileNotFoundException / zeno::IOException
// when the file cannot be opened or mapped.
void scanNtStatusHeader(CodeTable& ntStatusTable, const std::wstring& path);
void scanWin32ErrorHeader(CodeTable& win32Table, const std::wstring& path);
// The same, and the listener sees every definition in the same pass.
void scanNtStatusDefinitions(CodeTable& ntStatusTable, const std::wstring& path, DefinitionListener& everyDefinition);
void scanWin32ErrorDefinitions(CodeTable& win32Table, const std::wstring& path, DefinitionListener& everyDefinition);

// Only the listener's pass, for a small header that fills no table: read into memory, which
// costs less than a mapping. Throws as the scans above do when the file cannot be opened, and
// zeno::IOException "::ReadFile(" + path + ") failed" when it cannot be read or is empty.
void scanDefinitions(const std::wstring& path, DefinitionListener& everyDefinition);


#pragma once

#include <functional>
#include <string>

#include "codes/ReverseMap.h"

class CodeTable;
class DefinitionListener;

// The one loading sequence of the program, shared by the window and the console lookup so that
// the two never disagree: configuration file, ntstatus.h, winerror.h, reverse map, in this order.
// Each file is read and closed before the next; a failure stops the sequence at that file (later
// files are not read, the reverse map is not built) and leaves what was added in the tables.
class LoadSequence {
public:
    // Called after each phase with its name ("configuration", "ntstatus.h", "winerror.h",
    // "reverse map").
    using PhaseListener = std::function<void(const wchar_t* phase)>;
    // Called with the two header paths once they are known, before either is read.
    using HeadersListener = std::function<void(const std::wstring& ntStatusPath, const std::wstring& win32Path)>;

    LoadSequence(CodeTable& ntStatusTable, CodeTable& win32Table, ReverseMap& reverseMap);

    // Also shows every definition of each header to its listener (when not null), in the same
    // pass (the window has none).
    void reportDefinitionsTo(DefinitionListener* ntStatusDefinitions, DefinitionListener* win32Definitions);
    void reportPhasesTo(PhaseListener listener);
    void reportHeadersTo(HeadersListener listener);

    // Reads the header paths from the configuration file, then loads the headers.
    void run(const std::wstring& configPath);
    // The same without a configuration file.
    void runOnHeaders(const std::wstring& ntStatusPath, const std::wstring& win32Path);

private:
    void phaseDone(const wchar_t* phase) const;

    CodeTable& ntStatusTable;
    CodeTable& win32Table;
    ReverseMap& reverseMap;
    DefinitionListener* ntStatusDefinitions = nullptr;
    DefinitionListener* win32Definitions = nullptr;
    PhaseListener listener;
    HeadersListener headersListener;
};

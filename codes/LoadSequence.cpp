#include "codes/LoadSequence.h"

#include "codes/CodeTable.h"
#include "codes/Configuration.h"
#include "codes/HeaderScanner.h"

#include <utility>

LoadSequence::LoadSequence(CodeTable& ntStatusTable, CodeTable& win32Table, ReverseMap& reverseMap)
    : ntStatusTable(ntStatusTable), win32Table(win32Table), reverseMap(reverseMap)
{
}

void LoadSequence::reportDefinitionsTo(DefinitionListener* ntStatusListener, DefinitionListener* win32Listener)
{
    ntStatusDefinitions = ntStatusListener;
    win32Definitions = win32Listener;
}

void LoadSequence::reportPhasesTo(PhaseListener phaseListener)
{
    listener = std::move(phaseListener);
}

void LoadSequence::reportHeadersTo(HeadersListener listener)
{
    headersListener = std::move(listener);
}

void LoadSequence::run(const std::wstring& configPath)
{
    std::wstring ntStatusPath;
    std::wstring win32Path;
    readConfiguration(configPath, ntStatusPath, win32Path);
    phaseDone(L"configuration");
    runOnHeaders(ntStatusPath, win32Path);
}

void LoadSequence::runOnHeaders(const std::wstring& ntStatusPath, const std::wstring& win32Path)
{
    if (headersListener) {
        headersListener(ntStatusPath, win32Path);
    }
    if (ntStatusDefinitions != nullptr) {
        scanNtStatusDefinitions(ntStatusTable, ntStatusPath, *ntStatusDefinitions);
    } else {
        scanNtStatusHeader(ntStatusTable, ntStatusPath);
    }
    phaseDone(L"ntstatus.h");
    if (win32Definitions != nullptr) {
        scanWin32ErrorDefinitions(win32Table, win32Path, *win32Definitions);
    } else {
        scanWin32ErrorHeader(win32Table, win32Path);
    }
    phaseDone(L"winerror.h");
    buildReverseMap(reverseMap, ntStatusTable);
    phaseDone(L"reverse map");
}

void LoadSequence::phaseDone(const wchar_t* phase) const
{
    if (listener) {
        listener(phase);
    }
}

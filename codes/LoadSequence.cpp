#include "codes/LoadSequence.h"

#include "codes/CodeTable.h"
#include "codes/Configuration.h"
#include "codes/HeaderScanner.h"

#include <utility>

LoadSequence::LoadSequence(CodeTable& ntStatusTable, CodeTable& win32Table, ReverseMap& reverseMap)
    : ntStatusTable(ntStatusTable), win32Table(win32Table), reverseMap(reverseMap)
{
}

void LoadSequence::readHResultsInto(CodeTable& table)
{
    hresultTable = &table;
}

void LoadSequence::reportPhasesTo(PhaseListener phaseListener)
{
    listener = std::move(phaseListener);
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
    scanNtStatusHeader(ntStatusTable, ntStatusPath);
    phaseDone(L"ntstatus.h");
    scanWin32ErrorHeader(win32Table, win32Path);
    phaseDone(L"winerror.h");
    if (hresultTable != nullptr) {
        scanHResultHeader(*hresultTable, win32Path);
        phaseDone(L"HRESULT names");
    }
    buildReverseMap(reverseMap, ntStatusTable);
    phaseDone(L"reverse map");
}

void LoadSequence::phaseDone(const wchar_t* phase) const
{
    if (listener) {
        listener(phase);
    }
}

#pragma once

#include "cli/NameCatalog.h"
#include "codes/CodeTable.h"
#include "codes/LoadSequence.h"
#include "codes/ReverseMap.h"

#include <string>

struct HeaderLocation;

// Everything the console answers from, loaded in one go: the window's loading sequence (its tables
// and reverse map, as the window has them) with every definition of both headers going to the
// catalog in the same pass, then the headers the SDK keeps beside them:
//   lmerr.h, bugcodes.h      in the folder of ntstatus.h (the SDK's shared\)
//   wininet.h, winhttp.h     in ..\um\ from there, else in the same folder (a flat copy)
// A header that is not there is passed over; one that is there but cannot be read fails the load
// as ntstatus.h would. Those four are small and cost mostly their opening, so another thread reads
// them while this one reads the two large ones; they are reported as one phase, "other headers".
class ConsoleLoad {
public:
    explicit ConsoleLoad(LoadSequence::PhaseListener phaseListener = {});
    ConsoleLoad(const ConsoleLoad&) = delete;
    ConsoleLoad& operator=(const ConsoleLoad&) = delete;

    void run(const HeaderLocation& location);

    CodeTable ntStatusTable;
    CodeTable win32Table;
    ReverseMap reverseMap;
    NameCatalog catalog;

private:
    LoadSequence::PhaseListener listener;
};

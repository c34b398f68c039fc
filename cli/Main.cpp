// kelvane-lookup: the console front end of Kelvane. Loads the headers as the window does, answers
// every query of the command line in order and reports failures as the window shows them.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "cli/HeaderLocation.h"
#include "cli/JsonReport.h"
#include "cli/Lookup.h"
#include "cli/Options.h"
#include "cli/StandardStream.h"
#include "cli/TextReport.h"
#include "codes/CodeTable.h"
#include "codes/LoadSequence.h"
#include "codes/NTSTATUSMessageFormatter.h"
#include "codes/ReverseMap.h"
#include "codes/Win32ErrorCodeMessageFormatter.h"
#include "zeno/Exception.h"

namespace {

const int EXIT_ALL_FOUND = 0;
const int EXIT_SOMETHING_MISSING = 1;
const int EXIT_FAILURE_OR_USAGE = 2;

// Wall time per phase, from the program's start.
class PhaseClock {
public:
    PhaseClock()
    {
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        last = start;
    }

    void phaseDone(const std::wstring& phase)
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        phases.emplace_back(phase, milliseconds(last, now));
        last = now;
    }

    std::wstring report() const
    {
        std::wstring text;
        for (const auto& phase : phases) {
            text += line(phase.first, phase.second);
        }
        return text + line(L"total", milliseconds(start, last));
    }

private:
    double milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) const
    {
        return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
    }

    static std::wstring line(const std::wstring& phase, double milliseconds)
    {
        wchar_t figure[32];
        std::swprintf(figure, 32, L"%9.3f ms\n", milliseconds);
        return phase + std::wstring(phase.size() < 16 ? 16 - phase.size() : 1, L' ') + figure;
    }

    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER last;
    std::vector<std::pair<std::wstring, double>> phases;
};

std::wstring fullPath(const std::wstring& path)
{
    wchar_t full[MAX_PATH];
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::wstring(full, length) : path;
}

int run(const Options& options)
{
    PhaseClock clock;
    const HeaderLocation location = HeaderLocation::find(options.configPath);
    clock.phaseDone(L"finding headers");

    CodeTable ntStatusTable;
    CodeTable win32Table;
    CodeTable hresultTable;
    ReverseMap reverseMap;
    const NTSTATUSMessageFormatter ntStatusFormatter;
    const Win32ErrorCodeMessageFormatter win32Formatter;
    LoadSequence load(ntStatusTable, win32Table, reverseMap);
    load.readHResultsInto(hresultTable);
    load.reportPhasesTo([&clock](const wchar_t* phase) { clock.phaseDone(phase); });
    if (location.sdkFolder.empty()) {
        load.run(location.configPath);
    } else {
        load.runOnHeaders(location.sdkFolder + L"ntstatus.h", location.sdkFolder + L"winerror.h");
    }

    const Lookup lookup(ntStatusTable, win32Table, hresultTable, reverseMap, ntStatusFormatter, win32Formatter);
    std::vector<Answer> answers;
    bool allFound = true;
    for (const std::wstring& query : options.queries) {
        answers.push_back(lookup.answer(query));
        allFound = allFound && answers.back().found();
    }
    clock.phaseDone(L"answers");

    if (options.where) {
        const std::wstring where =
            L"configuration   "
            + (location.sdkFolder.empty() ? fullPath(location.configPath) : L"(none: the newest Windows SDK)") + L"\n"
            + L"ntstatus.h      " + ntStatusTable.headerPath() + L"  (" + std::to_wstring(ntStatusTable.size())
            + L" codes)\n" + L"winerror.h      " + win32Table.headerPath() + L"  ("
            + std::to_wstring(win32Table.size()) + L" codes, " + std::to_wstring(hresultTable.size())
            + L" HRESULT codes)\n" + (answers.empty() || options.json ? L"" : L"\n");
        writeStandardStream(options.json ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE, where);
    }
    if (!answers.empty()) {
        writeStandardStream(STD_OUTPUT_HANDLE, options.json ? jsonReport(answers) : textReport(answers));
    }
    clock.phaseDone(L"output");
    if (options.time) {
        writeStandardStream(STD_ERROR_HANDLE, clock.report());
    }
    return allFound ? EXIT_ALL_FOUND : EXIT_SOMETHING_MISSING;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    Options options;
    try {
        options = Options::parse(argc, argv);
    } catch (const zeno::IllegalArgumentException& e) {
        writeStandardStream(STD_ERROR_HANDLE,
                            L"kelvane-lookup: " + e.getMessage() + L"\nTry kelvane-lookup --help.\n");
        return EXIT_FAILURE_OR_USAGE;
    }
    if (options.help) {
        writeStandardStream(STD_OUTPUT_HANDLE, USAGE);
        return EXIT_ALL_FOUND;
    }
    try {
        return run(options);
    } catch (const zeno::Exception& e) {
        writeStandardStream(STD_ERROR_HANDLE, e.messageBoxText() + L"\n");
    } catch (const std::exception& e) {
        // Not one of ours (out of memory, a library failure): still a report, not a crash.
        const std::string what = e.what();
        writeStandardStream(STD_ERROR_HANDLE, std::wstring(what.begin(), what.end()) + L"\n");
    }
    return EXIT_FAILURE_OR_USAGE;
}

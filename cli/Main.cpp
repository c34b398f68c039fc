// kelvane-lookup: the console front end of Kelvane. Loads the headers as the window does, answers
// every query of the command line in order and reports failures as the window shows them.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "cli/ConsoleLoad.h"
#include "cli/HeaderLocation.h"
#include "cli/JsonReport.h"
#include "cli/LogScanner.h"
#include "cli/Lookup.h"
#include "cli/ModuleTexts.h"
#include "cli/Options.h"
#include "cli/ScanReport.h"
#include "cli/StandardStream.h"
#include "cli/TextInput.h"
#include "cli/TextReport.h"
#include "codes/NTSTATUSMessageFormatter.h"
#include "codes/Win32ErrorCodeMessageFormatter.h"
#include "zeno/Exception.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

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

const wchar_t* const KIND_NAMES[] = {L"NTSTATUS", L"Win32", L"HRESULT", L"bug check"};

// One line a header read: its path and its count of names of each kind.
std::wstring headerLines(const ConsoleLoad& load)
{
    const std::vector<std::vector<std::size_t>> counts = load.catalog.countsPerHeader();
    std::wstring lines;
    for (std::size_t header = 0; header < load.catalog.headers().size(); ++header) {
        std::size_t total = 0;
        std::wstring kinds;
        for (std::size_t kind = 0; kind < counts[header].size(); ++kind) {
            total += counts[header][kind];
            if (counts[header][kind] > 0) {
                kinds += (kinds.empty() ? L": " : L", ") + std::to_wstring(counts[header][kind]) + L" " + KIND_NAMES[kind];
            }
        }
        const NameCatalog::Header& read = load.catalog.headers()[header];
        std::wstring label = read.fileName + L" ";
        label.resize(std::max<std::size_t>(label.size(), 16), L' ');
        lines += label + read.path + L"  (" + std::to_wstring(total) + L" names" + kinds + L")\n";
    }
    return lines;
}

// Every name for the scanner; of a name that only its first definition gives a value, that one.
void giveNames(const NameCatalog& catalog, LogScanner& scanner)
{
    std::unordered_set<std::string_view> firstDefined;
    for (const NameCatalog::Name& name : catalog.names()) {
        if (!name.firstDefinitionWins || firstDefined.insert(name.text).second) {
            scanner.addName(name.text, name.value);
        }
    }
}

int run(const Options& options)
{
    PhaseClock clock;
    const HeaderLocation location = HeaderLocation::find(options.configPath, options.kitsFolder);
    clock.phaseDone(L"finding headers");

    ConsoleLoad load([&clock](const wchar_t* phase) { clock.phaseDone(phase); });
    load.run(location);
    const NTSTATUSMessageFormatter ntStatusFormatter;
    const Win32ErrorCodeMessageFormatter win32Formatter;
    const ModuleTexts moduleTexts;
    const Lookup lookup(load.ntStatusTable, load.win32Table, load.reverseMap, load.catalog, ntStatusFormatter,
                        win32Formatter, moduleTexts);

    std::wstring report;
    bool allFound = true;
    if (!options.scanSource.empty()) {
        LogScanner scanner;
        giveNames(load.catalog, scanner);
        scanText(options.scanSource, scanner);
        clock.phaseDone(L"scan");
        allFound = !scanner.found().empty();
        report = options.json ? scanJsonReport(scanner.found(), lookup) : scanTextReport(scanner.found(), lookup);
    } else {
        std::vector<Answer> answers;
        for (const std::wstring& query : options.queries) {
            answers.push_back(lookup.answer(query));
            allFound = allFound && answers.back().found();
        }
        if (!answers.empty()) {
            report = options.json ? jsonReport(answers) : textReport(answers);
        }
    }
    clock.phaseDone(L"answers");

    if (options.where) {
        const std::wstring where =
            L"configuration   "
            + (location.sdkFolder.empty() ? fullPath(location.configPath) : L"(none: the newest Windows SDK)") + L"\n"
            + headerLines(load) + (report.empty() || options.json ? L"" : L"\n");
        writeStandardStream(options.json ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE, where);
    }
    if (!report.empty()) {
        writeStandardStream(STD_OUTPUT_HANDLE, report);
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

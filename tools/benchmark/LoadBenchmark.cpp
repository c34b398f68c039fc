// Times the loading sequence of Kelvane on a folder of headers (by default the ones of a current
// SDK's size that the build makes): reading the configuration, scanning ntstatus.h and
// winerror.h, building the reverse map, the whole load, filling a table, and the scan of a 64 MB
// synthetic header for throughput; then, in the same run, the console lookup's whole load (the
// window's, with every definition of both headers read in the same pass, and the four headers
// beside them) and its --scan of a 100 MB synthetic log. Prints minimum, median, 95th percentile
// and maximum per phase; MB/s are bytes over the median.
//   kelvane_benchmark.exe [HEADER_FOLDER]

#include "cli/ConsoleLoad.h"
#include "cli/HeaderDefinitions.h"
#include "cli/HeaderLocation.h"
#include "cli/LogScanner.h"
#include "cli/TextInput.h"
#include "codes/CodeBatch.h"
#include "codes/CodeTable.h"
#include "codes/Configuration.h"
#include "codes/HeaderScanner.h"
#include "codes/ReverseMap.h"

#include "zeno/DebugLog.h"
#include "zeno/Exception.h"
#include "zeno/File.h"
#include "zeno/Handle.h"
#include "zeno/MappedFile.h"
#include "zeno/Strings.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <iostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <windows.h>

namespace {

struct Timing {
    double min;
    double median;
    double p95;
    double max;
};

// Wall times of `runs` calls of the phase (after one warm-up call), in seconds.
Timing timeRuns(int runs, const std::function<void()>& phase)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    phase();
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER before;
        LARGE_INTEGER after;
        QueryPerformanceCounter(&before);
        phase();
        QueryPerformanceCounter(&after);
        times.push_back(static_cast<double>(after.QuadPart - before.QuadPart) / static_cast<double>(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    return Timing{times.front(), times[times.size() / 2], times[(times.size() * 95 + 99) / 100 - 1], times.back()};
}

std::uint64_t fileSize(const std::wstring& path)
{
    zeno::MappedFile file(path, zeno::MappedFile::READ, zeno::nilString);
    return file.size();
}

double report(const char* phase, int runs, const Timing& timing, std::uint64_t bytes)
{
    std::printf("%-34s %4d runs  min %8.3f  median %8.3f  p95 %8.3f  max %8.3f ms", phase, runs,
                timing.min * 1e3, timing.median * 1e3, timing.p95 * 1e3, timing.max * 1e3);
    if (bytes != 0) {
        std::printf("  %7.1f MB/s", static_cast<double>(bytes) / timing.median / 1e6);
    }
    std::printf("\n");
    return timing.median;
}

// A log of at least `minimumBytes` as programs write them: time stamps, thread names, counts and
// durations on every line, and now and then a code in one of the forms --scan picks out.
void writeSyntheticLog(const std::wstring& path, std::uint64_t minimumBytes)
{
    static const char* const LINES[] = {
        "%s [worker-%u] INFO request %u took %u ms, %u bytes sent to 10.0.%u.7:8080\r\n",
        "%s [worker-%u] DEBUG cache hit for key user/%u/profile (%u entries, %u evicted)\r\n",
        "%s [worker-%u] WARN retrying connection %u after %u ms (attempt %u)\r\n",
        "%s [worker-%u] ERROR CreateFileW failed with error %u, HRESULT 0x8007%04X, id %u\r\n",
        "%s [worker-%u] INFO build step %u of %u finished in %u.%u s\r\n",
        "%s [worker-%u] ERROR process %u exited with code -1073741819 (STATUS_ACCESS_VIOLATION) %u\r\n",
    };
    zeno::Handle output(zeno::openFile(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
    std::string text;
    std::uint64_t written = 0;
    for (unsigned line = 0; written < minimumBytes; ++line) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "2026-12-07 15:%02u:%02u.%03u", line / 60000 % 60, line / 1000 % 60, line % 1000);
        char buffer[256];
        const unsigned kind = line % 40 == 0 ? 3 + line / 40 % 3 : line % 3;
        std::snprintf(buffer, sizeof buffer, LINES[kind], stamp, line % 16, line * 7 % 100000, line % 997,
                      line * 13 % 65536, line % 255, line % 9);
        text += buffer;
        if (text.size() >= (1u << 20)) {
            DWORD count = 0;
            if (!WriteFile(output.get(), text.data(), static_cast<DWORD>(text.size()), &count, nullptr)) {
                throw zeno::IOException(L"failed to write to " + path, GetLastError());
            }
            written += count;
            text.clear();
        }
    }
    output.close();
}

// A header of at least `minimumBytes` made of copies of `source`.
void writeLargeHeader(const std::wstring& source, const std::wstring& path, std::uint64_t minimumBytes)
{
    zeno::MappedFile input(source, zeno::MappedFile::READ, zeno::nilString);
    zeno::Handle output(zeno::openFile(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
    std::uint64_t written = 0;
    while (written < minimumBytes) {
        DWORD count = 0;
        if (!WriteFile(output.get(), input.data(), static_cast<DWORD>(input.size()), &count, nullptr)) {
            DWORD error = GetLastError();
            throw zeno::IOException(L"failed to write to " + path, error);
        }
        written += count;
    }
    output.close();
}

int run(const std::wstring& headerDir)
{
    const std::wstring ntStatusHeader = headerDir + L"/ntstatus.h";
    const std::wstring win32Header = headerDir + L"/winerror.h";

    wchar_t tempBase[MAX_PATH + 1];
    DWORD tempLength = GetTempPathW(MAX_PATH + 1, tempBase);
    const std::wstring work = std::wstring(tempBase, tempLength) + L"kelvane-benchmark-"
                              + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(work.c_str(), nullptr);
    const std::wstring configPath = work + L"\\kelvane.cfg";
    const std::wstring largeHeader = work + L"\\large-ntstatus.h";
    writeConfiguration(ntStatusHeader, win32Header, configPath);
    writeLargeHeader(ntStatusHeader, largeHeader, 64ull << 20);

    const std::uint64_t configBytes = fileSize(configPath);
    const std::uint64_t ntStatusBytes = fileSize(ntStatusHeader);
    const std::uint64_t win32Bytes = fileSize(win32Header);
    const std::uint64_t largeBytes = fileSize(largeHeader);

    // The debug lines of the scans go to the debugger output; they are part of the load all the same.
    CodeTable ntStatusTable;
    CodeTable win32Table;
    scanNtStatusHeader(ntStatusTable, ntStatusHeader);
    scanWin32ErrorHeader(win32Table, win32Header);
    std::printf("%ls\nntstatus.h: %zu entries, %llu bytes; winerror.h: %zu entries, %llu bytes\n\n",
                headerDir.c_str(), ntStatusTable.size(), static_cast<unsigned long long>(ntStatusBytes),
                win32Table.size(), static_cast<unsigned long long>(win32Bytes));

    const int runs = 200;
    report("read configuration", runs, timeRuns(runs, [&] {
               std::wstring ntPath;
               std::wstring win32Path;
               readConfiguration(configPath, ntPath, win32Path);
           }),
           0);
    // The program keeps what it loads: every run fills fresh tables that live until the phase
    // is over, so that freeing them is not timed.
    std::deque<CodeTable> tables;
    std::deque<ReverseMap> reverseMaps;
    report("scan ntstatus.h", runs, timeRuns(runs, [&] { scanNtStatusHeader(tables.emplace_back(), ntStatusHeader); }),
           ntStatusBytes);
    tables.clear();
    report("scan winerror.h", runs, timeRuns(runs, [&] { scanWin32ErrorHeader(tables.emplace_back(), win32Header); }),
           win32Bytes);
    tables.clear();
    report("build reverse map", runs,
           timeRuns(runs, [&] { buildReverseMap(reverseMaps.emplace_back(), ntStatusTable); }), 0);
    reverseMaps.clear();
    const double windowLoad = report("whole load (config, both, map)", runs, timeRuns(runs, [&] {
               std::wstring ntPath;
               std::wstring win32Path;
               readConfiguration(configPath, ntPath, win32Path);
               CodeTable& ntTable = tables.emplace_back();
               CodeTable& win32Table = tables.emplace_back();
               scanNtStatusHeader(ntTable, ntPath);
               scanWin32ErrorHeader(win32Table, win32Path);
               buildReverseMap(reverseMaps.emplace_back(), ntTable);
           }),
           configBytes + ntStatusBytes + win32Bytes);
    tables.clear();
    reverseMaps.clear();

    // Where the time goes: the file operations, one debug line, and filling a table with the
    // entries of ntstatus.h from 8-bit names, as a scan does.
    report("  open, map, close ntstatus.h", runs, timeRuns(runs, [&] {
               zeno::MappedFile file(ntStatusHeader, zeno::MappedFile::READ, zeno::nilString);
           }),
           0);
    report("  one debug line", runs, timeRuns(runs, [&] { zeno::debugLog(L"NTSTATUS loaded 2700 entries"); }), 0);
    std::vector<std::string> narrowNames;
    for (const auto& entry : ntStatusTable) {
        narrowNames.emplace_back(entry.second.begin(), entry.second.end());
    }
    // In the header's order, not the table's: every fourth entry comes last.
    std::vector<std::pair<std::uint32_t, std::string_view>> definitions;
    for (std::size_t pass = 0; pass < 2; ++pass) {
        std::size_t index = 0;
        for (const auto& entry : ntStatusTable) {
            if ((index % 4 == 0) == (pass == 1)) {
                definitions.emplace_back(entry.first, narrowNames[index]);
            }
            ++index;
        }
    }
    char label[64];
    std::snprintf(label, sizeof label, "  fill a table with %zu entries", definitions.size());
    report(label, runs, timeRuns(runs, [&] {
               CodeBatch batch;
               for (const auto& definition : definitions) {
                   batch.add(definition.first, definition.second);
               }
               tables.emplace_back().addAll(std::move(batch));
           }),
           0);
    tables.clear();

    // The console lookup: the same configuration, every definition, the four headers beside.
    std::deque<ConsoleLoad> consoleLoads;
    const HeaderLocation location{configPath, std::wstring()};
    consoleLoads.emplace_back().run(location);
    std::uint64_t extraBytes = 0;
    std::printf("\nconsole: %zu definitions from", consoleLoads.back().catalog.names().size());
    for (const NameCatalog::Header& header : consoleLoads.back().catalog.headers()) {
        std::printf(" %ls", header.fileName.c_str());
        if (header.path != ntStatusHeader && header.path != win32Header) {
            extraBytes += fileSize(header.path);
        }
    }
    std::printf("\n");
    consoleLoads.clear();
    const double consoleLoad = report("console whole load (all six, map)", runs, timeRuns(runs, [&] {
                                          consoleLoads.emplace_back().run(location);
                                      }),
                                      configBytes + ntStatusBytes + win32Bytes + extraBytes);
    consoleLoads.clear();
    std::printf("console load - window load (medians): %+.3f ms\n", (consoleLoad - windowLoad) * 1e3);
    // Where the difference goes: the same pass over each main header with every definition read,
    // and the headers beside them.
    std::deque<NameCatalog> catalogs;
    report("  scan ntstatus.h, every definition", runs, timeRuns(runs, [&] {
               NameCatalog& catalog = catalogs.emplace_back();
               HeaderDefinitions definitions(catalog, catalog.addHeader(ntStatusHeader),
                                             HeaderDefinitions::Role::NTSTATUS_HEADER);
               scanNtStatusDefinitions(tables.emplace_back(), ntStatusHeader, definitions);
           }),
           ntStatusBytes);
    report("  scan winerror.h, every definition", runs, timeRuns(runs, [&] {
               NameCatalog& catalog = catalogs.emplace_back();
               HeaderDefinitions definitions(catalog, catalog.addHeader(win32Header),
                                             HeaderDefinitions::Role::WINERROR_HEADER);
               scanWin32ErrorDefinitions(tables.emplace_back(), win32Header, definitions);
           }),
           win32Bytes);
    tables.clear();
    catalogs.clear();
    report("  read ntstatus.h, definitions only", runs, timeRuns(runs, [&] {
               NameCatalog& catalog = catalogs.emplace_back();
               HeaderDefinitions definitions(catalog, catalog.addHeader(ntStatusHeader),
                                             HeaderDefinitions::Role::NTSTATUS_HEADER);
               scanDefinitions(ntStatusHeader, definitions);
           }),
           ntStatusBytes);
    catalogs.clear();
    const HeaderDefinitions::Role extraRoles[] = {HeaderDefinitions::Role::LAN_MANAGER_ERRORS,
                                                  HeaderDefinitions::Role::BUG_CHECKS,
                                                  HeaderDefinitions::Role::INTERNET_ERRORS,
                                                  HeaderDefinitions::Role::INTERNET_ERRORS};
    const wchar_t* const extraNames[] = {L"lmerr.h", L"bugcodes.h", L"wininet.h", L"winhttp.h"};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::wstring path = headerDir + L"/" + extraNames[i];
        char label[64];
        std::snprintf(label, sizeof label, "  read %ls", extraNames[i]);
        report(label, runs, timeRuns(runs, [&] {
                   NameCatalog& catalog = catalogs.emplace_back();
                   HeaderDefinitions definitions(catalog, catalog.addHeader(path), extraRoles[i]);
                   scanDefinitions(path, definitions);
               }),
               fileSize(path));
    }
    catalogs.clear();
    const std::wstring lmerr = headerDir + L"/lmerr.h";
    report("  open, map, close lmerr.h", runs, timeRuns(runs, [&] {
               zeno::MappedFile file(lmerr, zeno::MappedFile::READ, zeno::nilString);
           }),
           0);
    {
        // The reader alone, on definitions cut from the file beforehand.
        zeno::MappedFile file(win32Header, zeno::MappedFile::READ, zeno::nilString);
        const char* const begin = static_cast<const char*>(file.data());
        const char* const end = begin + file.size();
        struct Cut {
            std::string_view name, value;
            const char* after;
        };
        std::vector<Cut> cuts;
        for (const char* line = begin; line < end;) {
            const char* lineEnd = line;
            while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r') {
                ++lineEnd;
            }
            const std::string_view text(line, static_cast<std::size_t>(lineEnd - line));
            if (text.substr(0, 8) == "#define ") {
                const std::size_t nameEnd = text.find(' ', 8);
                const std::size_t valueStart = text.find_first_not_of(' ', nameEnd);
                if (nameEnd != std::string_view::npos && valueStart != std::string_view::npos) {
                    const std::size_t valueEnd = std::min(text.find(' ', valueStart), text.size());
                    cuts.push_back({text.substr(8, nameEnd - 8), text.substr(valueStart, valueEnd - valueStart),
                                    line + nameEnd});
                }
            }
            line = lineEnd + 1;
        }
        char label[64];
        std::snprintf(label, sizeof label, "  reader alone, %zu definitions", cuts.size());
        report(label, runs, timeRuns(runs, [&] {
                   NameCatalog& catalog = catalogs.emplace_back();
                   HeaderDefinitions definitions(catalog, catalog.addHeader(win32Header),
                                                 HeaderDefinitions::Role::WINERROR_HEADER);
                   for (const Cut& cut : cuts) {
                       definitions.definition({cut.name, cut.value, cut.after, end});
                   }
               }), 0);
        catalogs.clear();
    }
    struct Nothing : DefinitionListener {
        void definition(const Definition&) override {}
    } nothing;
    report("  read lmerr.h, listener does nothing", runs, timeRuns(runs, [&] { scanDefinitions(lmerr, nothing); }), 0);
    report("  catalog and reader only", runs, timeRuns(runs, [&] {
               NameCatalog& catalog = catalogs.emplace_back();
               HeaderDefinitions definitions(catalog, catalog.addHeader(lmerr), HeaderDefinitions::Role::LAN_MANAGER_ERRORS);
           }), 0);
    catalogs.clear();
    std::vector<char> buffer(1 << 20);
    report("  open, read, close lmerr.h", runs, timeRuns(runs, [&] {
               zeno::Handle file(zeno::openFile(lmerr, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0));
               LARGE_INTEGER size;
               GetFileSizeEx(file.get(), &size);
               DWORD count = 0;
               ReadFile(file.get(), buffer.data(), static_cast<DWORD>(size.QuadPart), &count, nullptr);
               file.close();
           }),
           0);
    std::printf("\n");

    const std::wstring logPath = work + L"\\synthetic.log";
    writeSyntheticLog(logPath, 100ull << 20);
    const std::uint64_t logBytes = fileSize(logPath);
    ConsoleLoad forScan;
    forScan.run(location);
    std::size_t codesFound = 0;
    const int scanRuns = 5;
    report("--scan of a 100 MB log", scanRuns, timeRuns(scanRuns, [&] {
               LogScanner scanner;
               for (const NameCatalog::Name& name : forScan.catalog.names()) {
                   scanner.addName(name.text, name.value);
               }
               scanText(logPath, scanner);
               codesFound = scanner.found().size();
           }),
           logBytes);
    std::printf("  (%zu distinct codes found)\n\n", codesFound);
    DeleteFileW(logPath.c_str());

    const int largeRuns = 15;
    report("scan 64 MB synthetic ntstatus.h", largeRuns,
           timeRuns(largeRuns, [&] { scanNtStatusHeader(tables.emplace_back(), largeHeader); }), largeBytes);
    tables.clear();

    DeleteFileW(largeHeader.c_str());
    DeleteFileW(configPath.c_str());
    RemoveDirectoryW(work.c_str());
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    try {
        return run(argc > 1 ? std::wstring(argv[1]) : std::wstring(KELVANE_SDK_SIZE_DIR));
    } catch (const zeno::Exception& e) {
        std::wcerr << e.toString() << std::endl;
        return 1;
    }
}

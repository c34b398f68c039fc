// Times the loading sequence of Kelvane on the sample headers: reading the configuration,
// scanning ntstatus.h and winerror.h, building the reverse map, the whole load, and the scan of
// a large synthetic header for throughput. Prints the median of many runs per phase.

#include "codes/ByteSpan.h"
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
#include <vector>

#include <windows.h>

namespace {

double secondsPerTick()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1.0 / static_cast<double>(frequency.QuadPart);
}

// Median wall time in seconds of `runs` calls of the phase (after one warm-up call).
double medianSeconds(int runs, const std::function<void()>& phase)
{
    static const double tick = secondsPerTick();
    phase();
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER before;
        LARGE_INTEGER after;
        QueryPerformanceCounter(&before);
        phase();
        QueryPerformanceCounter(&after);
        times.push_back(static_cast<double>(after.QuadPart - before.QuadPart) * tick);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::uint64_t fileSize(const std::wstring& path)
{
    zeno::MappedFile file(path, zeno::MappedFile::READ, zeno::nilString);
    return file.size();
}

void report(const char* phase, int runs, double seconds, std::uint64_t bytes)
{
    std::printf("%-34s %5d runs  median %9.3f ms", phase, runs, seconds * 1e3);
    if (bytes != 0) {
        std::printf("  %8.1f MB/s  (%llu bytes)", static_cast<double>(bytes) / seconds / 1e6,
                    static_cast<unsigned long long>(bytes));
    }
    std::printf("\n");
}

// A header of at least `minimumBytes` made of copies of `source`, written next to the config.
std::wstring writeLargeHeader(const std::wstring& source, const std::wstring& path, std::uint64_t minimumBytes)
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
    return path;
}

int run(const std::wstring& sampleDir)
{
    const std::wstring ntStatusHeader = sampleDir + L"/ntstatus.h";
    const std::wstring win32Header = sampleDir + L"/winerror.h";

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

    // The debug lines of the scans would flood a debugger; they are part of the load all the same.
    CodeTable ntStatusTable;
    scanNtStatusHeader(ntStatusTable, ntStatusHeader);
    std::printf("sample ntstatus.h: %zu entries, winerror.h: ", ntStatusTable.size());
    {
        CodeTable win32Table;
        scanWin32ErrorHeader(win32Table, win32Header);
        std::printf("%zu entries\n\n", win32Table.size());
    }

    const int runs = 200;
    report("read configuration", runs, medianSeconds(runs, [&] {
               std::wstring ntPath;
               std::wstring win32Path;
               readConfiguration(configPath, ntPath, win32Path);
           }),
           configBytes);
    // The program keeps what it loads: every run fills fresh tables that live until the phase
    // is over, so that freeing them is not timed.
    std::deque<CodeTable> tables;
    std::deque<ReverseMap> reverseMaps;
    report("scan ntstatus.h", runs, medianSeconds(runs, [&] {
               scanNtStatusHeader(tables.emplace_back(), ntStatusHeader);
           }),
           ntStatusBytes);
    tables.clear();
    report("scan winerror.h", runs, medianSeconds(runs, [&] {
               scanWin32ErrorHeader(tables.emplace_back(), win32Header);
           }),
           win32Bytes);
    tables.clear();
    report("build reverse map", runs, medianSeconds(runs, [&] {
               buildReverseMap(reverseMaps.emplace_back(), ntStatusTable);
           }),
           0);
    reverseMaps.clear();
    report("whole load (config, both, map)", runs, medianSeconds(runs, [&] {
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
    // Where the time of a scan goes: the file operations alone, then cutting lines and tokens.
    report("  open, map, close ntstatus.h", runs, medianSeconds(runs, [&] {
               zeno::MappedFile file(ntStatusHeader, zeno::MappedFile::READ, zeno::nilString);
           }),
           0);
    report("  one debug line", runs, medianSeconds(runs, [&] { zeno::debugLog(L"NTSTATUS loaded 1670 entries"); }), 0);
    report("  fill a table like ntstatus.h's", runs, medianSeconds(runs, [&] {
               CodeTable& table = tables.emplace_back();
               for (const auto& entry : ntStatusTable) {
                   table.add(entry.first, entry.second);
               }
           }),
           0);
    tables.clear();
    {
        zeno::MappedFile file(ntStatusHeader, zeno::MappedFile::READ, zeno::nilString);
        std::uint32_t tokens = 0;
        report("  cut lines and tokens, ntstatus.h", runs, medianSeconds(runs, [&] {
                   ByteSpan bytes(file.data(), static_cast<std::uint32_t>(file.size()));
                   ByteSpan line;
                   ByteSpan token;
                   while (bytes.nextLine(line)) {
                       while (line.nextToken(token)) {
                           ++tokens;
                       }
                   }
               }),
               ntStatusBytes);
        report("  cut lines only, ntstatus.h", runs, medianSeconds(runs, [&] {
                   ByteSpan bytes(file.data(), static_cast<std::uint32_t>(file.size()));
                   ByteSpan line;
                   while (bytes.nextLine(line)) {
                       tokens += line.size();
                   }
               }),
               ntStatusBytes);
        if (tokens == 0) {
            std::printf("no tokens\n");
        }
    }
    const int largeRuns = 15;
    report("scan large synthetic ntstatus.h", largeRuns, medianSeconds(largeRuns, [&] {
               scanNtStatusHeader(tables.emplace_back(), largeHeader);
           }),
           largeBytes);
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
        return run(argc > 1 ? std::wstring(argv[1]) : std::wstring(KELVANE_SAMPLE_DIR));
    } catch (const zeno::Exception& e) {
        std::wcerr << e.toString() << std::endl;
        return 1;
    }
}

// The real kelvane-lookup.exe, started with its standard output and error redirected: one table of
// command lines on the sample headers with their exit codes and the lines they must print, and a
// JSON run read back by a small JSON parser.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <thread>
#include <vector>

#include "JsonValue.h"
#include "zeno/tests/SystemMessage.h"
#include "zeno/tests/TemporaryDirectory.h"

namespace {

struct ProgramOutput {
    DWORD exitCode = STILL_ACTIVE;
    std::wstring out;
    std::wstring err;
    std::string outBytes;
};

std::wstring besideThisProgram(const std::wstring& name)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

std::wstring fromUtf8(const std::string& bytes)
{
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                             &text[0], static_cast<int>(text.size()))));
    return text;
}

std::string readAll(HANDLE pipe)
{
    std::string bytes;
    char buffer[4096];
    DWORD count = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &count, nullptr) && count > 0) {
        bytes.append(buffer, count);
    }
    return bytes;
}

// Runs kelvane-lookup.exe with the arguments in the folder; both streams go to pipes of this test.
ProgramOutput runLookup(const std::wstring& arguments, const std::wstring& folder)
{
    ProgramOutput result;
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    if (!CreatePipe(&outRead, &outWrite, &inherited, 0) || !CreatePipe(&errRead, &errWrite, &inherited, 0)) {
        return result;
    }
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    std::wstring commandLine = L"\"" + besideThisProgram(L"kelvane-lookup.exe") + L"\" " + arguments;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        folder.c_str(), &startup, &process);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (started) {
        std::string errBytes;
        std::thread errReader([&] { errBytes = readAll(errRead); });
        result.outBytes = readAll(outRead);
        errReader.join();
        WaitForSingleObject(process.hProcess, 20000);
        GetExitCodeProcess(process.hProcess, &result.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        result.out = fromUtf8(result.outBytes);
        result.err = fromUtf8(errBytes);
    }
    CloseHandle(outRead);
    CloseHandle(errRead);
    return result;
}

std::wstring withoutLineEnd(std::wstring text)
{
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) {
        text.pop_back();
    }
    return text;
}

// The texts the program must show, straight from FormatMessageW: NTSTATUS texts from ntdll.dll's
// table (empty under Wine), Win32 texts from the system's.
std::wstring systemText(bool ntStatus, std::uint32_t code)
{
    if (!ntStatus) {
        return withoutLineEnd(zeno_test::systemMessage(code).text);
    }
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS
                                            | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM,
                                        GetModuleHandleW(L"ntdll.dll"), code, 0, reinterpret_cast<wchar_t*>(&buffer),
                                        0, nullptr);
    const std::wstring text(buffer != nullptr ? buffer : L"", length);
    LocalFree(buffer);
    return withoutLineEnd(text);
}

// Expands {nt:HEX} and {w32:HEX} to the system's texts ("(none)" when there is none, continued
// lines under the value column) and the names of the fixture's folders.
std::wstring expand(std::wstring text, const std::vector<std::pair<std::wstring, std::wstring>>& folders)
{
    for (std::size_t at; (at = text.find(L'{')) != std::wstring::npos;) {
        const std::size_t end = text.find(L'}', at);
        const std::wstring key = text.substr(at + 1, end - at - 1);
        std::wstring value;
        const std::size_t colon = key.find(L':');
        if (colon != std::wstring::npos) {
            value = systemText(key.substr(0, colon) == L"nt", std::stoul(key.substr(colon + 1), nullptr, 16));
            for (std::size_t line = 0; (line = value.find(L"\r\n", line)) != std::wstring::npos;) {
                value.replace(line, 2, L"\n" + std::wstring(18, L' '));
            }
            value = value.empty() ? L"(none)" : value;
        }
        for (const auto& folder : folders) {
            value = key == folder.first ? folder.second : value;
        }
        text.replace(at, end - at + 1, value);
    }
    return text;
}

// Every expected line is part of an output line, in this order.
::testing::AssertionResult containsInOrder(const std::wstring& output, const std::wstring& expectedLines)
{
    std::size_t from = 0;
    for (std::size_t start = 0; start < expectedLines.size();) {
        std::size_t end = expectedLines.find(L'\n', start);
        end = end == std::wstring::npos ? expectedLines.size() : end;
        const std::wstring wanted = expectedLines.substr(start, end - start);
        for (;;) {
            const std::size_t lineEnd = output.find(L'\n', from);
            if (from >= output.size()) {
                return ::testing::AssertionFailure() << "missing (or out of order): " << ::testing::PrintToString(wanted);
            }
            const std::wstring line = output.substr(from, lineEnd - from);
            from = lineEnd == std::wstring::npos ? output.size() : lineEnd + 1;
            if (line.find(wanted) != std::wstring::npos) {
                break;
            }
        }
        start = end + 1;
    }
    return ::testing::AssertionSuccess();
}

// Two versions of a Windows SDK in its standard place, removed afterwards: the numerically newer
// holds the sample headers, the other (the newer as text) an empty ntstatus.h that cannot be loaded.
class FakeSdk {
public:
    explicit FakeSdk(const std::wstring& emptyFile)
    {
        wchar_t programFiles[MAX_PATH] = {};
        if (GetEnvironmentVariableW(L"ProgramFiles(x86)", programFiles, MAX_PATH) == 0) {
            GetEnvironmentVariableW(L"ProgramFiles", programFiles, MAX_PATH);
        }
        const std::wstring include = std::wstring(programFiles) + L"\\Windows Kits\\10\\Include\\";
        newer = include + L"10.0.100000.0\\shared\\";
        const std::wstring older = include + L"10.0.99999.9\\shared\\";
        const std::wstring samples = KELVANE_SAMPLE_DIR;
        const std::pair<std::wstring, std::wstring> copies[] = {{samples + L"/ntstatus.h", newer + L"ntstatus.h"},
                                                                {samples + L"/winerror.h", newer + L"winerror.h"},
                                                                {samples + L"/winerror.h", older + L"winerror.h"},
                                                                {emptyFile, older + L"ntstatus.h"}};
        for (const auto& copy : copies) {
            for (std::size_t at = std::wcslen(programFiles); (at = copy.second.find(L'\\', at + 1)) != std::wstring::npos;) {
                if (CreateDirectoryW(copy.second.substr(0, at).c_str(), nullptr)) {
                    made.push_back(copy.second.substr(0, at));
                }
            }
            complete = CopyFileW(copy.first.c_str(), copy.second.c_str(), FALSE) && complete;
            files.push_back(copy.second);
        }
    }
    ~FakeSdk()
    {
        for (const std::wstring& file : files) {
            DeleteFileW(file.c_str());
        }
        for (auto folder = made.rbegin(); folder != made.rend(); ++folder) {
            RemoveDirectoryW(folder->c_str());
        }
    }
    FakeSdk(const FakeSdk&) = delete;
    FakeSdk& operator=(const FakeSdk&) = delete;

    bool complete = true;
    std::wstring newer;

private:
    std::vector<std::wstring> made;
    std::vector<std::wstring> files;
};

class LookupProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(samples.isCreated() && bare.isCreated());
        const std::string sampleDir = fromWide(KELVANE_SAMPLE_DIR);
        ASSERT_FALSE(samples.writeFile(L"kelvane.cfg", "ntstatus.h=" + sampleDir + "/ntstatus.h\r\nwinerror.h="
                                                           + sampleDir + "/winerror.h\r\n")
                         .empty());
        ASSERT_FALSE(samples.writeFile(L"empty.h", "").empty());
        ASSERT_FALSE(samples.writeFile(L"empty.cfg", "ntstatus.h=" + fromWide(samples.file(L"empty.h"))
                                                         + "\r\nwinerror.h=" + sampleDir + "/winerror.h\r\n")
                         .empty());
    }

    static std::string fromWide(const std::wstring& text) { return std::string(text.begin(), text.end()); }

    zeno_test::TemporaryDirectory samples{L"kelvane-lookup"};
    zeno_test::TemporaryDirectory bare{L"kelvane-lookup-bare"};
};

struct Case {
    const wchar_t* arguments;
    bool inBareFolder;              // no kelvane.cfg in the working folder: the SDK's headers
    DWORD exitCode;
    const wchar_t* outLines;        // each a part of an output line, in order
    const wchar_t* errLines;
};

const Case CASES[] = {
    {L"0xC0000005", false, 0,
     L"0xC0000005  (0xC0000005, 3221225477, -1073741819)\n"
     L"NTSTATUS          STATUS_ACCESS_VIOLATION\n"
     L"  text            {nt:C0000005}\n"
     L"  fields          severity 3 (error), customer 0, facility 0x0000, code 0x0005\n"
     L"  maps to Win32   998 (0x000003E6) ERROR_NOACCESS\n"
     L"  its text        {w32:3E6}\n"
     L"Win32 code        (no name)\n"
     L"  text            {w32:C0000005}\n"
     L"  from NTSTATUS   (none)",
     L""},
    {L"0XC0000005 C0000005 3221225477 -1073741819 10", false, 0,
     L"0XC0000005  (0xC0000005, 3221225477, -1073741819)\nNTSTATUS          STATUS_ACCESS_VIOLATION\n"
     L"C0000005  (0xC0000005, 3221225477, -1073741819)\nNTSTATUS          STATUS_ACCESS_VIOLATION\n"
     L"3221225477  (0xC0000005, 3221225477, -1073741819)\nNTSTATUS          STATUS_ACCESS_VIOLATION\n"
     L"-1073741819  (0xC0000005, 3221225477, -1073741819)\nNTSTATUS          STATUS_ACCESS_VIOLATION\n"
     L"10  (0x0000000A, 10)\nWin32 code        ERROR_BAD_ENVIRONMENT",
     L""},
    {L"5 ERROR_ACCESS_DENIED error_access_denied", false, 0,
     L"5  (0x00000005, 5)\n"
     L"Win32 code        ERROR_ACCESS_DENIED\n"
     L"  text            {w32:5}\n"
     L"0xC0000022 STATUS_ACCESS_DENIED\n"
     L"ERROR_ACCESS_DENIED  (0x00000005, 5)\nWin32 code        ERROR_ACCESS_DENIED\n"
     L"error_access_denied  (0x00000005, 5)\nWin32 code        ERROR_ACCESS_DENIED",
     L""},
    {L"0x80070005 0xD0000022", false, 0,
     L"0x80070005  (0x80070005, 2147942405, -2147024891)\n"
     L"HRESULT           E_ACCESSDENIED\n"
     L"  fields          failure, facility 7 (WIN32), code 0x0005\n"
     L"  wraps Win32     5 (0x00000005) ERROR_ACCESS_DENIED\n"
     L"  its text        {w32:5}\n"
     L"0xD0000022  (0xD0000022, 3489660962, -805306334)\n"
     L"  fields          failure, N bit (an NTSTATUS inside)\n"
     L"  wraps NTSTATUS  0xC0000022 STATUS_ACCESS_DENIED\n"
     L"  its text        {nt:C0000022}",
     L""},
    // Parts of names: every table, in value order.
    {L"access ACCESS_DENIED", false, 0,
     L"access  (\n"
     L"  0x00000005           5  Win32     ERROR_ACCESS_DENIED\n"
     L"  0x80070005  2147942405  HRESULT   E_ACCESSDENIED\n"
     L"  0xC0000022  3221225506  NTSTATUS  STATUS_ACCESS_DENIED\n"
     L"ACCESS_DENIED  (\n"
     L"  0x00000005           5  Win32     ERROR_ACCESS_DENIED\n"
     L"  0xC0000022  3221225506  NTSTATUS  STATUS_ACCESS_DENIED",
     L""},
    {L"5 ERROR_NO_SUCH_CODE xyzzy", false, 1,
     L"Win32 code        ERROR_ACCESS_DENIED\nERROR_NO_SUCH_CODE  (no name contains it)\nxyzzy  (no name contains it)",
     L""},
    {L"--config \"{samples}\\missing.cfg\" 5", false, 2, L"",
     L"class zeno::FileNotFoundException\n{samples}\\missing.cfg\n\nError code: 2\n{w32:2}"},
    {L"--config empty.cfg 5", false, 2, L"",
     L"class zeno::IOException\n::CreateFileMapping({samples}\\empty.h) failed\nError code: "},
    {L"--where --time 5", true, 0,
     L"configuration   (none: the newest Windows SDK)\n"
     L"ntstatus.h      {sdk}ntstatus.h  (\n"
     L"winerror.h      {sdk}winerror.h  (\n"
     L"Win32 code        ERROR_ACCESS_DENIED",
     L"finding headers\nntstatus.h\nwinerror.h\nHRESULT names\nreverse map\nanswers\noutput\ntotal"},
    {L"--help", false, 0, L"Usage: kelvane-lookup [options] QUERY...\n(10 is ten, not 0x10)", L""},
    {L"--bogus 5", false, 2, L"", L"kelvane-lookup: unknown option --bogus"},
};

TEST_F(LookupProgram, AnswersEachFormOfQueryAndReportsFailuresAsTheWindowDoes)
{
    FakeSdk sdk(samples.file(L"empty.h"));
    ASSERT_TRUE(sdk.complete) << "cannot make the SDK folder";
    const std::vector<std::pair<std::wstring, std::wstring>> folders = {{L"samples", samples.path()},
                                                                        {L"sdk", sdk.newer}};
    for (const Case& row : CASES) {
        const ProgramOutput run = runLookup(expand(row.arguments, folders), row.inBareFolder ? bare.path() : samples.path());
        SCOPED_TRACE(::testing::PrintToString(std::wstring(row.arguments)));
        EXPECT_EQ(row.exitCode, run.exitCode);
        EXPECT_TRUE(containsInOrder(run.out, expand(row.outLines, folders))) << ::testing::PrintToString(run.out);
        EXPECT_TRUE(containsInOrder(run.err, expand(row.errLines, folders))) << ::testing::PrintToString(run.err);
        if (row.errLines[0] == L'\0') {
            EXPECT_EQ(L"", run.err);
        }
    }
}

TEST_F(LookupProgram, JsonIsOneArrayWithOneObjectPerQuery)
{
    const ProgramOutput run = runLookup(L"--json 0xC0000005 access nothing_here", samples.path());
    EXPECT_EQ(1u, run.exitCode);
    JsonValue json;
    ASSERT_TRUE(json.parse(run.outBytes)) << run.outBytes;
    ASSERT_EQ(3u, json.items.size());
    const JsonValue& violation = json.item(0)["values"].item(0);
    EXPECT_EQ("0xC0000005", json.item(0)["query"].text);
    EXPECT_TRUE(json.item(0)["found"].boolean);
    EXPECT_EQ(3221225477.0, violation["value"].number);
    EXPECT_EQ(-1073741819.0, violation["signed"].number);
    EXPECT_EQ("STATUS_ACCESS_VIOLATION", violation["ntstatus"]["name"].text);
    EXPECT_EQ(JsonValue::NUL, violation["win32"]["name"].type);
    EXPECT_EQ(fromUtf8(violation["ntstatus"]["text"].text), systemText(true, 0xC0000005));
    EXPECT_EQ(998.0, violation["ntstatus"]["win32"]["value"].number);
    EXPECT_EQ(fromUtf8(violation["ntstatus"]["win32"]["text"].text), systemText(false, 998));
    const std::vector<JsonValue>& matches = json.item(1)["matches"].items;
    ASSERT_LT(2u, matches.size());
    for (std::size_t i = 1; i < matches.size(); ++i) {
        EXPECT_LE(matches[i - 1]["value"].number, matches[i]["value"].number);
    }
    EXPECT_FALSE(json.item(2)["found"].boolean);
    EXPECT_TRUE(json.item(2)["values"].items.empty() && json.item(2)["matches"].items.empty());
}

} // namespace

// The real kelvane-lookup.exe, started with its standard output and error in files: one table of
// command lines on the sample headers with their exit codes and the lines they must print, and a
// JSON run read back by a small JSON reader.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "zeno/tests/SystemMessage.h"
#include "zeno/tests/TemporaryDirectory.h"

namespace {

struct ProgramOutput {
    DWORD exitCode = STILL_ACTIVE;
    std::wstring out;
    std::wstring err;
    std::string outBytes;
};

std::wstring fromUtf8(const std::string& bytes)
{
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                             &text[0], static_cast<int>(text.size()))));
    return text;
}

// Runs kelvane-lookup.exe (beside this program) with the arguments in the folder.
ProgramOutput runLookup(const std::wstring& arguments, const std::wstring& folder)
{
    const zeno_test::TemporaryDirectory streams(L"kelvane-lookup-streams");
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    const auto create = [&](const wchar_t* name) {
        return CreateFileW(streams.file(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS, 0,
                           nullptr);
    };
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = create(L"out");
    startup.hStdError = create(L"err");
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring commandLine = path;
    commandLine = L"\"" + commandLine.substr(0, commandLine.find_last_of(L"\\/") + 1) + L"kelvane-lookup.exe\" " + arguments;
    ProgramOutput result;
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, folder.c_str(),
                       &startup, &process)) {
        WaitForSingleObject(process.hProcess, 20000);
        GetExitCodeProcess(process.hProcess, &result.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    result.outBytes = streams.readFile(L"out");
    result.out = fromUtf8(result.outBytes);
    result.err = fromUtf8(streams.readFile(L"err"));
    return result;
}

// The texts the program must show, straight from FormatMessageW: NTSTATUS texts from ntdll.dll's
// table (empty under Wine), Win32 texts from the system's.
std::wstring systemText(bool ntStatus, std::uint32_t code)
{
    const std::wstring text = zeno_test::systemMessage(code, ntStatus ? GetModuleHandleW(L"ntdll.dll") : nullptr).text;
    return text.substr(0, text.find_last_not_of(L"\r\n") + 1);
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

// Just enough of a JSON reader (RFC 8259) to check --json: a document is accepted only when it is
// well-formed as a whole. Every scalar is kept under its path ([0].values[0].ntstatus.name), a
// string decoded, any other as written; each container's size under its path and "#".
class JsonPaths {
public:
    bool parse(const std::string& document)
    {
        at = document.c_str();
        return read("") && *skip() == '\0';
    }
    std::wstring operator[](const std::string& path) const
    {
        const auto found = values.find(path);
        return found == values.end() ? L"(missing)" : fromUtf8(found->second);
    }

private:
    const char* skip() { return at += std::strspn(at, " \t\r\n"); }

    bool readString(std::string& out)
    {
        static const std::string ESCAPES = "\"\\/bfnrt", MEANINGS = "\"\\/\b\f\n\r\t";
        for (++at; *at != '"'; ++at) {
            if (static_cast<unsigned char>(*at) < 0x20) {
                return false;
            }
            if (*at != '\\') {
                out += *at;
            } else if (*++at == 'u' && std::strspn(at + 1, "0123456789abcdefABCDEF") >= 4) {
                out += static_cast<char>(std::strtol(std::string(at + 1, 4).c_str(), nullptr, 16));
                at += 4;
            } else if (ESCAPES.find(*at) != std::string::npos) {
                out += MEANINGS[ESCAPES.find(*at)];
            } else {
                return false;
            }
        }
        ++at;
        return true;
    }

    bool read(const std::string& path)
    {
        const char first = *skip();
        if (first == '"') {
            return readString(values[path]);
        }
        if (first != '{' && first != '[') {
            char* end = nullptr;
            std::strtod(at, &end);
            std::size_t length = (first == '-' || (first >= '0' && first <= '9')) ? end - at : 0;
            for (const char* word : {"true", "false", "null"}) {
                length = std::strncmp(at, word, std::strlen(word)) == 0 ? std::strlen(word) : length;
            }
            values[path] = std::string(at, length);
            at += length;
            return length > 0;
        }
        const char close = first == '{' ? '}' : ']';
        std::size_t count = 0;
        ++at;
        if (*skip() != close) {
            do {
                std::string key = "[" + std::to_string(count++) + "]";
                if (first == '{') {
                    key = ".";
                    if (*skip() != '"' || !readString(key) || *skip() != ':') {
                        return false;
                    }
                    ++at;
                }
                if (!read(path + key)) {
                    return false;
                }
            } while (*skip() == ',' && ++at);
        }
        values[path + "#"] = std::to_string(count);
        return *skip() == close && ++at;
    }

    const char* at = nullptr;
    std::map<std::string, std::string> values;
};

// Every expected line is part of an output line, in this order.
::testing::AssertionResult containsInOrder(const std::wstring& output, const std::wstring& expectedLines)
{
    std::size_t from = 0;
    for (std::size_t start = 0, end; start < expectedLines.size(); start = end + 1) {
        end = std::min(expectedLines.find(L'\n', start), expectedLines.size());
        const std::wstring wanted = expectedLines.substr(start, end - start);
        const std::size_t found = output.find(wanted, from);
        if (found == std::wstring::npos) {
            return ::testing::AssertionFailure() << "missing (or out of order): " << ::testing::PrintToString(wanted);
        }
        const std::size_t lineEnd = output.find(L'\n', found);
        from = lineEnd == std::wstring::npos ? output.size() + 1 : lineEnd + 1;
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
        const std::filesystem::path include = std::wstring(programFiles) + L"\\Windows Kits\\10\\Include";
        for (std::filesystem::path folder = include; folder.has_relative_path() && !std::filesystem::exists(folder);
             folder = folder.parent_path()) {
            made[0] = folder;
        }
        made[1] = include / L"10.0.100000.0";
        made[2] = include / L"10.0.99999.9";
        newer = made[1].wstring() + L"\\shared\\";
        const std::wstring samples = KELVANE_SAMPLE_DIR;
        const std::pair<std::wstring, std::filesystem::path> copies[] = {
            {samples + L"/ntstatus.h", newer + L"ntstatus.h"}, {samples + L"/winerror.h", newer + L"winerror.h"},
            {samples + L"/winerror.h", made[2] / L"shared\\winerror.h"}, {emptyFile, made[2] / L"shared\\ntstatus.h"}};
        for (const auto& copy : copies) {
            std::error_code error;
            std::filesystem::create_directories(copy.second.parent_path(), error);
            complete = CopyFileW(copy.first.c_str(), copy.second.c_str(), FALSE) && complete;
        }
    }
    ~FakeSdk()
    {
        std::error_code error;
        for (auto folder = std::rbegin(made); folder != std::rend(made); ++folder) {
            std::filesystem::remove_all(*folder, error);
        }
    }
    FakeSdk(const FakeSdk&) = delete;
    FakeSdk& operator=(const FakeSdk&) = delete;

    bool complete = true;
    std::wstring newer;

private:
    std::filesystem::path made[3];      // the folders made above the versions (if any), the versions
};

class LookupProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(samples.isCreated() && bare.isCreated());
        const std::wstring sampleDir = KELVANE_SAMPLE_DIR;
        const auto configuration = [&](const std::wstring& ntStatusPath) {
            const std::wstring text = L"ntstatus.h=" + ntStatusPath + L"\r\nwinerror.h=" + sampleDir + L"/winerror.h\r\n";
            return std::string(text.begin(), text.end());
        };
        ASSERT_FALSE(samples.writeFile(L"kelvane.cfg", configuration(sampleDir + L"/ntstatus.h")).empty());
        ASSERT_FALSE(samples.writeFile(L"empty.cfg", configuration(samples.writeFile(L"empty.h", ""))).empty());
    }

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
    // One query that finds nothing is enough for exit code 1.
    {L"5 ERROR_ACCESS_DENIED error_access_denied ERROR_NO_SUCH_CODE xyzzy", false, 1,
     L"5  (0x00000005, 5)\n"
     L"Win32 code        ERROR_ACCESS_DENIED\n"
     L"  text            {w32:5}\n"
     L"0xC0000022 STATUS_ACCESS_DENIED\n"
     L"ERROR_ACCESS_DENIED  (0x00000005, 5)\nWin32 code        ERROR_ACCESS_DENIED\n"
     L"error_access_denied  (0x00000005, 5)\nWin32 code        ERROR_ACCESS_DENIED\n"
     L"ERROR_NO_SUCH_CODE  (no name contains it)\nxyzzy  (no name contains it)",
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
    const ProgramOutput run = runLookup(L"--json 0xC0000005 access nothing_here 0xD0000022", samples.path());
    EXPECT_EQ(1u, run.exitCode);
    JsonPaths json;
    ASSERT_TRUE(json.parse(run.outBytes)) << run.outBytes;
    const std::string violation = "[0].values[0].";
    const std::pair<std::string, std::wstring> fields[] = {
        {"#", L"4"}, {"[0].query", L"0xC0000005"}, {"[0].found", L"true"}, {"[0].values#", L"1"},
        {violation + "value", L"3221225477"}, {violation + "hex", L"0xC0000005"}, {violation + "signed", L"-1073741819"},
        {violation + "ntstatus.name", L"STATUS_ACCESS_VIOLATION"},
        {violation + "ntstatus.text", systemText(true, 0xC0000005)},
        {violation + "ntstatus.severity", L"3"}, {violation + "ntstatus.customer", L"0"},
        {violation + "ntstatus.facility", L"0"}, {violation + "ntstatus.code", L"5"},
        {violation + "ntstatus.win32.kind", L"win32"}, {violation + "ntstatus.win32.value", L"998"},
        {violation + "ntstatus.win32.name", L"ERROR_NOACCESS"},
        {violation + "ntstatus.win32.text", systemText(false, 998)},
        {violation + "win32.name", L"null"}, {violation + "win32.text", systemText(false, 0xC0000005)},
        {violation + "win32.ntstatus#", L"0"}, {violation + "hresult", L"null"},
        {"[0].matches#", L"0"}, {"[1].found", L"true"}, {"[1].values#", L"0"},
        {"[2].query", L"nothing_here"}, {"[2].found", L"false"}, {"[2].values#", L"0"}, {"[2].matches#", L"0"},
        {"[3].values[0].hresult.severity", L"1"}, {"[3].values[0].hresult.facility", L"0"},
        {"[3].values[0].hresult.code", L"34"}, {"[3].values[0].hresult.nt", L"true"},
        {"[3].values[0].hresult.wraps.kind", L"ntstatus"}, {"[3].values[0].hresult.wraps.name", L"STATUS_ACCESS_DENIED"},
    };
    for (const auto& field : fields) {
        EXPECT_EQ(field.second, json[field.first]) << field.first;
    }
    // The matches in value order, each with its kind and both number forms.
    std::map<std::wstring, std::wstring> matches;
    for (unsigned long i = 0, count = std::stoul(json["[1].matches#"]); i < count; ++i) {
        const std::string match = "[1].matches[" + std::to_string(i) + "].";
        matches[json[match + "name"]] = json[match + "kind"] + L" " + json[match + "value"] + L" " + json[match + "hex"];
        if (i > 0) {
            EXPECT_LE(std::stod(json["[1].matches[" + std::to_string(i - 1) + "].value"]), std::stod(json[match + "value"]));
        }
    }
    EXPECT_EQ(L"win32 5 0x00000005", matches[L"ERROR_ACCESS_DENIED"]);
    EXPECT_EQ(L"hresult 2147942405 0x80070005", matches[L"E_ACCESSDENIED"]);
    EXPECT_EQ(L"ntstatus 3221225506 0xC0000022", matches[L"STATUS_ACCESS_DENIED"]);
}

} // namespace

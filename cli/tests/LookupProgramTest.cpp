// The real kelvane-lookup.exe, started with its standard output and error in files: one table of
// command lines on the sample headers with their exit codes and the lines they must print, and a
// JSON run read back by a small JSON reader.
#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "zeno/tests/SystemMessage.h"
#include "zeno/tests/TemporaryDirectory.h"

namespace {

using Folder = zeno_test::TemporaryDirectory;

std::wstring fromUtf8(const std::string& bytes) {
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                             &text[0], static_cast<int>(text.size()))));
    return text;
}

struct ProgramOutput {
    DWORD exitCode;
    std::string outBytes;
    std::wstring out, err;
};

// Runs kelvane-lookup.exe (beside this program) with the arguments in the folder.
ProgramOutput runLookup(const std::wstring& arguments, const std::wstring& folder) {
    const Folder streams(L"kelvane-lookup-streams");
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
    const std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    std::wstring command = L"\"" + self.substr(0, self.find_last_of(L"\\/") + 1) + L"kelvane-lookup.exe\" " + arguments;
    DWORD exitCode = STILL_ACTIVE;
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, folder.c_str(),
                       &startup, &process)) {
        WaitForSingleObject(process.hProcess, 20000);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    const std::string out = streams.readFile(L"out");
    return {exitCode, out, fromUtf8(out), fromUtf8(streams.readFile(L"err"))};
}

// The texts the program must show, straight from FormatMessageW: NTSTATUS texts from ntdll.dll's
// table (empty under Wine), Win32 texts from the system's.
std::wstring systemText(bool ntStatus, std::uint32_t code) {
    const std::wstring text = zeno_test::systemMessage(code, ntStatus ? GetModuleHandleW(L"ntdll.dll") : nullptr).text;
    return text.substr(0, text.find_last_not_of(L"\r\n") + 1);
}

// Expands {nt:HEX} and {w32:HEX} to the system's texts ("(none)" when there is none, continued
// lines under the value column) and {NAME} to the path of the fixture's folder of that name.
std::wstring expand(std::wstring text, const std::map<std::wstring, std::wstring>& folders) {
    for (std::size_t at; (at = text.find(L'{')) != std::wstring::npos;) {
        const std::size_t end = text.find(L'}', at), colon = text.find(L':', at);
        std::wstring value = colon > end ? folders.at(text.substr(at + 1, end - at - 1))
                                         : systemText(text[at + 1] == L'n', wcstoul(&text[colon + 1], nullptr, 16));
        for (std::size_t line = 0; (line = value.find(L"\r\n", line)) != std::wstring::npos;) {
            value.replace(line, 2, L"\n" + std::wstring(18, L' '));
        }
        text.replace(at, end - at + 1, value.empty() ? L"(none)" : value);
    }
    return text;
}

// Just enough of a JSON reader (RFC 8259) to check --json: a document is accepted only when it is
// well-formed as a whole. Every scalar is kept under its path ([0].values[0].ntstatus.name), a
// string decoded, any other as written; each container's size under its path and "#". The texts
// checked here hold no control characters but line ends, so a \u escape is refused.
class JsonPaths {
public:
    bool parse(const std::string& document) {
        at = document.c_str();
        return read("") && skip() == '\0';
    }
    std::wstring operator[](const std::string& path) const {
        const auto found = values.find(path);
        return found == values.end() ? L"(missing)" : fromUtf8(found->second);
    }

private:
    char skip() { return *(at += std::strspn(at, " \t\r\n")); }
    bool take(char expected) { return skip() == expected && ++at; }

    bool readString(std::string& out) {
        static const std::string ESCAPES = "\"\\/bfnrt", MEANINGS = "\"\\/\b\f\n\r\t";
        for (++at; *at != '"'; ++at) {
            if (static_cast<unsigned char>(*at) < 0x20) {
                return false;
            } else if (*at != '\\') {
                out += *at;
            } else if (ESCAPES.find(*++at) == std::string::npos) {
                return false;
            } else {
                out += MEANINGS[ESCAPES.find(*at)];
            }
        }
        return ++at;
    }

    bool read(const std::string& path) {
        const char first = skip(), close = first == '{' ? '}' : first == '[' ? ']' : '\0';
        if (first == '"') {
            return readString(values[path]);
        }
        if (close == '\0') {
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
        std::size_t count = 0;
        for (bool more = *++at && skip() != close; more; more = take(','), ++count) {  // past the bracket
            std::string key = close == ']' ? "[" + std::to_string(count) + "]" : ".";
            if ((close == '}' && !(skip() == '"' && readString(key) && take(':'))) || !read(path + key)) {
                return false;
            }
        }
        values[path + "#"] = std::to_string(count);
        return take(close);
    }

    const char* at = nullptr;
    std::map<std::string, std::string> values;
};

// Every expected line is part of an output line, in this order.
::testing::AssertionResult containsInOrder(const std::wstring& output, const std::wstring& expectedLines) {
    std::size_t from = 0;
    for (std::size_t start = 0, end; start < expectedLines.size(); start = end + 1) {
        end = std::min(expectedLines.find(L'\n', start), expectedLines.size());
        const std::wstring wanted = expectedLines.substr(start, end - start);
        const std::size_t found = output.find(wanted, from);
        if (found == std::wstring::npos) {
            return ::testing::AssertionFailure() << "missing (or out of order): " << ::testing::PrintToString(wanted);
        }
        from = std::min(output.find(L'\n', found), output.size()) + 1;
    }
    return ::testing::AssertionSuccess();
}

// The sample headers' configuration in one folder (kelvane.cfg, and empty.cfg naming an empty
// ntstatus.h), another folder without one, and two versions of a Windows SDK in its standard place,
// removed afterwards: the numerically newer holds the sample headers, the other (the newer as text)
// an empty ntstatus.h that cannot be loaded.
class LookupProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(samples.isCreated() && bare.isCreated());
        const std::wstring headers = KELVANE_SAMPLE_DIR, empty = samples.writeFile(L"empty.h", "");
        for (const std::wstring& ntStatus : {headers + L"/ntstatus.h", empty}) {
            const std::wstring text = L"ntstatus.h=" + ntStatus + L"\r\nwinerror.h=" + headers + L"/winerror.h\r\n";
            const wchar_t* const name = ntStatus == empty ? L"empty.cfg" : L"kelvane.cfg";
            ASSERT_FALSE(samples.writeFile(name, {text.begin(), text.end()}).empty());
        }
        wchar_t programFiles[MAX_PATH] = {};
        SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILESX86, nullptr, SHGFP_TYPE_CURRENT, programFiles);
        const std::filesystem::path include = std::wstring(programFiles) + L"\\Windows Kits\\10\\Include";
        for (std::filesystem::path folder = include; folder.has_relative_path() && !std::filesystem::exists(folder);
             folder = folder.parent_path()) {
            made[0] = folder;
        }
        made[1] = include / L"10.0.100000.0";
        made[2] = include / L"10.0.99999.9";
        sdk = made[1].wstring() + L"\\shared\\";
        std::error_code error;
        std::filesystem::create_directories(sdk, error);
        std::filesystem::create_directories(made[2] / L"shared", error);
        ASSERT_TRUE(std::ofstream(made[2] / L"shared\\ntstatus.h").good()) << "no SDK folder";
        for (const std::wstring name : {L"ntstatus.h", L"winerror.h"}) {
            ASSERT_TRUE(CopyFileW((headers + L"/" + name).c_str(), (sdk + name).c_str(), FALSE)) << "no SDK folder";
        }
    }
    void TearDown() override {
        std::error_code error;
        for (const auto& folder : made) {
            std::filesystem::remove_all(folder, error);
        }
    }

    Folder samples{L"kelvane-lookup"}, bare{L"kelvane-lookup-bare"};
    std::filesystem::path made[3];  // the folders made above the SDK's versions (if any), the versions
    std::wstring sdk;
};

// Each case: the command line, whether it runs in a folder without kelvane.cfg (so on the SDK's
// headers), the exit code, and parts of the lines of standard output and error, each in order.
const struct Case {
    const wchar_t* arguments; bool inBareFolder; DWORD exitCode; const wchar_t *outLines, *errLines;
} CASES[] = {
    {L"0xC0000005", false, 0,
     L"0xC0000005  (0xC0000005, 3221225477, -1073741819)\nNTSTATUS          STATUS_ACCESS_VIOLATION\n"
     L"  text            {nt:C0000005}\n"
     L"  fields          severity 3 (error), customer 0, facility 0x0000, code 0x0005\n"
     L"  maps to Win32   998 (0x000003E6) ERROR_NOACCESS\n  its text        {w32:3E6}\n"
     L"Win32 code        (no name)\n  text            {w32:C0000005}\n  from NTSTATUS   (none)", L""},
    {L"0XC0000005 C0000005 3221225477 -1073741819 10", false, 0,
     L"0XC0000005  (0xC0000005, 3221225477, -1073741819)\nC0000005  (0xC0000005, 3221225477, -1073741819)\n"
     L"3221225477  (0xC0000005, 3221225477, -1073741819)\n-1073741819  (0xC0000005, 3221225477, -1073741819)\n"
     L"10  (0x0000000A, 10)\nWin32 code        ERROR_BAD_ENVIRONMENT", L""},
    // One query that finds nothing is enough for exit code 1.
    {L"5 ERROR_ACCESS_DENIED error_access_denied ERROR_NO_SUCH_CODE xyzzy", false, 1,
     L"5  (0x00000005, 5)\nWin32 code        ERROR_ACCESS_DENIED\n  text            {w32:5}\n"
     L"0xC0000022 STATUS_ACCESS_DENIED\n"
     L"ERROR_ACCESS_DENIED  (0x00000005, 5)\nWin32 code        ERROR_ACCESS_DENIED\n"
     L"error_access_denied  (0x00000005, 5)\nWin32 code        ERROR_ACCESS_DENIED\n"
     L"ERROR_NO_SUCH_CODE  (no name contains it)\nxyzzy  (no name contains it)", L""},
    {L"0x80070005 0xD0000022", false, 0,
     L"0x80070005  (0x80070005, 2147942405, -2147024891)\nHRESULT           E_ACCESSDENIED\n"
     L"  fields          failure, facility 7 (WIN32), code 0x0005\n"
     L"  wraps Win32     5 (0x00000005) ERROR_ACCESS_DENIED\n  its text        {w32:5}\n"
     L"0xD0000022  (0xD0000022, 3489660962, -805306334)\n  fields          failure, N bit (an NTSTATUS inside)\n"
     L"  wraps NTSTATUS  0xC0000022 STATUS_ACCESS_DENIED\n  its text        {nt:C0000022}", L""},
    // Parts of names: every table, in value order.
    {L"access ACCESS_DENIED", false, 0,
     L"access  (\n  0x00000005           5  Win32     ERROR_ACCESS_DENIED\n"
     L"  0x80070005  2147942405  HRESULT   E_ACCESSDENIED\n  0xC0000022  3221225506  NTSTATUS  STATUS_ACCESS_DENIED\n"
     L"ACCESS_DENIED  (\n  0x00000005           5  Win32     ERROR_ACCESS_DENIED\n"
     L"  0xC0000022  3221225506  NTSTATUS  STATUS_ACCESS_DENIED", L""},
    {L"--config \"{samples}\\missing.cfg\" 5", false, 2, L"",
     L"class zeno::FileNotFoundException\n{samples}\\missing.cfg\n\nError code: 2\n{w32:2}"},
    {L"--config empty.cfg 5", false, 2, L"",
     L"class zeno::IOException\n::CreateFileMapping({samples}\\empty.h) failed\nError code: "},
    {L"--where --time 5", true, 0,
     L"configuration   (none: the newest Windows SDK)\nntstatus.h      {sdk}ntstatus.h  (\n"
     L"winerror.h      {sdk}winerror.h  (\nWin32 code        ERROR_ACCESS_DENIED",
     L"finding headers\nntstatus.h\nwinerror.h\nHRESULT names\nreverse map\nanswers\noutput\ntotal"},
    {L"--help", false, 0, L"Usage: kelvane-lookup [options] QUERY...\n(10 is ten, not 0x10)", L""},
    {L"--bogus 5", false, 2, L"", L"kelvane-lookup: unknown option --bogus"},
};

}  // namespace

TEST_F(LookupProgram, AnswersEachFormOfQueryAndReportsFailuresAsTheWindowDoes) {
    const std::map<std::wstring, std::wstring> folders = {{L"samples", samples.path()}, {L"sdk", sdk}};
    for (const Case& row : CASES) {
        const auto run = runLookup(expand(row.arguments, folders), row.inBareFolder ? bare.path() : samples.path());
        SCOPED_TRACE(::testing::PrintToString(std::wstring(row.arguments)));
        EXPECT_EQ(row.exitCode, run.exitCode);
        EXPECT_TRUE(containsInOrder(run.out, expand(row.outLines, folders))) << ::testing::PrintToString(run.out);
        EXPECT_TRUE(containsInOrder(run.err, expand(row.errLines, folders))) << ::testing::PrintToString(run.err);
        EXPECT_TRUE(*row.errLines != L'\0' || run.err.empty()) << ::testing::PrintToString(run.err);
    }
}

TEST_F(LookupProgram, JsonIsOneArrayWithOneObjectPerQuery) {
    const ProgramOutput run = runLookup(L"--json 0xC0000005 access nothing_here 0xD0000022", samples.path());
    EXPECT_EQ(1u, run.exitCode);
    JsonPaths json;
    ASSERT_TRUE(json.parse(run.outBytes)) << run.outBytes;
    const std::string violation = "[0].values[0].", nt = violation + "ntstatus.", wraps = "[3].values[0].hresult.";
    const std::pair<std::string, std::wstring> fields[] = {
        {"#", L"4"}, {"[0].query", L"0xC0000005"}, {"[0].found", L"true"}, {"[0].values#", L"1"},
        {violation + "value", L"3221225477"}, {violation + "hex", L"0xC0000005"},
        {violation + "signed", L"-1073741819"}, {nt + "name", L"STATUS_ACCESS_VIOLATION"},
        {nt + "text", systemText(true, 0xC0000005)}, {nt + "severity", L"3"}, {nt + "customer", L"0"},
        {nt + "facility", L"0"}, {nt + "code", L"5"}, {nt + "win32.kind", L"win32"}, {nt + "win32.value", L"998"},
        {nt + "win32.name", L"ERROR_NOACCESS"}, {nt + "win32.text", systemText(false, 998)},
        {violation + "win32.name", L"null"}, {violation + "win32.text", systemText(false, 0xC0000005)},
        {violation + "win32.ntstatus#", L"0"}, {violation + "hresult", L"null"},
        {"[0].matches#", L"0"}, {"[1].found", L"true"}, {"[1].values#", L"0"},
        {"[2].query", L"nothing_here"}, {"[2].found", L"false"}, {"[2].values#", L"0"}, {"[2].matches#", L"0"},
        {wraps + "severity", L"1"}, {wraps + "facility", L"0"}, {wraps + "code", L"34"}, {wraps + "nt", L"true"},
        {wraps + "wraps.kind", L"ntstatus"}, {wraps + "wraps.name", L"STATUS_ACCESS_DENIED"},
    };
    for (const auto& field : fields) {
        EXPECT_EQ(field.second, json[field.first]) << field.first;
    }
    // The matches in value order, each with its kind and both number forms.
    std::map<std::wstring, std::wstring> matches;
    double previous = -1;
    for (unsigned long i = 0, count = std::stoul(json["[1].matches#"]); i < count; ++i) {
        const std::string row = "[1].matches[" + std::to_string(i) + "].";
        matches[json[row + "name"]] = json[row + "kind"] + L" " + json[row + "value"] + L" " + json[row + "hex"];
        EXPECT_LE(previous, std::stod(json[row + "value"])) << row;
        previous = std::stod(json[row + "value"]);
    }
    EXPECT_EQ(L"win32 5 0x00000005", matches[L"ERROR_ACCESS_DENIED"]);
    EXPECT_EQ(L"hresult 2147942405 0x80070005", matches[L"E_ACCESSDENIED"]);
    EXPECT_EQ(L"ntstatus 3221225506 0xC0000022", matches[L"STATUS_ACCESS_DENIED"]);
}

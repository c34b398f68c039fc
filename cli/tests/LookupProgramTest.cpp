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

std::wstring besideThisProgram(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    const std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of(L"\\/") + 1) + name;
}

// Runs kelvane-lookup.exe (beside this program, or the given copy) with the arguments in the
// folder, standard input from the file when one is named.
ProgramOutput runLookup(const std::wstring& arguments, const std::wstring& folder, const std::wstring& input = L"",
                        const std::wstring& program = besideThisProgram(L"kelvane-lookup.exe")) {
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
    startup.hStdInput = input.empty() ? nullptr
                                      : CreateFileW(input.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherited,
                                                    OPEN_EXISTING, 0, nullptr);
    std::wstring command = L"\"" + program + L"\" " + arguments;
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
    if (startup.hStdInput != nullptr) {
        CloseHandle(startup.hStdInput);
    }
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

// The sample headers' configuration in one folder (kelvane.cfg, empty.cfg naming an empty
// ntstatus.h, broken.cfg naming a copy of the samples beside a folder called lmerr.h, and two
// logs), another folder without one, and a Windows Kits folder of our own with two versions of the
// SDK: the numerically newer holds the sample headers in the SDK's layout (lmerr.h beside them,
// wininet.h in ..\um\, no bugcodes.h or winhttp.h), the other (the newer as text) an empty
// ntstatus.h that cannot be loaded. All of it is removed afterwards.
class LookupProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(samples.isCreated() && bare.isCreated() && kits.isCreated());
        const std::wstring headers = KELVANE_SAMPLE_DIR, empty = samples.writeFile(L"empty.h", "");
        ASSERT_TRUE(CreateDirectoryW(samples.file(L"copy").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(samples.file(L"copy\\lmerr.h").c_str(), nullptr));
        const std::pair<const wchar_t*, std::wstring> configurations[] = {
            {L"kelvane.cfg", headers + L"/ntstatus.h"}, {L"empty.cfg", empty},
            {L"broken.cfg", samples.file(L"copy\\ntstatus.h")}};
        for (const auto& configuration : configurations) {
            const std::wstring text = L"ntstatus.h=" + configuration.second + L"\r\nwinerror.h=" + headers + L"/winerror.h\r\n";
            ASSERT_FALSE(samples.writeFile(configuration.first, {text.begin(), text.end()}).empty());
        }
        ASSERT_FALSE(samples.writeFile(L"app.log", "2026-12-07 10:00:01 [7] start, 12 workers\r\n"
                                                   "2026-12-07 10:00:02 [7] open failed with error 5\n"
                                                   "CreateFile -> 0x80070005\r"
                                                   "Process exited with code -1073741819").empty());
        ASSERT_FALSE(samples.writeFile(L"quiet.log", "2026-12-07 10:00:01 [7] 12 workers, 3 ms\r\n").empty());
        const std::wstring include = kits.path() + L"\\Include\\";
        sdk = include + L"10.0.100000.0\\shared\\";
        std::error_code error;
        std::filesystem::create_directories(sdk, error);
        std::filesystem::create_directories(include + L"10.0.100000.0\\um", error);
        std::filesystem::create_directories(include + L"10.0.99999.9\\shared", error);
        ASSERT_TRUE(std::ofstream(std::filesystem::path(include + L"10.0.99999.9\\shared\\ntstatus.h")).good());
        for (const std::wstring name : {L"ntstatus.h", L"winerror.h", L"lmerr.h", L"..\\um\\wininet.h"}) {
            ASSERT_TRUE(CopyFileW((headers + L"/" + name.substr(name.find_last_of(L'\\') + 1)).c_str(),
                                  (sdk + name).c_str(), FALSE));
        }
        for (const std::wstring name : {L"ntstatus.h", L"winerror.h"}) {
            ASSERT_TRUE(CopyFileW((headers + L"/" + name).c_str(), samples.file(L"copy\\" + name).c_str(), FALSE));
        }
    }

    Folder samples{L"kelvane-lookup"}, bare{L"kelvane-lookup-bare"}, kits{L"kelvane-lookup-kits"};
    std::wstring sdk;
};

// Each case: the command line, whether it runs in a folder without kelvane.cfg (so on the SDK's
// headers), the exit code, and parts of the lines of standard output and error, each in order.
const struct Case {
    const wchar_t* arguments; bool inBareFolder; DWORD exitCode; const wchar_t *outLines, *errLines;
} CASES[] = {
    {L"0xC0000005", false, 0,
     L"0xC0000005  (0xC0000005, 3221225477, -1073741819)\nNTSTATUS          STATUS_ACCESS_VIOLATION  (ntstatus.h)\n"
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
     L"0x80070005  (0x80070005, 2147942405, -2147024891)\nHRESULT           E_ACCESSDENIED  (winerror.h)\n"
     L"  fields          failure, facility 7 (FACILITY_WIN32), code 0x0005\n"
     L"  wraps Win32     5 (0x00000005) ERROR_ACCESS_DENIED\n  its text        {w32:5}\n"
     L"0xD0000022  (0xD0000022, 3489660962, -805306334)\n  fields          failure, N bit (an NTSTATUS inside)\n"
     L"  wraps NTSTATUS  0xC0000022 STATUS_ACCESS_DENIED\n  its text        {nt:C0000022}", L""},
    // Every name of a value, the window's first, each with its header; any of them finds the value.
    {L"0 no_error s_ok WSAECONNRESET nerr_usernotfound KMODE_EXCEPTION_NOT_HANDLED 1722", false, 0,
     L"0  (0x00000000, 0)\nNTSTATUS          STATUS_WAIT_0  (ntstatus.h)\n                  STATUS_SUCCESS  (ntstatus.h)\n"
     L"Win32 code        ERROR_SUCCESS  (winerror.h)\n                  NO_ERROR  (winerror.h)\n"
     L"                  NERR_Success  (lmerr.h)\n"
     L"HRESULT           SEC_E_OK  (winerror.h)\n                  S_OK  (winerror.h)\n"
     L"  fields          success, facility 0 (FACILITY_NULL), code 0x0000\n"
     L"no_error  (0x00000000, 0)\ns_ok  (0x00000000, 0)\n"
     L"WSAECONNRESET  (0x00002746, 10054)\nWin32 code        WSAECONNRESET  (winerror.h)\n  text            {w32:2746}\n"
     L"nerr_usernotfound  (0x000008AD, 2221)\nWin32 code        NERR_UserNotFound  (lmerr.h)\n"
     L"KMODE_EXCEPTION_NOT_HANDLED  (0x0000001E, 30)\nBug check         KMODE_EXCEPTION_NOT_HANDLED  (bugcodes.h)\n"
     L"1722  (0x000006BA, 1722)\nWin32 code        RPC_S_SERVER_UNAVAILABLE  (winerror.h)\n"
     L"  from NTSTATUS   0xC0020017 RPC_NT_SERVER_UNAVAILABLE", L""},
    // Parts of names: every kind, in value order; a name whose value a later name took over too.
    {L"access ACCESS_DENIED status_succ", false, 0,
     L"access  (\n  0x00000005           5  Win32     ERROR_ACCESS_DENIED  (winerror.h)\n"
     L"  0x80070005  2147942405  HRESULT   E_ACCESSDENIED  (winerror.h)\n"
     L"  0xC0000022  3221225506  NTSTATUS  STATUS_ACCESS_DENIED  (ntstatus.h)\n"
     L"ACCESS_DENIED  (\n  0x00000005           5  Win32     ERROR_ACCESS_DENIED\n"
     L"  0xC0000022  3221225506  NTSTATUS  STATUS_ACCESS_DENIED\n"
     L"status_succ  (1 name)\n  0x00000000           0  NTSTATUS  STATUS_SUCCESS  (ntstatus.h)", L""},
    // Numbers at their limits: values without a name anywhere, or no numbers at all.
    {L"0xFFFFFFFF 4294967295 -2147483648", false, 1,
     L"0xFFFFFFFF  (0xFFFFFFFF, 4294967295, -1)\n4294967295  (0xFFFFFFFF, 4294967295, -1)\n"
     L"-2147483648  (0x80000000, 2147483648, -2147483648)", L""},
    {L"0x100000000 4294967296 -2147483649 0x BAD _BAD", false, 1,
     L"0x100000000  (no name contains it)\n4294967296  (no name contains it)\n"
     L"-2147483649  (no name contains it)\n0x  (no name contains it)\nBAD  (0x00000BAD, 2989)\n_BAD  (", L""},
    {L"--config \"{samples}\\missing.cfg\" 5", false, 2, L"",
     L"class zeno::FileNotFoundException\n{samples}\\missing.cfg\n\nError code: 2\n{w32:2}"},
    {L"--config empty.cfg 5", false, 2, L"",
     L"class zeno::IOException\n::CreateFileMapping({samples}\\empty.h) failed\nError code: "},
    // An extra header that is there but cannot be read fails like a main one.
    {L"--config broken.cfg 5", false, 2, L"", L"class zeno::IOException\n::CreateFile({samples}\\copy\\lmerr.h) failed"},
    {L"--where --time --kits \"{kits}\" 5", true, 0,
     L"configuration   (none: the newest Windows SDK)\nntstatus.h      {sdk}ntstatus.h  (\n"
     L"winerror.h      {sdk}winerror.h  (\nlmerr.h         {sdk}lmerr.h  (\n"
     L"wininet.h       {sdk}..\\um\\wininet.h  (\nWin32 code        ERROR_ACCESS_DENIED",
     L"finding headers\nntstatus.h\nwinerror.h\nreverse map\nother headers\nanswers\noutput\ntotal"},
    {L"--where", false, 0,
     L"ntstatus.h      " KELVANE_SAMPLE_DIR L"/ntstatus.h  (\n"
     L"winerror.h      " KELVANE_SAMPLE_DIR L"/winerror.h  (\nlmerr.h         " KELVANE_SAMPLE_DIR L"/lmerr.h  (\n"
     L"bugcodes.h      " KELVANE_SAMPLE_DIR L"/bugcodes.h  (\nwininet.h       " KELVANE_SAMPLE_DIR L"/wininet.h  (\n"
     L"winhttp.h       " KELVANE_SAMPLE_DIR L"/winhttp.h  (", L""},
    // Codes in free text: each once, in order of first appearance, with its line.
    {L"--scan app.log", false, 0,
     L"line 2: 0x00000005  Win32 ERROR_ACCESS_DENIED; bug check INVALID_PROCESS_ATTACH_ATTEMPT  - {w32:5}\n"
     L"line 3: 0x80070005  HRESULT E_ACCESSDENIED  - {w32:5}\n"
     L"line 4: 0xC0000005  NTSTATUS STATUS_ACCESS_VIOLATION", L""},
    {L"--scan quiet.log", false, 1, L"", L""},
    {L"--scan missing.log", false, 2, L"", L"class zeno::FileNotFoundException\nmissing.log"},
    {L"--help", false, 0, L"Usage: kelvane-lookup [options] QUERY...\n(10 is ten, not 0x10)\n  --scan FILE", L""},
    {L"--bogus 5", false, 2, L"", L"kelvane-lookup: unknown option --bogus"},
    {L"--scan app.log 5", false, 2, L"", L"kelvane-lookup: --scan takes no queries"},
};

}  // namespace

TEST_F(LookupProgram, AnswersEachFormOfQueryAndReportsFailuresAsTheWindowDoes) {
    const std::map<std::wstring, std::wstring> folders = {{L"samples", samples.path()}, {L"sdk", sdk},
                                                          {L"kits", kits.path()}};
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
    // The query's quote and backslash come back escaped; --where goes to standard error.
    const ProgramOutput run = runLookup(L"--json --where 0xC0000005 access nothing\\\\\\\"here 0xD0000022 0", samples.path());
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_TRUE(containsInOrder(run.err, L"ntstatus.h      " KELVANE_SAMPLE_DIR L"/ntstatus.h  (\nwinhttp.h"));
    JsonPaths json;
    ASSERT_TRUE(json.parse(run.outBytes)) << run.outBytes;
    const std::string violation = "[0].values[0].", nt = violation + "ntstatus.", wraps = "[3].values[0].hresult.",
                      zero = "[4].values[0].";
    const std::wstring samplesDir = KELVANE_SAMPLE_DIR;
    const std::pair<std::string, std::wstring> fields[] = {
        {"#", L"5"}, {"[0].query", L"0xC0000005"}, {"[0].found", L"true"}, {"[0].values#", L"1"},
        {violation + "value", L"3221225477"}, {violation + "hex", L"0xC0000005"},
        {violation + "signed", L"-1073741819"}, {nt + "name", L"STATUS_ACCESS_VIOLATION"}, {nt + "names#", L"1"},
        {nt + "names[0].header", samplesDir + L"/ntstatus.h"},
        {nt + "text", systemText(true, 0xC0000005)}, {nt + "severity", L"3"}, {nt + "customer", L"0"},
        {nt + "facility", L"0"}, {nt + "facilityName", L"null"}, {nt + "code", L"5"}, {nt + "win32.kind", L"win32"},
        {nt + "win32.value", L"998"}, {nt + "win32.name", L"ERROR_NOACCESS"}, {nt + "win32.text", systemText(false, 998)},
        {violation + "win32.name", L"null"}, {violation + "win32.names#", L"0"},
        {violation + "win32.text", systemText(false, 0xC0000005)},
        {violation + "win32.ntstatus#", L"0"}, {violation + "hresult", L"null"}, {violation + "bugcheck", L"null"},
        {"[0].matches#", L"0"}, {"[1].found", L"true"}, {"[1].values#", L"0"},
        {"[2].query", L"nothing\\\"here"}, {"[2].found", L"false"}, {"[2].values#", L"0"}, {"[2].matches#", L"0"},
        {wraps + "severity", L"1"}, {wraps + "facility", L"0"}, {wraps + "code", L"34"}, {wraps + "nt", L"true"},
        {wraps + "wraps.kind", L"ntstatus"}, {wraps + "wraps.name", L"STATUS_ACCESS_DENIED"},
        {zero + "win32.names#", L"3"}, {zero + "win32.names[2].name", L"NERR_Success"},
        {zero + "win32.names[2].header", samplesDir + L"/lmerr.h"}, {zero + "hresult.names[1].name", L"S_OK"},
        {zero + "hresult.facilityName", L"FACILITY_NULL"}, {zero + "bugcheck.names[0].header", samplesDir + L"/bugcodes.h"},
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

TEST_F(LookupProgram, ScansStandardInputInUtf16ToJson) {
    const std::wstring log = L"open: error 5\r\nexit code 0xC0000005, again STATUS_ACCESS_VIOLATION\r\n\x00e9 E_FAIL";
    std::string bytes = "\xFF\xFE";
    for (wchar_t unit : log) {
        bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    }
    const ProgramOutput run = runLookup(L"--scan - --json", samples.path(), samples.writeFile(L"utf16.log", bytes));
    EXPECT_EQ(0u, run.exitCode) << run.outBytes;
    JsonPaths json;
    ASSERT_TRUE(json.parse(run.outBytes)) << run.outBytes;
    const std::pair<std::string, std::wstring> fields[] = {
        {"#", L"3"}, {"[0].line", L"1"}, {"[0].token", L"5"}, {"[0].value.win32.name", L"ERROR_ACCESS_DENIED"},
        {"[1].line", L"2"}, {"[1].token", L"0xC0000005"}, {"[1].value.ntstatus.name", L"STATUS_ACCESS_VIOLATION"},
        {"[2].line", L"3"}, {"[2].token", L"E_FAIL"}, {"[2].value.hex", L"0x80004005"},
    };
    for (const auto& field : fields) {
        EXPECT_EQ(field.second, json[field.first]) << field.first;
    }
}

TEST_F(LookupProgram, FindsTheConfigurationBesideItselfAndEchoesOtherScriptsInUtf8) {
    // A copy of the program with kelvane.cfg beside it, run from a folder without one.
    const zeno_test::TemporaryDirectory beside(L"kelvane-lookup-beside");
    ASSERT_TRUE(CopyFileW(besideThisProgram(L"kelvane-lookup.exe").c_str(), beside.file(L"kelvane-lookup.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(samples.file(L"kelvane.cfg").c_str(), beside.file(L"kelvane.cfg").c_str(), FALSE));
    const ProgramOutput run = runLookup(L"--where \u30A8\u30E9\u30FC 5", bare.path(), L"", beside.file(L"kelvane-lookup.exe"));
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_TRUE(containsInOrder(run.out, L"configuration   " + beside.file(L"kelvane.cfg") + L"\n"
                                         L"\u30A8\u30E9\u30FC  (no name contains it)\nWin32 code        ERROR_ACCESS_DENIED"));
    EXPECT_NE(std::string::npos, run.outBytes.find("\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC  (no name contains it)"));
}

TEST_F(LookupProgram, WritesToARealConsoleAsUtf16) {
    // This program's own console, shared with the child: what the child writes stays on its screen.
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + besideThisProgram(L"kelvane-lookup.exe") + L"\" --config \""
                           + samples.file(L"kelvane.cfg") + L"\" \u30A8\u30E9\u30FC";
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    WaitForSingleObject(process.hProcess, 20000);
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(1u, exitCode);
    const HANDLE screen = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    ASSERT_TRUE(GetConsoleScreenBufferInfo(screen, &info));
    std::wstring shown(static_cast<std::size_t>(info.dwSize.X) * info.dwSize.Y, L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(screen, &shown[0], static_cast<DWORD>(shown.size()), {0, 0}, &read);
    CloseHandle(screen);
    FreeConsole();
    EXPECT_NE(std::wstring::npos, shown.find(L"\u30A8\u30E9\u30FC  (no name contains it)"))
        << ::testing::PrintToString(shown.substr(0, 400));
}

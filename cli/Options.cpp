#include "cli/Options.h"

#include "zeno/Exception.h"

const wchar_t* const USAGE =
    L"Usage: kelvane-lookup [options] QUERY...\n"
    L"       kelvane-lookup [options] --scan FILE\n"
    L"\n"
    L"Answers each query with every reading of the code: as an NTSTATUS (names, text, fields and the\n"
    L"Win32 error code it maps to), as a Win32 error code (names, text and every NTSTATUS that maps to\n"
    L"it), for a value of HRESULT shape as an HRESULT (names and the code it wraps), and as a bug\n"
    L"check code when one has its value. Every name of a value is shown, with the header it is from.\n"
    L"\n"
    L"Queries:\n"
    L"  0xC0000005, 0XC0000005   hexadecimal after 0x (up to eight digits)\n"
    L"  C0000005, DEADBEEF       bare hex digits with a letter A-F are hexadecimal\n"
    L"  3221225477, 5, 10        bare decimal digits are always decimal (10 is ten, not 0x10)\n"
    L"  -1073741819              a signed 32-bit value, as .NET and Rust logs print NTSTATUS\n"
    L"  ERROR_ACCESS_DENIED      a name of any kind, in any case (S_OK, WSAECONNRESET,\n"
    L"                           NERR_UserNotFound, KMODE_EXCEPTION_NOT_HANDLED)\n"
    L"  access, ACCESS_DENIED    a part of a name: every name that contains it, in value order\n"
    L"  A word of the letters A-F alone (BAD, FACE) is hexadecimal; search names for it with an\n"
    L"  underscore (_BAD). 0x80070005 shows the Win32 code inside it, 0xD0000022 the NTSTATUS\n"
    L"  (the N bit, 0x10000000, marks an HRESULT that wraps one).\n"
    L"\n"
    L"Headers: ntstatus.h (NTSTATUS), winerror.h (Win32 codes, HRESULTs, facility names) and, when\n"
    L"they are there, lmerr.h (NERR_ codes) and bugcodes.h beside ntstatus.h, wininet.h and\n"
    L"winhttp.h in ..\\um\\ from there or beside it.\n"
    L"\n"
    L"Options:\n"
    L"  --scan FILE     pick every code out of a log or any text (- for standard input): names,\n"
    L"                  0x numbers, eight hex digits with a letter, negative and large decimals,\n"
    L"                  and decimals after error, code, status or returned; each once, with the\n"
    L"                  line where it first appears\n"
    L"  --config FILE   the configuration file (lines ntstatus.h=PATH and winerror.h=PATH)\n"
    L"  --kits FOLDER   look for the newest SDK in FOLDER\\Include\\ instead of Windows Kits\\10\n"
    L"  --where         print the configuration and each header read with its count of names\n"
    L"                  (on standard error with --json)\n"
    L"  --json          JSON instead of text: one object per query, or per code found by --scan\n"
    L"  --time          print the time of each loading phase on standard error\n"
    L"  --help          print this text\n"
    L"\n"
    L"Without --config: kelvane.cfg in the working directory, else kelvane.cfg beside this program,\n"
    L"else the headers of the newest Windows SDK under the 32-bit Program Files folder\n"
    L"(Windows Kits\\10\\Include\\<version>\\shared\\).\n"
    L"\n"
    L"Exit code: 0 when every query found a name (--scan: when it found a code), 1 when one found\n"
    L"nothing, 2 on bad usage or a file that cannot be read (reported on standard error as the\n"
    L"window reports it).\n";

Options Options::parse(int argc, const wchar_t* const* argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument == L"--config" || argument == L"--scan" || argument == L"--kits") {
            if (i + 1 >= argc || argv[i + 1][0] == L'\0') {
                throw zeno::IllegalArgumentException(argument + (argument == L"--kits" ? L" needs a folder" : L" needs a file"));
            }
            std::wstring& value = argument == L"--config" ? options.configPath
                                  : argument == L"--scan" ? options.scanSource : options.kitsFolder;
            value = argv[++i];
        } else if (argument == L"--where") {
            options.where = true;
        } else if (argument == L"--help") {
            options.help = true;
        } else if (argument == L"--json") {
            options.json = true;
        } else if (argument == L"--time") {
            options.time = true;
        } else if (argument.size() > 1 && argument[0] == L'-' && !(argument[1] >= L'0' && argument[1] <= L'9')) {
            throw zeno::IllegalArgumentException(L"unknown option " + argument);
        } else {
            options.queries.push_back(argument);
        }
    }
    if (!options.scanSource.empty() && !options.queries.empty()) {
        throw zeno::IllegalArgumentException(L"--scan takes no queries");
    }
    if (!options.help && !options.where && options.queries.empty() && options.scanSource.empty()) {
        throw zeno::IllegalArgumentException(L"nothing to look up");
    }
    return options;
}

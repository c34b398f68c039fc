#include "cli/Options.h"

#include "zeno/Exception.h"

const wchar_t* const USAGE =
    L"Usage: kelvane-lookup [options] QUERY...\n"
    L"\n"
    L"Answers each query with every reading of the code: as an NTSTATUS (name, text, fields and the\n"
    L"Win32 error code it maps to), as a Win32 error code (name, text and every NTSTATUS that maps to\n"
    L"it) and, for a value of HRESULT shape, as an HRESULT (name and the code it wraps).\n"
    L"\n"
    L"Queries:\n"
    L"  0xC0000005, 0XC0000005   hexadecimal after 0x (up to eight digits)\n"
    L"  C0000005, DEADBEEF       bare hex digits with a letter A-F are hexadecimal\n"
    L"  3221225477, 5, 10        bare decimal digits are always decimal (10 is ten, not 0x10)\n"
    L"  -1073741819              a signed 32-bit value, as .NET and Rust logs print NTSTATUS\n"
    L"  ERROR_ACCESS_DENIED      a name of ntstatus.h or winerror.h (HRESULT names too), any case\n"
    L"  access, ACCESS_DENIED    a part of a name: every name of the three tables that contains it,\n"
    L"                           in value order\n"
    L"  A word of the letters A-F alone (BAD, FACE) is hexadecimal; search names for it with an\n"
    L"  underscore (_BAD). 0x80070005 shows the Win32 code inside it, 0xD0000022 the NTSTATUS\n"
    L"  (the N bit, 0x10000000, marks an HRESULT that wraps one).\n"
    L"\n"
    L"Options:\n"
    L"  --config FILE   the configuration file (lines ntstatus.h=PATH and winerror.h=PATH)\n"
    L"  --where         print the configuration and the headers used (on standard error with --json)\n"
    L"  --json          one JSON array, one object per query, instead of text\n"
    L"  --time          print the time of each loading phase on standard error\n"
    L"  --help          print this text\n"
    L"\n"
    L"Without --config: kelvane.cfg in the working directory, else kelvane.cfg beside this program,\n"
    L"else the headers of the newest Windows SDK under the 32-bit Program Files folder\n"
    L"(Windows Kits\\10\\Include\\<version>\\shared\\).\n"
    L"\n"
    L"Exit code: 0 when every query found a name, 1 when one found nothing, 2 on bad usage or a\n"
    L"file that cannot be read (reported on standard error as the window reports it).\n";

Options Options::parse(int argc, const wchar_t* const* argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument == L"--config") {
            if (i + 1 >= argc || argv[i + 1][0] == L'\0') {
                throw zeno::IllegalArgumentException(L"--config needs a file");
            }
            options.configPath = argv[++i];
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
    if (!options.help && !options.where && options.queries.empty()) {
        throw zeno::IllegalArgumentException(L"nothing to look up");
    }
    return options;
}

#pragma once

#include <string>
#include <vector>

// The command line of kelvane-lookup. Throws zeno::IllegalArgumentException with the text for the
// user on bad usage: an unknown option, an option without its argument, queries with --scan,
// nothing to do.
struct Options {
    std::wstring configPath;      // --config FILE; empty: look for one
    std::wstring kitsFolder;      // --kits FOLDER; empty: Windows Kits\10 under Program Files
    std::wstring scanSource;      // --scan FILE, "-" for standard input; empty: no scan
    bool where = false;           // --where
    bool help = false;            // --help
    bool json = false;            // --json
    bool time = false;            // --time
    std::vector<std::wstring> queries;

    static Options parse(int argc, const wchar_t* const* argv);
};

// The text that --help prints.
extern const wchar_t* const USAGE;

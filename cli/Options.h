#pragma once

#include <string>
#include <vector>

// The command line of kelvane-lookup. Throws zeno::IllegalArgumentException with the text for the
// user on bad usage: an unknown option, --config without a file, nothing to do.
struct Options {
    std::wstring configPath;      // --config FILE; empty: look for one
    bool where = false;           // --where
    bool help = false;            // --help
    bool json = false;            // --json
    bool time = false;            // --time
    std::vector<std::wstring> queries;

    static Options parse(int argc, const wchar_t* const* argv);
};

// The text that --help prints.
extern const wchar_t* const USAGE;

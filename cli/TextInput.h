#pragma once

#include <string>

class LogScanner;

// Feeds a whole text to the scanner: the file at the path, or standard input for "-". A byte
// order mark settles UTF-16 (either order) or UTF-8; without one the bytes go as they are (UTF-8
// and the ANSI code pages agree on ASCII, the only part that matters). Read in pieces, so any size
// and any line length will do. Throws zeno::FileNotFoundException / zeno::IOException
// ("::CreateFile(path) failed", "::ReadFile(path) failed") when the text cannot be read.
void scanText(const std::wstring& source, LogScanner& scanner);

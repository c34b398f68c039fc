#pragma once

#include "cli/LogScanner.h"

#include <string>
#include <vector>

class Lookup;

// What --scan prints: one line a code in text, in order of first appearance,
//   line 12: 0xC0000005  NTSTATUS STATUS_ACCESS_VIOLATION  - the text
// (every name of each kind that has one, "(no name)" when none has; the text of a named reading
// first, on one line), or a JSON array of {"line", "token", "value": a value as in jsonReport}.
std::wstring scanTextReport(const std::vector<LogScanner::Found>& found, const Lookup& lookup);
std::wstring scanJsonReport(const std::vector<LogScanner::Found>& found, const Lookup& lookup);

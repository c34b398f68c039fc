#pragma once

#include <string>
#include <vector>

struct Answer;
struct ValueReadings;

// The answers as one JSON document for scripts: an array with one object per query,
//   {"query", "found", "values": [...], "matches": [...]}
// a value: {"value", "hex", "signed",
//   "ntstatus": {NAMES, "text", "severity", "customer", "facility", "facilityName", "code",
//                "win32": code or null},
//   "win32": {NAMES, "text", "ntstatus": [codes]},
//   "hresult": null or {NAMES, "severity", "facility", "facilityName", "code", "nt": bool,
//                       "wraps": code or null},
//   "bugcheck": null or {NAMES}}
// a code: {"kind": "ntstatus" | "win32" | "hresult" | "bugcheck", "value", "hex", NAMES[, "text"]}
// NAMES: "name" (the first, the one the window shows) and "names": [{"name", "header"}], the
// header as a path. A missing name or facility name is null; a missing text is "".
std::wstring jsonReport(const std::vector<Answer>& answers);

// One value as in the answers above, for other reports.
std::wstring jsonValue(const ValueReadings& readings);
// A string with JSON's escapes.
std::wstring jsonString(const std::wstring& text);

#pragma once

#include <string>
#include <vector>

struct Answer;

// The answers as one JSON document for scripts: an array with one object per query,
//   {"query", "found", "values": [...], "matches": [...]}
// a value: {"value", "hex", "signed",
//   "ntstatus": {"name", "text", "severity", "customer", "facility", "code", "win32": code or null},
//   "win32": {"name", "text", "ntstatus": [codes]},
//   "hresult": null or {"name", "severity", "facility", "code", "nt": bool, "wraps": code or null}}
// a code: {"kind": "ntstatus" | "win32" | "hresult", "value", "hex", "name"[, "text"]}.
// A missing name is null; a missing text is "".
std::wstring jsonReport(const std::vector<Answer>& answers);

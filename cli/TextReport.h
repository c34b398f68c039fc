#pragma once

#include <string>
#include <vector>

struct Answer;

// The answers as aligned plain text for people: per value a block of its readings, per part of
// a name the list of names that contain it; a blank line between answers. Lines end in "\n".
std::wstring textReport(const std::vector<Answer>& answers);

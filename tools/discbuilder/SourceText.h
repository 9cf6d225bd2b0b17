// Small helpers of the readable sample sources: trimming a line and splitting it into fields.
#pragma once

#include <string>
#include <vector>

namespace discbuilder {

// The text without the spaces, tabs and carriage returns around it.
std::string TrimSource(const std::string& text);
// The fields between separators, each trimmed ("a | b" gives "a" and "b").
std::vector<std::string> SplitSourceFields(const std::string& text, char separator = '|');

}  // namespace discbuilder

// Small helpers of the readable sample sources: trimming a line, splitting it into fields, and
// turning its UTF-8 into the code page of the disc.
#pragma once

#include <string>
#include <vector>

namespace discbuilder {

// The text without the spaces, tabs and carriage returns around it.
std::string TrimSource(const std::string& text);
// The fields between separators, each trimmed ("a | b" gives "a" and "b").
std::vector<std::string> SplitSourceFields(const std::string& text, char separator = '|');

// Decodes one UTF-8 character at i (advancing i); invalid bytes decode as U+FFFD.
char32_t DecodeUtf8(const std::string& text, std::size_t& i);
// UTF-8 text in the Western code page (Windows-1252) as the disc carries text: characters the
// code page lacks become "?".
std::string Cp1252FromUtf8(const std::string& utf8);

}  // namespace discbuilder

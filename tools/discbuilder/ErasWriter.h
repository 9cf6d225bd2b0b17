// Writes "ERASORT.dat", the eras of the Dido Dovov (src/explore/ErasFile.h reads it), from a
// readable source such as sample/eras/eras.txt (UTF-8):
//   [Era title]           a header
//   1001|Aviation         an item of the era above: its content number, a bar, its title
// Blank lines and lines beginning with "#" are skipped. The file is Windows-1252 text with CR LF
// line ends: each header, then its items, as the source orders them.
#pragma once

#include "KeywordIndexWriter.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace discbuilder {

constexpr const char* kErasFileName = "ERASORT.dat";
constexpr const char* kErasSource = "eras/eras.txt";
constexpr std::size_t kErasMaxFile = 65535;
constexpr std::size_t kErasMaxField = 351;
constexpr std::size_t kErasSlotsPerEra = 125;

struct EraItem {
    std::uint32_t number = 0;
    std::string title;  // in the disc's code page
};

struct EraSource {
    std::string title;  // in the disc's code page
    std::vector<EraItem> items;
};

// Throws std::runtime_error naming the source and line for an item before the first header, a
// line that is neither a header nor "number|title", or a number that is not a positive decimal.
std::vector<EraSource> ParseErasSource(const std::string& text, const std::string& name);

// The file. Throws std::invalid_argument when it would break the reader's limits: a title or an
// item title longer than 351 characters or holding a bracket, a bar or a line end; more item
// slots than 125 per era (an era takes one slot per item, at least one, and every era after the
// first one more); more than 65,535 bytes.
std::string WriteErasFile(const std::vector<EraSource>& eras);

// Writes <dataFolder>/ERASORT.dat from <sampleFolder>/eras/eras.txt when that source exists and
// returns its path (empty otherwise). Throws std::runtime_error for an item whose number the
// disc does not carry (bOnDisc answers false).
std::filesystem::path WriteSampleEras(const std::filesystem::path& sampleFolder, const std::filesystem::path& dataFolder,
                                      const std::function<bool(std::uint32_t)>& bOnDisc);

// Eras by decade, for the years firstYear to lastYear (A.D.): era "<prefix><decade>s" holds the
// articles whose texts mention a year of that decade (a year as the word index reads one), those
// with the most mentions first, then by number, at most maxItems of them; a decade that no text
// mentions has no era. Titles lose the characters the file cannot hold (brackets, bars, line
// ends) and are cut to 351 characters.
std::vector<EraSource> ErasByDecade(const std::vector<IndexedArticle>& articles, int firstYear, int lastYear,
                                    const std::string& prefix, std::size_t maxItems);

// The readable source of eras (as ParseErasSource reads it); bytes above 127 become "?".
std::string ErasSourceText(const std::vector<EraSource>& eras);

}  // namespace discbuilder

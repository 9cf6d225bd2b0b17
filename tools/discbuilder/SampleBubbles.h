// The sample disc's photo bubbles and simulations.
//
// A bubble source (sample/bubbles/*.txt) is header lines `key: value`:
//   number: 4050001                       the item's content number (required); the file is
//                                         info_dat/Photo/Bu%06ld.bub of (number mod 10,000)
//   scene: harbour 1440 320               the drawn panorama and its size (required)
//   start: 40                             the column shown first (default 0)
//   spot: 190 60 240 250 | text           a hot spot: left top right bottom, then its text
// Blank lines and lines beginning with "#" are skipped.
//
// Simulations are code libraries built with the simulation runtime (platform/araisf/sims); the
// builder copies every "si*.dll" of their build folder into info_dat/Sims/.
#pragma once

#include "BubWriter.h"

#include <filesystem>
#include <string>
#include <vector>

namespace discbuilder {

struct BubbleItemSource {
    std::int32_t number = 0;
    BubSource bubble;
};

// Throws std::runtime_error naming the source and line for an unknown key or scene, a bad
// number or a bad hot spot.
BubbleItemSource ParseBubbleSource(const std::string& text, const std::string& name);

// The panorama of a scene ("harbour"): a 256-colour picture whose right edge joins its left.
// Throws std::runtime_error for a scene it does not know.
BubSource DrawBubbleScene(const std::string& scene, std::uint32_t width, std::uint32_t height);

// Writes the bubbles of sampleFolder/bubbles into dataFolder/Photo; the files written.
std::vector<std::filesystem::path> WriteSampleBubbles(const std::filesystem::path& sampleFolder,
                                                      const std::filesystem::path& dataFolder);

// Copies the simulation libraries ("si*.dll") of simsFolder into dataFolder/Sims; the files
// written. The default folder is where this build puts them.
std::vector<std::filesystem::path> CopySampleSimulations(const std::filesystem::path& dataFolder,
                                                         const std::filesystem::path& simsFolder = {});

}  // namespace discbuilder

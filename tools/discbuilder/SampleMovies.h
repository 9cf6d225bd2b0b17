// The sample disc's movie files, generated: the animations, videos and panorama of the sample
// items in <info_dat>/Movies and the sound clip in <info_dat>/Sound, named as the program looks
// for them (the media number's last four digits).
#pragma once

#include <filesystem>
#include <vector>

namespace discbuilder {

std::vector<std::filesystem::path> WriteSampleMovies(const std::filesystem::path& dataFolder);

}  // namespace discbuilder

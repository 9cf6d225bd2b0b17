// Reading a movie file whole: its video frames as 32-bit pixels and its sound as 16-bit samples,
// through FFmpeg's libraries. A file that does not read to its end exactly as its tables say
// (damaged, cut short, a codec that cannot decode it, too large) is refused with a reason.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qtml {

struct MovieFrame {
    long startMs = 0;
    std::vector<std::uint32_t> pixels;  // top-down rows, 0x00RRGGBB
};

struct DecodedMovie {
    int width = 0;   // 0 for a sound
    int height = 0;
    std::vector<MovieFrame> frames;
    int channels = 0;
    int sampleRate = 0;
    std::vector<std::int16_t> samples;  // interleaved
    long durationMs = 0;
    // A panorama shows a window of this width onto its wide picture, moved with the mouse
    // (0: not a panorama). Taken from the file's comment "panorama <width>".
    int viewWidth = 0;
};

std::optional<DecodedMovie> DecodeMovie(const std::string& hostPath, std::string& reason);

}  // namespace qtml

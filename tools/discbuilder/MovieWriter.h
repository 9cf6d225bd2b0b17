// Writes movie files (the QuickTime file layout, through FFmpeg's libraries): pictures as the
// lossless "Animation" codec or as a compressed video codec, sound as 16-bit PCM, and an optional
// comment (a panorama says "panorama <view width>"). The table of contents goes first, so a file
// cut short loses samples rather than its tables.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace discbuilder {

enum class MovieCodec {
    Animation,  // lossless run-length RGB: the frames read back exactly
    Video,      // MPEG-4 part 2: smaller, not exact
};

struct MovieSource {
    int width = 0;  // 0: a sound without pictures
    int height = 0;
    int framesPerSecond = 10;
    std::vector<std::vector<std::uint32_t>> frames;  // width x height pixels 0x00RRGGBB, top row first
    MovieCodec codec = MovieCodec::Animation;
    int sampleRate = 22050;
    int channels = 1;
    std::vector<std::int16_t> samples;  // interleaved; empty: no sound
    std::string comment;
};

// Throws std::runtime_error when the movie cannot be written.
void WriteMovieFile(const std::filesystem::path& path, const MovieSource& source);

// Generated content for the sample disc and tests: a frame of one colour with a bar of another at
// a place that moves with the frame number, and a sine tone.
std::vector<std::uint32_t> MovieTestFrame(int width, int height, std::uint32_t ground, std::uint32_t bar, int n);
std::vector<std::int16_t> MovieTone(int sampleRate, int channels, int frequency, int milliseconds);

}  // namespace discbuilder

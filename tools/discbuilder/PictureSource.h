// Reads the readable picture sources of the sample disc (sample/pictures/*.txt): a picture drawn
// as text, one character a cell, each character standing for a colour, every cell made a square
// of `scale` pixels.
//
//   # comment lines and blank lines before "picture:" are skipped
//   scale: 5                  the side of a cell in pixels, 1 to 64 (1 when absent)
//   colour: . 12 24 72        a character and its red, green and blue (0 to 255); up to 256
//   picture:                  every line after this one is a row of cells, all of one length
//
// The picture becomes an indexed BMP of the fewest bits (1, 4 or 8) that hold its colours, in
// the order they are declared.
#pragma once

#include "BmpWriter.h"

#include <filesystem>
#include <string>

namespace discbuilder {

// The picture of a source text; `name` names it in errors. Throws std::runtime_error naming the
// source and line for an unknown line, a bad or repeated colour, a bad scale, no rows, rows of
// different lengths, a character no colour stands for, or a picture larger than a BMP may be.
BmpPicture ParsePictureSource(const std::string& text, const std::string& name);

// The picture of a source file; throws std::runtime_error as above, or when it cannot be read.
BmpPicture ReadPictureSource(const std::filesystem::path& file);

// The splash picture's source in the sample folder and its file on the disc: the program shows
// the disc's info_dat\splash.bmp at start-up.
constexpr const char* kSplashSource = "pictures/splash.txt";
constexpr const char* kSplashFileName = "splash.bmp";

// Writes the splash picture from its source into the data folder; its path. Throws
// std::runtime_error when the source is bad or the file cannot be written.
std::filesystem::path WriteSplashPicture(const std::filesystem::path& sampleFolder,
                                         const std::filesystem::path& dataFolder);

}  // namespace discbuilder

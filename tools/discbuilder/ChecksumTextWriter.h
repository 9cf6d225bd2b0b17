// Writes checked text files: text whose last line is "checksum:" followed by eight hexadecimal
// digits protecting every byte before that line (update lists, article lists and the other text
// files the program downloads and checks before it parses them).
//
// The checksum: the content bytes cut into 4-byte groups, each read as a big-endian 32-bit number
// with the last group filled with zero bytes on the right, XOR-ed together and with 0xFFFFFFFF.
// The line end of the last content line is content; the trailer line is not.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace discbuilder {

// The checksum of the content before the trailer ("abc" gives 0x9E9D9CFF, nothing 0xFFFFFFFF).
std::uint32_t TextChecksum(std::string_view content);

// "checksum:" and the eight upper-case digits of the content's checksum, without a line end.
std::string ChecksumTrailer(std::string_view content);

// The lines, each ended by CR LF: the content of a checked text file.
std::string JoinTextLines(const std::vector<std::string>& lines);

// The whole file: the content followed by its trailer line (ended by CR LF). Content that holds
// "checksum:" (in any case) would end early when read: it throws std::invalid_argument.
std::string ChecksumText(std::string_view content);

// Writes ChecksumText(content) to a host file, creating its folder; throws std::runtime_error
// when the file cannot be written.
void WriteChecksumTextFile(const std::filesystem::path& file, std::string_view content);

}  // namespace discbuilder

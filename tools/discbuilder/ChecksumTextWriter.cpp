#include "ChecksumTextWriter.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace discbuilder {

std::uint32_t TextChecksum(std::string_view content)
{
    std::uint32_t sum = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < content.size(); i += 4) {
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            std::uint8_t byte = i + k < content.size() ? static_cast<std::uint8_t>(content[i + k]) : 0;
            group = (group << 8) | byte;
        }
        sum ^= group;
    }
    return sum;
}

std::string ChecksumTrailer(std::string_view content)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(TextChecksum(content)));
    return std::string("checksum:") + digits;
}

std::string JoinTextLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string ChecksumText(std::string_view content)
{
    // The reader takes the first "checksum:" (in any case) for the trailer, so the content
    // must not hold one.
    std::string lower(content);
    for (char& ch : lower)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    if (lower.find("checksum:") != std::string::npos)
        throw std::invalid_argument("checked text content holds \"checksum:\"");
    std::string text(content);
    text += ChecksumTrailer(content);
    text += "\r\n";
    return text;
}

void WriteChecksumTextFile(const std::filesystem::path& file, std::string_view content)
{
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    const std::string text = ChecksumText(content);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

}  // namespace discbuilder

#include "PaletteFileWriter.h"

#include <fstream>
#include <stdexcept>

namespace discbuilder {

std::string PaletteFileBytes(const std::vector<PaletteColor>& colors)
{
    if (colors.size() > kPaletteFileMaxColors)
        throw std::invalid_argument("a palette file holds at most 193 colours");
    std::string bytes(kPaletteFileHeader, '\0');
    const std::string tag = "Veltra palette";
    bytes.replace(0, tag.size(), tag);
    for (const PaletteColor& c : colors) {
        bytes.push_back(static_cast<char>(c.red));
        bytes.push_back(static_cast<char>(c.green));
        bytes.push_back(static_cast<char>(c.blue));
        bytes.push_back(static_cast<char>(c.flags));
    }
    bytes.append(kPaletteFileTrailer, '\0');
    return bytes;
}

void WritePaletteFile(const std::filesystem::path& file, const std::vector<PaletteColor>& colors)
{
    std::string bytes = PaletteFileBytes(colors);
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

}  // namespace discbuilder

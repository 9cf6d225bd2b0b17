#include "PictureSource.h"

#include <array>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace discbuilder {

namespace {

constexpr int kMaxScale = 64;
constexpr int kMaxSide = 32767;

std::string TrimmedRight(std::string line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    return line;
}

// A decimal number from lo to hi, or -1.
int Number(const std::string& field, int lo, int hi)
{
    if (field.empty() || field.size() > 5 || field.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    const int value = std::stoi(field);
    return value >= lo && value <= hi ? value : -1;
}

}  // namespace

BmpPicture ParsePictureSource(const std::string& text, const std::string& name)
{
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    auto fail = [&](const std::string& what) {
        throw std::runtime_error(name + ": line " + std::to_string(lineNumber) + ": " + what);
    };

    BmpPicture picture;
    int scale = 1;
    std::array<int, 256> indexOf;
    indexOf.fill(-1);
    bool inPicture = false;
    std::vector<std::string> rows;
    while (std::getline(in, line)) {
        ++lineNumber;
        line = TrimmedRight(line);
        if (inPicture) {
            if (line.empty())
                continue;  // blank lines (the end of the file) are no rows
            if (!rows.empty() && line.size() != rows.front().size())
                fail("a row of " + std::to_string(line.size()) + " cells after rows of " +
                     std::to_string(rows.front().size()));
            for (char ch : line)
                if (indexOf[static_cast<unsigned char>(ch)] < 0)
                    fail(std::string("no colour for '") + ch + "'");
            rows.push_back(line);
            continue;
        }
        if (line.empty() || line[0] == '#')
            continue;
        if (line == "picture:") {
            inPicture = true;
        } else if (line.rfind("scale: ", 0) == 0) {
            scale = Number(line.substr(7), 1, kMaxScale);
            if (scale < 0)
                fail("the scale is not a number from 1 to " + std::to_string(kMaxScale));
        } else if (line.rfind("colour: ", 0) == 0 && line.size() > 9 && line[9] == ' ') {
            const char ch = line[8];
            if (ch == ' ' || ch == '\t')
                fail("a blank cannot stand for a colour");
            std::istringstream fields(line.substr(10));
            std::string field;
            std::vector<int> rgb;
            while (fields >> field)
                rgb.push_back(Number(field, 0, 255));
            if (rgb.size() != 3 || rgb[0] < 0 || rgb[1] < 0 || rgb[2] < 0)
                fail(std::string("the colour of '") + ch + "' is not three numbers from 0 to 255");
            if (indexOf[static_cast<unsigned char>(ch)] >= 0)
                fail(std::string("a second colour for '") + ch + "'");
            if (picture.colors.size() == 256)
                fail("more than 256 colours");
            indexOf[static_cast<unsigned char>(ch)] = static_cast<int>(picture.colors.size());
            picture.colors.push_back(
                {static_cast<std::uint8_t>(rgb[0]), static_cast<std::uint8_t>(rgb[1]), static_cast<std::uint8_t>(rgb[2])});
        } else {
            fail("not a comment, \"scale:\", \"colour:\" or \"picture:\" line");
        }
    }
    if (rows.empty())
        fail("no rows of the picture");
    const std::size_t columns = rows.front().size();
    if (columns * std::size_t(scale) > kMaxSide || rows.size() * std::size_t(scale) > kMaxSide)
        fail("a picture larger than " + std::to_string(kMaxSide) + " pixels a side");

    picture.width = static_cast<int>(columns) * scale;
    picture.height = static_cast<int>(rows.size()) * scale;
    picture.bitCount = picture.colors.size() <= 2 ? 1 : picture.colors.size() <= 16 ? 4 : 8;
    picture.indices.reserve(std::size_t(picture.width) * std::size_t(picture.height));
    for (const std::string& row : rows)
        for (int repeat = 0; repeat < scale; ++repeat)
            for (char ch : row)
                picture.indices.insert(picture.indices.end(), std::size_t(scale),
                                       static_cast<std::uint8_t>(indexOf[static_cast<unsigned char>(ch)]));
    return picture;
}

BmpPicture ReadPictureSource(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    std::ostringstream text;
    text << in.rdbuf();
    return ParsePictureSource(text.str(), file.string());
}

std::filesystem::path WriteSplashPicture(const std::filesystem::path& sampleFolder,
                                         const std::filesystem::path& dataFolder)
{
    const std::string bmp = BmpFile(ReadPictureSource(sampleFolder / kSplashSource));
    std::filesystem::create_directories(dataFolder);
    const std::filesystem::path file = dataFolder / kSplashFileName;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bmp.data(), static_cast<std::streamsize>(bmp.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
    return file;
}

}  // namespace discbuilder

// The picture of the earth (read through libjpeg) and the bitmaps made of it. Kept apart from
// the GDI's headers, whose integer types libjpeg's headers declare differently.
#include "AtlasArt.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <stdexcept>

#include <jpeglib.h>

namespace atlas {

namespace {

// ---- reading the picture of the earth ----------------------------------------------------------

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr info)
{
    auto* error = reinterpret_cast<JpegError*>(info->err);
    (*info->err->format_message)(info, error->message);
    std::longjmp(error->jump, 1);
}

// Decodes into `image`; an empty string, or what went wrong. Kept free of C++ objects with
// destructors between setjmp and longjmp.
std::string DecodeJpeg(std::FILE* file, EarthImage& image)
{
    jpeg_decompress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnJpegError;
    error.message[0] = '\0';
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return error.message[0] != '\0' ? error.message : "not a JPEG picture";
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return "not a colour picture";
    }
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    image.rgb.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &image.rgb[static_cast<std::size_t>(info.output_scanline) * static_cast<std::size_t>(image.width) * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return "";
}

}  // namespace

const std::uint8_t* EarthImage::At(double lat, double lon) const
{
    int x = static_cast<int>(std::floor((lon + 180) / 360 * width));
    int y = static_cast<int>(std::floor((90 - lat) / 180 * height));
    x = ((x % width) + width) % width;
    y = std::clamp(y, 0, height - 1);
    return &rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3];
}

EarthImage ReadEarthImage(const std::filesystem::path& file)
{
    std::FILE* in = std::fopen(file.string().c_str(), "rb");
    if (in == nullptr)
        throw std::runtime_error("cannot read the picture of the earth " + file.string() +
                                 " (scripts/install-deps installs it: Debian's xplanet-images)");
    EarthImage image;
    const std::string error = DecodeJpeg(in, image);
    std::fclose(in);
    if (!error.empty())
        throw std::runtime_error(file.string() + ": " + error);
    if (image.width < 16 || image.width != 2 * image.height)
        throw std::runtime_error(file.string() + ": the picture of the earth is not twice as wide as high");
    return image;
}

const EarthImage& SharedEarthImage()
{
    static const EarthImage image = ReadEarthImage();
    return image;
}

std::string EarthBitmapFile(const EarthImage& earth, int width, int height)
{
    // The earth averaged down to the size.
    std::vector<std::array<std::uint8_t, 3>> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int x0 = x * earth.width / width, x1 = std::max(x0 + 1, (x + 1) * earth.width / width);
            const int y0 = y * earth.height / height, y1 = std::max(y0 + 1, (y + 1) * earth.height / height);
            unsigned sum[3] = {0, 0, 0}, n = 0;
            for (int yy = y0; yy < y1; ++yy)
                for (int xx = x0; xx < x1; ++xx) {
                    const std::uint8_t* p = &earth.rgb[(static_cast<std::size_t>(yy) * static_cast<std::size_t>(earth.width) + static_cast<std::size_t>(xx)) * 3];
                    for (int c = 0; c < 3; ++c)
                        sum[c] += p[c];
                    ++n;
                }
            auto& q = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
            for (int c = 0; c < 3; ++c)
                q[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(sum[c] / n);
        }
    // The 256 most used colours of 5 bits a channel (their mean colours).
    auto bin = [](const std::array<std::uint8_t, 3>& p) { return (p[0] >> 3) << 10 | (p[1] >> 3) << 5 | (p[2] >> 3); };
    std::vector<unsigned> count(32768, 0);
    std::vector<std::array<unsigned, 3>> sums(32768, {0, 0, 0});
    for (const auto& p : pixels) {
        const int b = bin(p);
        ++count[static_cast<std::size_t>(b)];
        for (int c = 0; c < 3; ++c)
            sums[static_cast<std::size_t>(b)][static_cast<std::size_t>(c)] += p[static_cast<std::size_t>(c)];
    }
    std::vector<int> bins(32768);
    for (int i = 0; i < 32768; ++i)
        bins[static_cast<std::size_t>(i)] = i;
    std::stable_sort(bins.begin(), bins.end(), [&](int a, int b) { return count[static_cast<std::size_t>(a)] > count[static_cast<std::size_t>(b)]; });
    std::vector<std::array<std::uint8_t, 3>> table(256, {0, 0, 0});
    for (std::size_t i = 0; i < 256; ++i) {
        const auto b = static_cast<std::size_t>(bins[i]);
        if (count[b] == 0)
            break;
        for (std::size_t c = 0; c < 3; ++c)
            table[i][c] = static_cast<std::uint8_t>(sums[b][c] / count[b]);
    }
    std::vector<int> nearest(32768, -1);
    auto indexOf = [&](const std::array<std::uint8_t, 3>& p) {
        int& cached = nearest[static_cast<std::size_t>(bin(p))];
        if (cached < 0) {
            long best = -1;
            for (std::size_t i = 0; i < 256; ++i) {
                long d = 0;
                for (std::size_t c = 0; c < 3; ++c) {
                    const long e = long(p[c]) - table[i][c];
                    d += e * e;
                }
                if (best < 0 || d < best) {
                    best = d;
                    cached = static_cast<int>(i);
                }
            }
        }
        return static_cast<std::uint8_t>(cached);
    };
    // BITMAPFILEHEADER, BITMAPINFOHEADER, 256 colours, rows bottom-up padded to 4 bytes.
    const std::size_t stride = (static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
    const std::size_t bitsAt = 14 + 40 + 256 * 4;
    std::string file(bitsAt + stride * static_cast<std::size_t>(height), '\0');
    auto put = [&](std::size_t at, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, static_cast<std::uint32_t>(file.size()), 4);
    put(10, static_cast<std::uint32_t>(bitsAt), 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 8, 2);
    put(34, static_cast<std::uint32_t>(stride * static_cast<std::size_t>(height)), 4);
    put(46, 256, 4);
    put(50, 256, 4);
    for (std::size_t i = 0; i < 256; ++i) {
        file[54 + i * 4] = static_cast<char>(table[i][2]);
        file[54 + i * 4 + 1] = static_cast<char>(table[i][1]);
        file[54 + i * 4 + 2] = static_cast<char>(table[i][0]);
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            file[bitsAt + static_cast<std::size_t>(height - 1 - y) * stride + static_cast<std::size_t>(x)] =
                static_cast<char>(indexOf(pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]));
    return file;
}

}  // namespace atlas

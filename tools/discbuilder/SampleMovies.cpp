#include "SampleMovies.h"

#include "MovieWriter.h"

#include <algorithm>
#include <functional>

namespace discbuilder {

namespace {

// A small canvas for the generated frames.
struct Canvas {
    int width;
    int height;
    std::vector<std::uint32_t> pixels;

    Canvas(int w, int h, std::uint32_t ground) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, ground) {}
    void Put(int x, int y, std::uint32_t colour)
    {
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels[static_cast<std::size_t>(y) * width + x] = colour;
    }
    void Box(int left, int top, int right, int bottom, std::uint32_t colour)
    {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                Put(x, y, colour);
    }
    void Ellipse(int cx, int cy, int rx, int ry, std::uint32_t colour)
    {
        for (int y = cy - ry; y <= cy + ry; ++y)
            for (int x = cx - rx; x <= cx + rx; ++x) {
                const double dx = double(x - cx) / rx, dy = double(y - cy) / ry;
                if (dx * dx + dy * dy <= 1.0)
                    Put(x, y, colour);
            }
    }
};

MovieSource Frames(MovieCodec codec, int count, const std::function<Canvas(int)>& draw)
{
    MovieSource source;
    source.width = 160;
    source.height = 120;
    source.framesPerSecond = 10;
    source.codec = codec;
    for (int n = 0; n < count; ++n)
        source.frames.push_back(draw(n).pixels);
    return source;
}

// Air flowing round a wing: the streaks over its curved top move faster than those under it.
Canvas Wing(int n)
{
    Canvas c(160, 120, 0x0087CEEB);
    c.Ellipse(80, 62, 46, 9, 0x00505A64);
    c.Box(34, 62, 126, 66, 0x00505A64);
    for (int row = 0; row < 3; ++row) {
        const int yTop = 36 + row * 7, yBottom = 78 + row * 7;
        for (int k = 0; k < 5; ++k) {
            const int xTop = (k * 40 + n * 9 + row * 13) % 180 - 10;
            const int xBottom = (k * 40 + n * 5 + row * 17) % 180 - 10;
            c.Box(xTop, yTop, xTop + 14, yTop + 2, 0x00FFFFFF);
            c.Box(xBottom, yBottom, xBottom + 10, yBottom + 2, 0x00E0F0FF);
        }
    }
    // The lift: an arrow that grows as the air speeds up.
    const int lift = 6 + n % 10;
    c.Box(79, 50 - lift, 82, 50, 0x00FFD000);
    c.Ellipse(80, 50 - lift, 4, 3, 0x00FFD000);
    return c;
}

// Magma rising through the volcano's pipe and bursting out of the crater.
Canvas Eruption(int n)
{
    Canvas c(160, 120, 0x00201830);
    for (int y = 30; y < 120; ++y) {
        const int half = (y - 30) * 70 / 90 + 8;
        c.Box(80 - half, y, 80 + half, y + 1, 0x005A4632);
    }
    const int level = 118 - (n * 9) % 100;
    c.Box(76, level, 84, 120, 0x00FF6000);
    c.Box(74, 110, 86, 120, 0x00FF3000);
    if (level < 40)
        for (int k = 0; k < 6; ++k)
            c.Ellipse(80 + (k - 3) * 8, 26 - (n % 4) * 3 - k % 2 * 4, 3, 3, 0x00FFA020);
    return c;
}

// An early aeroplane crossing a windy field and lifting off.
Canvas Flight(int n)
{
    Canvas c(160, 120, 0x00A8D8F0);
    c.Box(0, 86, 160, 120, 0x0060A040);
    for (int k = 0; k < 8; ++k)
        c.Box(k * 22 + (n * 2) % 22, 96 + k % 3 * 7, k * 22 + (n * 2) % 22 + 6, 97 + k % 3 * 7, 0x00408030);
    const int x = n * 8 - 20, y = 80 - std::max(0, n - 8) * 3;
    c.Box(x, y, x + 34, y + 5, 0x00F0F0F0);
    c.Box(x + 6, y - 6, x + 24, y - 4, 0x00F0F0F0);
    c.Box(x + 6, y + 7, x + 24, y + 9, 0x00F0F0F0);
    c.Box(x + 34, y - 3, x + 36, y + 8, 0x00303030);
    return c;
}

// A press printing a page line by line.
Canvas Printing(int n)
{
    Canvas c(160, 120, 0x00E8E0C8);
    c.Box(40, 10, 120, 112, 0x00FFFFF8);
    for (int line = 0; line < std::min(n + 1, 12); ++line)
        c.Box(48, 18 + line * 8, 48 + 64 - (line * 7) % 20, 22 + line * 8, 0x00202020);
    const int roller = 16 + std::min(n, 11) * 8;
    c.Box(34, roller, 126, roller + 4, 0x00704020);
    return c;
}

// A wide picture for the panorama: a sky over a horizon of hills whose colour turns as the view
// goes round.
MovieSource Panorama()
{
    MovieSource source;
    source.width = 640;
    source.height = 120;
    source.framesPerSecond = 1;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(source.width) * source.height);
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < source.width; ++x) {
            const int horizon = 70 + static_cast<int>(12 * ((x / 40) % 2 == 0 ? (x % 40) : 40 - (x % 40)) / 40);
            const std::uint32_t red = static_cast<std::uint32_t>(40 + x * 180 / source.width);
            pixels[static_cast<std::size_t>(y) * source.width + x] =
                y < horizon ? 0x0087CEEBu : (red << 16) | (0x90u << 8) | 0x30u;
        }
    source.frames.push_back(pixels);
    source.comment = "panorama 160";
    return source;
}

}  // namespace

std::vector<std::filesystem::path> WriteSampleMovies(const std::filesystem::path& dataFolder)
{
    const std::filesystem::path movies = dataFolder / "Movies";
    const std::filesystem::path sound = dataFolder / "Sound";
    std::filesystem::create_directories(movies);
    std::filesystem::create_directories(sound);
    std::vector<std::filesystem::path> written;
    auto write = [&](const std::filesystem::path& path, const MovieSource& source) {
        WriteMovieFile(path, source);
        written.push_back(path);
    };
    write(movies / "AM000001.mov", Frames(MovieCodec::Animation, 20, Wing));
    write(movies / "AM000002.mov", Frames(MovieCodec::Animation, 20, Eruption));
    MovieSource flights = Frames(MovieCodec::Video, 20, Flight);
    flights.samples = MovieTone(flights.sampleRate, 1, 330, 2000);
    write(movies / "VD000001.mov", flights);
    MovieSource printing = Frames(MovieCodec::Video, 20, Printing);
    printing.samples = MovieTone(printing.sampleRate, 1, 220, 2000);
    write(movies / "VD000002.mov", printing);
    write(movies / "QR000001.mov", Panorama());
    MovieSource trumpet;
    trumpet.samples = MovieTone(trumpet.sampleRate, 1, 523, 1500);
    write(sound / "AU000001.mov", trumpet);
    MovieSource rumble;
    rumble.samples = MovieTone(rumble.sampleRate, 1, 110, 1500);
    write(sound / "AU000002.mov", rumble);
    return written;
}

}  // namespace discbuilder

#include "SampleMovies.h"

#include "MovieWriter.h"

namespace discbuilder {

namespace {

MovieSource Moving(int frames, std::uint32_t ground, std::uint32_t bar, MovieCodec codec)
{
    MovieSource source;
    source.width = 160;
    source.height = 120;
    source.framesPerSecond = 10;
    source.codec = codec;
    for (int n = 0; n < frames; ++n)
        source.frames.push_back(MovieTestFrame(source.width, source.height, ground, bar, n));
    return source;
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
    write(movies / "AM000001.mov", Moving(20, 0x0087CEEB, 0x00FFFFFF, MovieCodec::Animation));
    write(movies / "AM000002.mov", Moving(20, 0x00200000, 0x00FF6000, MovieCodec::Animation));
    MovieSource flights = Moving(20, 0x0060A040, 0x00F0F0F0, MovieCodec::Video);
    flights.samples = MovieTone(flights.sampleRate, 1, 330, 2000);
    write(movies / "VD000001.mov", flights);
    MovieSource printing = Moving(20, 0x00E8E0C8, 0x00202020, MovieCodec::Video);
    printing.samples = MovieTone(printing.sampleRate, 1, 220, 2000);
    write(movies / "VD000002.mov", printing);
    write(movies / "QR000001.mov", Panorama());
    MovieSource trumpet;
    trumpet.samples = MovieTone(trumpet.sampleRate, 1, 523, 1500);
    write(sound / "AU000001.mov", trumpet);
    return written;
}

}  // namespace discbuilder

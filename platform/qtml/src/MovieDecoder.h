// Reading a movie file through FFmpeg's libraries. The whole file is read and decoded once when
// it opens, so that a file that does not read to its end as its tables say (damaged, cut short, a
// codec that cannot decode it, too large) is refused with a reason. The sound is kept as 16-bit
// samples; the pictures are kept as their compressed samples and decoded again when shown, from
// the key frame before the one asked for.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qtml {

// The pictures of a movie, decoded on demand.
class VideoTrack {
public:
    virtual ~VideoTrack() = default;
    // The pixels of frame n (0x00RRGGBB, rows from the top), or nullptr when it cannot be
    // decoded. Valid until the next call.
    virtual const std::uint32_t* Pixels(int n) = 0;
};

struct DecodedMovie {
    int width = 0;   // 0 for a sound
    int height = 0;
    std::vector<long> frameStartMs;  // when each frame shows, in order
    std::shared_ptr<VideoTrack> video;
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

#include "MovieDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace qtml {

namespace {

// What one movie may hold: its compressed pictures, their number, and its decoded sound.
constexpr std::size_t kMostPictureBytes = std::size_t(512) << 20;
constexpr std::size_t kMostFrames = 200000;
constexpr std::size_t kMostSamples = std::size_t(48000) * 2 * 1200;
constexpr int kLargestSide = 4096;

struct FormatCloser {
    void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
struct CodecCloser {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameCloser {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketCloser {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct ScaleCloser {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};
struct ResampleCloser {
    void operator()(SwrContext* s) const { swr_free(&s); }
};

using CodecPtr = std::unique_ptr<AVCodecContext, CodecCloser>;

CodecPtr OpenDecoder(AVStream* stream)
{
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return nullptr;
    CodecPtr context(avcodec_alloc_context3(codec));
    if (!context || avcodec_parameters_to_context(context.get(), stream->codecpar) < 0)
        return nullptr;
    context->thread_count = 1;
    if (avcodec_open2(context.get(), codec, nullptr) < 0)
        return nullptr;
    return context;
}

long ToMs(std::int64_t value, AVRational base)
{
    return static_cast<long>(av_rescale_q(value, base, AVRational{1, 1000}));
}

using PacketPtr = std::unique_ptr<AVPacket, PacketCloser>;

// The compressed pictures and the decoder that turns them into frames when they are shown.
class Video : public VideoTrack {
public:
    CodecPtr codec;
    std::vector<PacketPtr> packets;           // in decode order
    std::vector<std::int64_t> framePts;       // in presentation order
    std::vector<std::pair<int, std::size_t>> seekPoints;  // (frame, packet) of each key frame
    int width = 0;
    int height = 0;

    int IndexOf(std::int64_t pts) const
    {
        auto it = std::lower_bound(framePts.begin(), framePts.end(), pts);
        return it != framePts.end() && *it == pts ? static_cast<int>(it - framePts.begin()) : -1;
    }

    const std::uint32_t* Pixels(int n) override
    {
        if (n < 0 || static_cast<std::size_t>(n) >= framePts.size() || !codec)
            return nullptr;
        if (n == m_current)
            return m_pixels.data();
        // Going on from the frame shown is enough unless a key frame lies between.
        bool onward = m_positioned && n > m_current;
        for (const auto& [frame, packet] : seekPoints)
            if (frame > m_current && frame <= n)
                onward = false;
        if (!onward) {
            std::size_t start = 0;
            for (const auto& [frame, packet] : seekPoints)
                if (frame <= n)
                    start = packet;
            avcodec_flush_buffers(codec.get());
            m_next = start;
            m_drained = false;
            m_positioned = true;
            m_current = -1;
        }
        std::unique_ptr<AVFrame, FrameCloser> frame(av_frame_alloc());
        if (!frame)
            return nullptr;
        for (;;) {
            int got = avcodec_receive_frame(codec.get(), frame.get());
            if (got == 0) {
                int index = IndexOf(frame->best_effort_timestamp);
                if (index >= n || (index < 0 && m_current + 1 >= n)) {
                    bool ok = Convert(frame.get());
                    m_current = ok ? (index >= 0 ? index : n) : -1;
                    return ok ? m_pixels.data() : nullptr;
                }
                if (index >= 0)
                    m_current = index;
                av_frame_unref(frame.get());
                continue;
            }
            if (got == AVERROR(EAGAIN)) {
                int sent = m_next < packets.size() ? avcodec_send_packet(codec.get(), packets[m_next++].get())
                           : !m_drained                ? avcodec_send_packet(codec.get(), nullptr)
                                                      : AVERROR_EOF;
                if (m_next >= packets.size())
                    m_drained = m_drained || sent == 0;
                if (sent < 0 && sent != AVERROR(EAGAIN)) {
                    m_positioned = false;
                    return nullptr;
                }
                continue;
            }
            m_positioned = false;  // the end, or an error: start again next time
            return nullptr;
        }
    }

private:
    bool Convert(AVFrame* frame)
    {
        if (frame->width != width || frame->height != height)
            return false;
        m_scale.reset(sws_getCachedContext(m_scale.release(), frame->width, frame->height,
                                           static_cast<AVPixelFormat>(frame->format), width, height,
                                           AV_PIX_FMT_BGRA, SWS_POINT, nullptr, nullptr, nullptr));
        if (!m_scale)
            return false;
        m_pixels.resize(static_cast<std::size_t>(width) * height);
        std::uint8_t* planes[4] = {reinterpret_cast<std::uint8_t*>(m_pixels.data()), nullptr, nullptr, nullptr};
        int strides[4] = {width * 4, 0, 0, 0};
        sws_scale(m_scale.get(), frame->data, frame->linesize, 0, frame->height, planes, strides);
        for (std::uint32_t& p : m_pixels)
            p &= 0x00FFFFFFu;
        return true;
    }

    std::unique_ptr<SwsContext, ScaleCloser> m_scale;
    std::vector<std::uint32_t> m_pixels;
    int m_current = -1;
    std::size_t m_next = 0;
    bool m_drained = false;
    bool m_positioned = false;
};

class Reader {
public:
    Reader(DecodedMovie& movie, std::string& reason) : m_movie(movie), m_reason(reason) {}

    bool Open(const std::string& path)
    {
        // Only the movie file layout is read, whatever else the file might pass for.
        const AVInputFormat* movFormat = av_find_input_format("mov");
        AVFormatContext* format = nullptr;
        if (!movFormat || avformat_open_input(&format, path.c_str(), movFormat, nullptr) < 0)
            return Fail("not a movie file");
        m_format.reset(format);
        if (avformat_find_stream_info(format, nullptr) < 0)
            return Fail("the movie's tables cannot be read");
        m_video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        m_audio = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
        if (m_video < 0 && m_audio < 0)
            return Fail("the file holds neither pictures nor sound");
        if (m_video >= 0) {
            AVStream* stream = format->streams[m_video];
            m_videoCodec = OpenDecoder(stream);
            if (!m_videoCodec)
                return Fail("the picture codec is not known");
            m_movie.width = m_videoCodec->width;
            m_movie.height = m_videoCodec->height;
            if (m_movie.width <= 0 || m_movie.height <= 0 || m_movie.width > kLargestSide ||
                m_movie.height > kLargestSide)
                return Fail("the picture size is out of range");
        }
        if (m_audio >= 0) {
            AVStream* stream = format->streams[m_audio];
            m_audioCodec = OpenDecoder(stream);
            if (!m_audioCodec)
                return Fail("the sound codec is not known");
            int channels = m_audioCodec->ch_layout.nb_channels;
            if (channels <= 0 || m_audioCodec->sample_rate <= 0 || m_audioCodec->sample_rate > 192000)
                return Fail("the sound format is out of range");
            m_movie.channels = std::min(channels, 2);
            m_movie.sampleRate = m_audioCodec->sample_rate;
            AVChannelLayout out;
            av_channel_layout_default(&out, m_movie.channels);
            SwrContext* resample = nullptr;
            if (swr_alloc_set_opts2(&resample, &out, AV_SAMPLE_FMT_S16, m_movie.sampleRate,
                                    &m_audioCodec->ch_layout, m_audioCodec->sample_fmt,
                                    m_audioCodec->sample_rate, 0, nullptr) < 0 ||
                swr_init(resample) < 0) {
                swr_free(&resample);
                return Fail("the sound cannot be converted");
            }
            m_resample.reset(resample);
        }
        if (const AVDictionaryEntry* comment = av_dict_get(format->metadata, "comment", nullptr, 0)) {
            int view = 0;
            if (std::sscanf(comment->value, "panorama %d", &view) == 1 && view > 0 && view <= m_movie.width)
                m_movie.viewWidth = view;
        }
        return true;
    }

    bool ReadAll()
    {
        std::unique_ptr<AVPacket, PacketCloser> packet(av_packet_alloc());
        std::unique_ptr<AVFrame, FrameCloser> frame(av_frame_alloc());
        if (!packet || !frame)
            return Fail("out of memory");
        for (;;) {
            int read = av_read_frame(m_format.get(), packet.get());
            if (read == AVERROR_EOF)
                break;
            if (read < 0)
                return Fail("the file is damaged or cut short");
            bool ok = true;
            if (packet->stream_index == m_video) {
                ++m_videoPackets;
                m_pictureBytes += static_cast<std::size_t>(std::max(0, packet->size));
                if (m_pictureBytes > kMostPictureBytes || m_videoPackets > static_cast<std::int64_t>(kMostFrames))
                    return Fail("the movie is too large");
                PacketPtr kept(av_packet_clone(packet.get()));
                if (!kept)
                    return Fail("out of memory");
                m_packets.push_back(std::move(kept));
                ok = Decode(m_videoCodec.get(), packet.get(), frame.get(), true);
            } else if (packet->stream_index == m_audio) {
                ++m_audioPackets;
                ok = Decode(m_audioCodec.get(), packet.get(), frame.get(), false);
            }
            av_packet_unref(packet.get());
            if (!ok)
                return false;
        }
        if (m_videoCodec && !Decode(m_videoCodec.get(), nullptr, frame.get(), true))
            return false;
        if (m_audioCodec && !Decode(m_audioCodec.get(), nullptr, frame.get(), false))
            return false;
        // The sample tables say how many samples each track has: fewer means a cut file.
        if (m_video >= 0) {
            std::int64_t expected = m_format->streams[m_video]->nb_frames;
            if ((expected > 0 && m_videoPackets < expected) || m_framePts.empty())
                return Fail("the pictures are cut short");
        }
        if (m_audio >= 0) {
            // Sound packets hold many samples each: the track's length in samples tells.
            AVStream* stream = m_format->streams[m_audio];
            std::int64_t expected = stream->duration > 0
                                        ? av_rescale_q(stream->duration, stream->time_base, AVRational{1, m_movie.sampleRate})
                                        : 0;
            std::int64_t got = static_cast<std::int64_t>(m_movie.samples.size()) / m_movie.channels;
            if (got == 0 || got + 2048 < expected)
                return Fail("the sound is cut short");
        }
        if (m_video >= 0)
            MakeVideoTrack();
        long duration = 0;
        if (m_video >= 0) {
            AVStream* stream = m_format->streams[m_video];
            long end = m_lastVideoEnd;
            if (stream->duration > 0)
                end = std::max(end, ToMs(stream->duration, stream->time_base));
            duration = std::max(duration, end);
        }
        if (m_movie.sampleRate > 0 && m_movie.channels > 0)
            duration = std::max(duration, static_cast<long>(static_cast<std::int64_t>(m_movie.samples.size()) /
                                                            m_movie.channels * 1000 / m_movie.sampleRate));
        m_movie.durationMs = duration;
        return true;
    }

private:
    bool Fail(const char* reason)
    {
        m_reason = reason;
        return false;
    }

    bool Decode(AVCodecContext* codec, AVPacket* packet, AVFrame* frame, bool video)
    {
        if (avcodec_send_packet(codec, packet) < 0)
            return Fail("the file is damaged: a sample does not decode");
        for (;;) {
            int got = avcodec_receive_frame(codec, frame);
            if (got == AVERROR(EAGAIN) || got == AVERROR_EOF)
                return true;
            if (got < 0)
                return Fail("the file is damaged: a sample does not decode");
            bool ok = video ? KeepPicture(frame) : KeepSound(frame);
            av_frame_unref(frame);
            if (!ok)
                return false;
        }
    }

    // The check pass keeps only when each frame shows; the pictures are decoded again on demand.
    bool KeepPicture(AVFrame* frame)
    {
        if (frame->width != m_movie.width || frame->height != m_movie.height)
            return Fail("the picture size changes inside the movie");
        AVStream* stream = m_format->streams[m_video];
        std::int64_t pts = frame->best_effort_timestamp != AV_NOPTS_VALUE ? frame->best_effort_timestamp
                                                                          : static_cast<std::int64_t>(m_framePts.size());
        m_framePts.push_back(pts);
        m_lastVideoEnd = std::max(m_lastVideoEnd, ToMs(pts + frame->pkt_duration - StartOf(stream), stream->time_base));
        return true;
    }

    static std::int64_t StartOf(const AVStream* stream)
    {
        return stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    }

    // Hands the pictures, the decoder and the frame times over to the movie.
    void MakeVideoTrack()
    {
        AVStream* stream = m_format->streams[m_video];
        auto video = std::make_shared<Video>();
        std::sort(m_framePts.begin(), m_framePts.end());
        for (std::int64_t pts : m_framePts)
            m_movie.frameStartMs.push_back(std::max(0L, ToMs(pts - StartOf(stream), stream->time_base)));
        video->framePts = m_framePts;
        video->width = m_movie.width;
        video->height = m_movie.height;
        for (std::size_t i = 0; i < m_packets.size(); ++i) {
            if (i != 0 && (m_packets[i]->flags & AV_PKT_FLAG_KEY) == 0)
                continue;
            int frame = i == 0 ? 0 : video->IndexOf(m_packets[i]->pts);
            if (frame >= 0)
                video->seekPoints.emplace_back(frame, i);
        }
        std::sort(video->seekPoints.begin(), video->seekPoints.end());
        video->packets = std::move(m_packets);
        avcodec_flush_buffers(m_videoCodec.get());
        video->codec = std::move(m_videoCodec);
        m_movie.video = std::move(video);
    }

    bool KeepSound(AVFrame* frame)
    {
        int most = swr_get_out_samples(m_resample.get(), frame->nb_samples);
        if (most < 0)
            return Fail("the sound cannot be converted");
        std::size_t at = m_movie.samples.size();
        if (at + static_cast<std::size_t>(most) * m_movie.channels > kMostSamples)
            return Fail("the sound is too long");
        m_movie.samples.resize(at + static_cast<std::size_t>(most) * m_movie.channels);
        std::uint8_t* out = reinterpret_cast<std::uint8_t*>(m_movie.samples.data() + at);
        int got = swr_convert(m_resample.get(), &out, most, const_cast<const std::uint8_t**>(frame->extended_data),
                              frame->nb_samples);
        if (got < 0)
            return Fail("the sound cannot be converted");
        m_movie.samples.resize(at + static_cast<std::size_t>(got) * m_movie.channels);
        return true;
    }

    DecodedMovie& m_movie;
    std::string& m_reason;
    std::unique_ptr<AVFormatContext, FormatCloser> m_format;
    CodecPtr m_videoCodec;
    CodecPtr m_audioCodec;
    std::unique_ptr<SwrContext, ResampleCloser> m_resample;
    std::vector<PacketPtr> m_packets;
    std::vector<std::int64_t> m_framePts;
    std::size_t m_pictureBytes = 0;
    int m_video = -1;
    int m_audio = -1;
    std::int64_t m_videoPackets = 0;
    std::int64_t m_audioPackets = 0;
    long m_lastVideoEnd = 0;
};

}  // namespace

std::optional<DecodedMovie> DecodeMovie(const std::string& hostPath, std::string& reason)
{
    av_log_set_level(AV_LOG_QUIET);
    DecodedMovie movie;
    Reader reader(movie, reason);
    if (!reader.Open(hostPath) || !reader.ReadAll())
        return std::nullopt;
    return movie;
}

}  // namespace qtml

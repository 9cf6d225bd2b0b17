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

// What one movie may take in memory once decoded: these files are short clips.
constexpr std::size_t kMostPixels = std::size_t(64) << 20;
constexpr std::size_t kMostSamples = std::size_t(48000) * 2 * 600;
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

class Reader {
public:
    Reader(DecodedMovie& movie, std::string& reason) : m_movie(movie), m_reason(reason) {}

    bool Open(const std::string& path)
    {
        AVFormatContext* format = nullptr;
        if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0)
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
            if ((expected > 0 && m_videoPackets < expected) || m_movie.frames.empty())
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
        std::sort(m_movie.frames.begin(), m_movie.frames.end(),
                  [](const MovieFrame& a, const MovieFrame& b) { return a.startMs < b.startMs; });
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

    bool KeepPicture(AVFrame* frame)
    {
        if (frame->width != m_movie.width || frame->height != m_movie.height)
            return Fail("the picture size changes inside the movie");
        std::size_t pixels = static_cast<std::size_t>(m_movie.width) * m_movie.height;
        if ((m_movie.frames.size() + 1) * pixels > kMostPixels)
            return Fail("the movie is too large");
        SwsContext* scale = sws_getCachedContext(m_scale.release(), frame->width, frame->height,
                                                 static_cast<AVPixelFormat>(frame->format), m_movie.width,
                                                 m_movie.height, AV_PIX_FMT_BGRA, SWS_POINT, nullptr, nullptr,
                                                 nullptr);
        m_scale.reset(scale);
        if (!scale)
            return Fail("the picture format cannot be converted");
        MovieFrame out;
        out.pixels.resize(pixels);
        std::uint8_t* planes[4] = {reinterpret_cast<std::uint8_t*>(out.pixels.data()), nullptr, nullptr, nullptr};
        int strides[4] = {m_movie.width * 4, 0, 0, 0};
        sws_scale(scale, frame->data, frame->linesize, 0, frame->height, planes, strides);
        for (std::uint32_t& p : out.pixels)
            p &= 0x00FFFFFFu;
        AVStream* stream = m_format->streams[m_video];
        std::int64_t pts = frame->best_effort_timestamp != AV_NOPTS_VALUE ? frame->best_effort_timestamp : 0;
        if (stream->start_time != AV_NOPTS_VALUE)
            pts -= stream->start_time;
        out.startMs = std::max(0L, ToMs(pts, stream->time_base));
        m_lastVideoEnd = std::max(m_lastVideoEnd, ToMs(pts + frame->pkt_duration, stream->time_base));
        m_movie.frames.push_back(std::move(out));
        return true;
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
    std::unique_ptr<SwsContext, ScaleCloser> m_scale;
    std::unique_ptr<SwrContext, ResampleCloser> m_resample;
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

#include "MovieWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace discbuilder {

namespace {

void Check(int result, const char* what)
{
    if (result < 0) {
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(result, text, sizeof text);
        throw std::runtime_error(std::string("movie file: ") + what + ": " + text);
    }
}

struct Output {
    AVFormatContext* format = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* scale = nullptr;
    ~Output()
    {
        sws_freeContext(scale);
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&video);
        avcodec_free_context(&audio);
        if (format) {
            if (format->pb)
                avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }
};

void Drain(Output& out, AVCodecContext* codec, AVStream* stream, const AVFrame* frame)
{
    Check(avcodec_send_frame(codec, frame), "encoding");
    for (;;) {
        int got = avcodec_receive_packet(codec, out.packet);
        if (got == AVERROR(EAGAIN) || got == AVERROR_EOF)
            return;
        Check(got, "encoding");
        if (out.packet->duration == 0 && codec->codec_type == AVMEDIA_TYPE_VIDEO)
            out.packet->duration = 1;  // one frame: the last one keeps its time too
        av_packet_rescale_ts(out.packet, codec->time_base, stream->time_base);
        out.packet->stream_index = stream->index;
        Check(av_interleaved_write_frame(out.format, out.packet), "writing");
    }
}

AVCodecContext* OpenEncoder(AVCodecID id, Output& out, AVStream*& stream)
{
    const AVCodec* codec = avcodec_find_encoder(id);
    if (!codec)
        throw std::runtime_error("movie file: no encoder for the codec");
    stream = avformat_new_stream(out.format, nullptr);
    AVCodecContext* context = avcodec_alloc_context3(codec);
    if (!stream || !context)
        throw std::runtime_error("movie file: out of memory");
    return context;
}

}  // namespace

void WriteMovieFile(const std::filesystem::path& path, const MovieSource& source)
{
    av_log_set_level(AV_LOG_QUIET);
    if (source.width > 0 && (source.height <= 0 || source.frames.empty()))
        throw std::invalid_argument("movie file: pictures without a size or frames");
    if (source.width == 0 && source.samples.empty())
        throw std::invalid_argument("movie file: neither pictures nor sound");
    Output out;
    Check(avformat_alloc_output_context2(&out.format, nullptr, "mov", path.string().c_str()), "format");
    out.packet = av_packet_alloc();
    out.frame = av_frame_alloc();
    if (source.width > 0) {
        const bool animation = source.codec == MovieCodec::Animation;
        out.video = OpenEncoder(animation ? AV_CODEC_ID_QTRLE : AV_CODEC_ID_MPEG4, out, out.videoStream);
        out.video->width = source.width;
        out.video->height = source.height;
        out.video->time_base = AVRational{1, source.framesPerSecond};
        out.video->framerate = AVRational{source.framesPerSecond, 1};
        out.video->pix_fmt = animation ? AV_PIX_FMT_RGB24 : AV_PIX_FMT_YUV420P;
        out.video->gop_size = 10;
        if (!animation)
            out.video->bit_rate = 400000;
        if (out.format->oformat->flags & AVFMT_GLOBALHEADER)
            out.video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        Check(avcodec_open2(out.video, nullptr, nullptr), "picture encoder");
        Check(avcodec_parameters_from_context(out.videoStream->codecpar, out.video), "picture stream");
        out.videoStream->time_base = out.video->time_base;
    }
    if (!source.samples.empty()) {
        out.audio = OpenEncoder(AV_CODEC_ID_PCM_S16LE, out, out.audioStream);
        out.audio->sample_fmt = AV_SAMPLE_FMT_S16;
        out.audio->sample_rate = source.sampleRate;
        av_channel_layout_default(&out.audio->ch_layout, source.channels);
        out.audio->time_base = AVRational{1, source.sampleRate};
        Check(avcodec_open2(out.audio, nullptr, nullptr), "sound encoder");
        Check(avcodec_parameters_from_context(out.audioStream->codecpar, out.audio), "sound stream");
        out.audioStream->time_base = out.audio->time_base;
    }
    if (!source.comment.empty())
        av_dict_set(&out.format->metadata, "comment", source.comment.c_str(), 0);
    Check(avio_open(&out.format->pb, path.string().c_str(), AVIO_FLAG_WRITE), "opening the file");
    AVDictionary* options = nullptr;
    av_dict_set(&options, "movflags", "+faststart", 0);
    int header = avformat_write_header(out.format, &options);
    av_dict_free(&options);
    Check(header, "header");

    if (out.video) {
        out.scale = sws_getContext(source.width, source.height, AV_PIX_FMT_BGRA, source.width, source.height,
                                   out.video->pix_fmt, SWS_POINT, nullptr, nullptr, nullptr);
        if (!out.scale)
            throw std::runtime_error("movie file: pictures cannot be converted");
        for (std::size_t i = 0; i < source.frames.size(); ++i) {
            const auto& pixels = source.frames[i];
            if (pixels.size() != static_cast<std::size_t>(source.width) * source.height)
                throw std::invalid_argument("movie file: a frame of the wrong size");
            av_frame_unref(out.frame);
            out.frame->format = out.video->pix_fmt;
            out.frame->width = source.width;
            out.frame->height = source.height;
            Check(av_frame_get_buffer(out.frame, 0), "frame");
            const std::uint8_t* planes[4] = {reinterpret_cast<const std::uint8_t*>(pixels.data()), nullptr, nullptr, nullptr};
            int strides[4] = {source.width * 4, 0, 0, 0};
            sws_scale(out.scale, planes, strides, 0, source.height, out.frame->data, out.frame->linesize);
            out.frame->pts = static_cast<std::int64_t>(i);
            Drain(out, out.video, out.videoStream, out.frame);
        }
        Drain(out, out.video, out.videoStream, nullptr);
    }
    if (out.audio) {
        const int chunk = 1024;
        const std::size_t total = source.samples.size() / source.channels;
        for (std::size_t at = 0; at < total; at += chunk) {
            int n = static_cast<int>(std::min<std::size_t>(chunk, total - at));
            av_frame_unref(out.frame);
            out.frame->format = AV_SAMPLE_FMT_S16;
            out.frame->nb_samples = n;
            out.frame->sample_rate = source.sampleRate;
            Check(av_channel_layout_copy(&out.frame->ch_layout, &out.audio->ch_layout), "sound layout");
            Check(av_frame_get_buffer(out.frame, 0), "sound frame");
            std::memcpy(out.frame->data[0], source.samples.data() + at * source.channels,
                        static_cast<std::size_t>(n) * source.channels * 2);
            out.frame->pts = static_cast<std::int64_t>(at);
            Drain(out, out.audio, out.audioStream, out.frame);
        }
        Drain(out, out.audio, out.audioStream, nullptr);
    }
    Check(av_write_trailer(out.format), "trailer");
}

std::vector<std::uint32_t> MovieTestFrame(int width, int height, std::uint32_t ground, std::uint32_t bar, int n)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, ground);
    const int barWidth = std::max(1, width / 8);
    const int left = (n * barWidth) % std::max(1, width - barWidth + 1);
    for (int y = height / 4; y < height - height / 4; ++y)
        for (int x = left; x < left + barWidth && x < width; ++x)
            pixels[static_cast<std::size_t>(y) * width + x] = bar;
    return pixels;
}

std::vector<std::int16_t> MovieTone(int sampleRate, int channels, int frequency, int milliseconds)
{
    const std::size_t count = static_cast<std::size_t>(sampleRate) * milliseconds / 1000;
    std::vector<std::int16_t> samples(count * channels);
    for (std::size_t i = 0; i < count; ++i) {
        const double v = std::sin(2.0 * M_PI * frequency * static_cast<double>(i) / sampleRate) * 12000.0;
        for (int c = 0; c < channels; ++c)
            samples[i * channels + c] = static_cast<std::int16_t>(v);
    }
    return samples;
}

}  // namespace discbuilder

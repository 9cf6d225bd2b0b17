#include "al/PkDecompressor.h"

#include <zlib.h>

#include <algorithm>

namespace {

const long kChunk = 4096;

}  // namespace

ALPkDecompressor::ALPkDecompressor() : mStatus(AL_SUCCESS), mBytesRead(0), mBytesWritten(0) {}

ALPkDecompressor::~ALPkDecompressor() = default;

int ALPkDecompressor::Decompress(ALStorage& input, ALStorage& output, long compressedLength)
{
    mBytesRead = 0;
    mBytesWritten = 0;
    if (!input.IsOpen())
        return mStatus = AL_NOT_OPEN;
    if (!output.IsOpen() && output.Create() != AL_SUCCESS)
        return mStatus = AL_WRITE_ERROR;

    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return mStatus = AL_CANT_ALLOCATE_MEMORY;

    unsigned char in[kChunk];
    unsigned char out[kChunk];
    int status = AL_SUCCESS;
    long left = compressedLength;
    bool ended = false;
    while (!ended && status == AL_SUCCESS) {
        if (stream.avail_in == 0) {
            long want = left < 0 ? kChunk : std::min(kChunk, left - mBytesRead);
            long got = want > 0 ? input.ReadBuffer(in, want) : 0;
            if (got < 0) {
                status = static_cast<int>(got);
                break;
            }
            if (got == 0) {
                status = AL_END_OF_FILE;
                break;
            }
            mBytesRead += got;
            stream.next_in = in;
            stream.avail_in = static_cast<uInt>(got);
        }
        stream.next_out = out;
        stream.avail_out = sizeof out;
        int z = inflate(&stream, Z_NO_FLUSH);
        long produced = static_cast<long>(sizeof out - stream.avail_out);
        if (produced > 0) {
            long written = output.WriteBuffer(out, produced);
            if (written != produced) {
                status = written == AL_BUFFER_OVERFLOW ? AL_BUFFER_OVERFLOW : AL_WRITE_ERROR;
                break;
            }
            mBytesWritten += produced;
        }
        if (z == Z_STREAM_END)
            ended = true;
        else if (z == Z_DATA_ERROR || z == Z_NEED_DICT)
            status = AL_COMPRESSION_ERROR;
        else if (z == Z_MEM_ERROR)
            status = AL_CANT_ALLOCATE_MEMORY;
        // Z_BUF_ERROR: no progress with this input; the next round reads more.
    }
    inflateEnd(&stream);
    // Give back what was read past the stream's end, so that the input stands behind it.
    if (ended && stream.avail_in > 0)
        input.Seek(input.Tell() - static_cast<long>(stream.avail_in));
    mBytesRead -= ended ? static_cast<long>(stream.avail_in) : 0;
    return mStatus = status;
}

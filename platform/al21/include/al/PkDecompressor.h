// ALPkDecompressor: inflates one compressed stream (deflate in the zlib form: header, data,
// Adler-32 check) from the input storage's position into the output storage.
#pragma once

#include "al/Storage.h"

class ALPkDecompressor {
public:
    ALPkDecompressor();
    ~ALPkDecompressor();
    ALPkDecompressor(const ALPkDecompressor&) = delete;
    ALPkDecompressor& operator=(const ALPkDecompressor&) = delete;

    // Reads at most compressedLength bytes (all that is left when negative) from the input, which
    // must be open, and writes what they inflate to from the start of the output, which it
    // creates when not open. Stops at the stream's end: filler after it is not read.
    // AL_SUCCESS when the whole stream was inflated and checked; AL_END_OF_FILE when the input
    // (or the length) ended first; AL_COMPRESSION_ERROR for data that is no valid stream;
    // AL_BUFFER_OVERFLOW when the output has no room for all of it; the storage's status when
    // a read fails. What was inflated before a failure stays in the output.
    int Decompress(ALStorage& input, ALStorage& output, long compressedLength = -1);

    // The result of the last Decompress, and the bytes it read and wrote.
    int GetStatus() const { return mStatus; }
    long GetBytesRead() const { return mBytesRead; }
    long GetBytesWritten() const { return mBytesWritten; }

private:
    int mStatus;
    long mBytesRead;
    long mBytesWritten;
};

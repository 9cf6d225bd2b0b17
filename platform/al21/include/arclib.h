// The archive library: storage objects that data is read from and written to (ALFile over a file
// of the platform, ALWinMemory over a block of memory) and the decompressor that inflates a
// compressed stream from one storage object into another (ALPkDecompressor).
//
// A compressed stream is a deflate stream with its two-byte header and Adler-32 check (the
// zlib form). In an archive a stream starts at a block boundary and is followed by filler up to
// the next one; the decompressor stops at the stream's end and reads no further.
//
// Every operation reports its status as an int: AL_SUCCESS (0) or one of the negative AL_ codes.
#pragma once

#include "al/Status.h"
#include "al/Storage.h"
#include "al/File.h"
#include "al/WinMemory.h"
#include "al/PkDecompressor.h"

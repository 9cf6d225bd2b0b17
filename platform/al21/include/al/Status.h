// Status codes and name cases of the archive library (see arclib.h).
#pragma once

enum ALStatus {
    AL_SUCCESS = 0,
    AL_CANT_OPEN_FILE = -1,      // the file does not exist or cannot be read
    AL_READ_ERROR = -2,          // the platform refused a read
    AL_WRITE_ERROR = -3,         // the storage refused a write (closed, or no room)
    AL_SEEK_ERROR = -4,          // a position before the start, or on a closed storage
    AL_NOT_OPEN = -5,            // the storage is not open
    AL_END_OF_FILE = -6,         // the compressed input ended before the stream did
    AL_COMPRESSION_ERROR = -7,   // the compressed data is not a valid stream (bad header, bad
                                 // block, check value wrong)
    AL_BUFFER_OVERFLOW = -8,     // the stream inflates to more than the output storage holds
    AL_INVALID_ARGUMENT = -9,
    AL_CANT_ALLOCATE_MEMORY = -10,
};

// How a storage object keeps its name.
enum ALNameCase {
    AL_UPPER = 1,   // turned to upper case
    AL_LOWER = 2,   // turned to lower case
    AL_MIXED = 3,   // kept as given
};

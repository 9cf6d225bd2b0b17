// ALStorage: the base of the archive library's storage objects. A storage object has a name
// (kept in the case its constructor asked for), a position, and a length of data; the
// decompressor reads from one storage object and writes into another.
#pragma once

#include "al/Status.h"

#include <string>

class ALStorage {
public:
    ALStorage(const char* name, long bufferSize, ALNameCase nameCase);
    virtual ~ALStorage();
    ALStorage(const ALStorage&) = delete;
    ALStorage& operator=(const ALStorage&) = delete;

    // The name, in the object's name case.
    const char* GetName() const { return mName.c_str(); }
    long GetBufferSize() const { return mBufferSize; }

    // Opens the storage for reading from its start; AL_SUCCESS or a status.
    virtual int Open() = 0;
    // Opens the storage for writing from its start with no data in it.
    virtual int Create() = 0;
    // Closes; closing a closed storage is AL_SUCCESS.
    virtual int Close() = 0;
    virtual bool IsOpen() const = 0;
    // Moves to a byte position from the start.
    virtual int Seek(long position) = 0;
    virtual long Tell() const = 0;
    // Reads at most count bytes at the position and moves past them: the number read (0 at the
    // end of the data) or a negative status.
    virtual long ReadBuffer(unsigned char* buffer, long count) = 0;
    // Writes count bytes at the position: count, or a negative status when not all of them
    // could be written (nothing is written then).
    virtual long WriteBuffer(const unsigned char* buffer, long count) = 0;
    // Bytes of data the storage holds.
    virtual long GetSize() const = 0;

private:
    std::string mName;
    long mBufferSize;
};

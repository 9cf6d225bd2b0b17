// ALFile: a storage object over a file of the platform (platform path, drive letters and
// backslashes), read through a buffer of the size given to the constructor.
#pragma once

#include "al/Storage.h"

#include <windows.h>

#include <vector>

class ALFile : public ALStorage {
public:
    explicit ALFile(const char* fileName, long bufferSize = 4096, ALNameCase nameCase = AL_MIXED);
    ~ALFile() override;

    // AL_CANT_OPEN_FILE when the file cannot be opened for reading.
    int Open() override;
    // Creates (or empties) the file and opens it for writing.
    int Create() override;
    int Close() override;
    bool IsOpen() const override { return mHandle != INVALID_HANDLE_VALUE; }
    int Seek(long position) override;
    long Tell() const override { return mPosition; }
    long ReadBuffer(unsigned char* buffer, long count) override;
    long WriteBuffer(const unsigned char* buffer, long count) override;
    long GetSize() const override;

private:
    // Refills the read buffer from the file at the position.
    long Fill();

    HANDLE mHandle;
    bool mWriting;
    long mPosition;                    // position of the next byte handed out or written
    std::vector<unsigned char> mBuffer;
    long mBufferStart;                 // file position of mBuffer[0]
    long mBufferLength;                // valid bytes in mBuffer
};

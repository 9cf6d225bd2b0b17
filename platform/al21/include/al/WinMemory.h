// ALWinMemory: a storage object over a block of memory that its caller owns (typically a locked
// block of global memory). It never grows: a write past the block's end fails with
// AL_BUFFER_OVERFLOW and writes nothing.
#pragma once

#include "al/Storage.h"

class ALWinMemory : public ALStorage {
public:
    ALWinMemory(const char* name, void* block, long size, ALNameCase nameCase = AL_MIXED);
    ~ALWinMemory() override;

    // Reading: the whole block is data.
    int Open() override;
    // Writing: no data until written.
    int Create() override;
    int Close() override;
    bool IsOpen() const override { return mOpen; }
    int Seek(long position) override;
    long Tell() const override { return mPosition; }
    long ReadBuffer(unsigned char* buffer, long count) override;
    long WriteBuffer(const unsigned char* buffer, long count) override;
    // Bytes of data: the block's size after Open, the bytes written after Create.
    long GetSize() const override { return mLength; }

    unsigned char* GetBlock() const { return mBlock; }
    long GetCapacity() const { return mCapacity; }

private:
    unsigned char* mBlock;
    long mCapacity;
    long mLength;
    long mPosition;
    bool mOpen;
};

#include "al/WinMemory.h"

#include <algorithm>
#include <cstring>

ALWinMemory::ALWinMemory(const char* name, void* block, long size, ALNameCase nameCase)
    : ALStorage(name, size, nameCase),
      mBlock(static_cast<unsigned char*>(block)),
      mCapacity(block != nullptr && size > 0 ? size : 0),
      mLength(0),
      mPosition(0),
      mOpen(false)
{
}

ALWinMemory::~ALWinMemory() = default;

int ALWinMemory::Open()
{
    mOpen = true;
    mPosition = 0;
    mLength = mCapacity;
    return AL_SUCCESS;
}

int ALWinMemory::Create()
{
    mOpen = true;
    mPosition = 0;
    mLength = 0;
    return AL_SUCCESS;
}

int ALWinMemory::Close()
{
    mOpen = false;
    return AL_SUCCESS;
}

int ALWinMemory::Seek(long position)
{
    if (!mOpen)
        return AL_NOT_OPEN;
    if (position < 0 || position > mCapacity)
        return AL_SEEK_ERROR;
    mPosition = position;
    return AL_SUCCESS;
}

long ALWinMemory::ReadBuffer(unsigned char* buffer, long count)
{
    if (!mOpen)
        return AL_NOT_OPEN;
    if (count < 0)
        return AL_INVALID_ARGUMENT;
    long take = std::min(count, std::max(0L, mLength - mPosition));
    if (take > 0)
        std::memcpy(buffer, mBlock + mPosition, static_cast<size_t>(take));
    mPosition += take;
    return take;
}

long ALWinMemory::WriteBuffer(const unsigned char* buffer, long count)
{
    if (!mOpen)
        return AL_NOT_OPEN;
    if (count < 0)
        return AL_INVALID_ARGUMENT;
    if (count > mCapacity - mPosition)
        return AL_BUFFER_OVERFLOW;
    if (count > 0)
        std::memcpy(mBlock + mPosition, buffer, static_cast<size_t>(count));
    mPosition += count;
    mLength = std::max(mLength, mPosition);
    return count;
}

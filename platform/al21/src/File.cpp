#include "al/File.h"

#include <algorithm>
#include <cstring>

ALFile::ALFile(const char* fileName, long bufferSize, ALNameCase nameCase)
    : ALStorage(fileName, bufferSize, nameCase),
      mHandle(INVALID_HANDLE_VALUE),
      mWriting(false),
      mPosition(0),
      mBufferStart(0),
      mBufferLength(0)
{
}

ALFile::~ALFile()
{
    Close();
}

int ALFile::Open()
{
    Close();
    mHandle = CreateFile(GetName(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, NULL);
    if (mHandle == INVALID_HANDLE_VALUE)
        return AL_CANT_OPEN_FILE;
    mWriting = false;
    mBuffer.assign(static_cast<size_t>(GetBufferSize()), 0);
    return AL_SUCCESS;
}

int ALFile::Create()
{
    Close();
    mHandle = CreateFile(GetName(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (mHandle == INVALID_HANDLE_VALUE)
        return AL_CANT_OPEN_FILE;
    mWriting = true;
    return AL_SUCCESS;
}

int ALFile::Close()
{
    if (mHandle != INVALID_HANDLE_VALUE)
        CloseHandle(mHandle);
    mHandle = INVALID_HANDLE_VALUE;
    mWriting = false;
    mPosition = 0;
    mBufferStart = 0;
    mBufferLength = 0;
    return AL_SUCCESS;
}

int ALFile::Seek(long position)
{
    if (!IsOpen())
        return AL_NOT_OPEN;
    if (position < 0)
        return AL_SEEK_ERROR;
    mPosition = position;
    return AL_SUCCESS;
}

long ALFile::Fill()
{
    if (SetFilePointer(mHandle, mPosition, NULL, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return AL_SEEK_ERROR;
    DWORD got = 0;
    if (!ReadFile(mHandle, mBuffer.data(), static_cast<DWORD>(mBuffer.size()), &got, NULL))
        return AL_READ_ERROR;
    mBufferStart = mPosition;
    mBufferLength = static_cast<long>(got);
    return mBufferLength;
}

long ALFile::ReadBuffer(unsigned char* buffer, long count)
{
    if (!IsOpen() || mWriting)
        return AL_NOT_OPEN;
    if (count < 0)
        return AL_INVALID_ARGUMENT;
    long done = 0;
    while (done < count) {
        if (mPosition < mBufferStart || mPosition >= mBufferStart + mBufferLength) {
            long filled = Fill();
            if (filled < 0)
                return filled;
            if (filled == 0)
                break;
        }
        long offset = mPosition - mBufferStart;
        long take = std::min(count - done, mBufferLength - offset);
        std::memcpy(buffer + done, mBuffer.data() + offset, static_cast<size_t>(take));
        done += take;
        mPosition += take;
    }
    return done;
}

long ALFile::WriteBuffer(const unsigned char* buffer, long count)
{
    if (!IsOpen() || !mWriting)
        return AL_NOT_OPEN;
    if (count < 0)
        return AL_INVALID_ARGUMENT;
    if (SetFilePointer(mHandle, mPosition, NULL, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return AL_SEEK_ERROR;
    DWORD written = 0;
    if (!WriteFile(mHandle, buffer, static_cast<DWORD>(count), &written, NULL) ||
        written != static_cast<DWORD>(count))
        return AL_WRITE_ERROR;
    mPosition += count;
    return count;
}

long ALFile::GetSize() const
{
    if (!IsOpen())
        return 0;
    DWORD size = GetFileSize(mHandle, NULL);
    return size == INVALID_FILE_SIZE ? 0 : static_cast<long>(size);
}

#include "al/Storage.h"

#include <cctype>

ALStorage::ALStorage(const char* name, long bufferSize, ALNameCase nameCase)
    : mName(name != nullptr ? name : ""), mBufferSize(bufferSize > 0 ? bufferSize : 1)
{
    for (char& ch : mName) {
        if (nameCase == AL_UPPER)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        else if (nameCase == AL_LOWER)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
}

ALStorage::~ALStorage() = default;

// Byte-level helpers for archive tests: build expected byte strings, store through an archive
// into memory, and load back from bytes.
#pragma once

#include <afx.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace archive_test {

using Bytes = std::vector<BYTE>;

inline Bytes Of(const std::string& s) { return Bytes(s.begin(), s.end()); }

inline Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Everything a storing archive writes, through a memory file.
inline Bytes Store(const std::function<void(CArchive&)>& write, int nBufSize = 4096)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, nBufSize);
        write(ar);
    }
    Bytes bytes(file.GetLength());
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

// Loads from the bytes; returns the cause of a CArchiveException (-1 when none was thrown).
inline int Load(const Bytes& bytes, const std::function<void(CArchive&)>& read, int nBufSize = 4096)
{
    Bytes copy = bytes;
    CMemFile file(copy.empty() ? NULL : copy.data(), static_cast<UINT>(copy.size()));
    CArchive ar(&file, CArchive::load, nBufSize);
    try {
        read(ar);
    } catch (CArchiveException* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

}  // namespace archive_test

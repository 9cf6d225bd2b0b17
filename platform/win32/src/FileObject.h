// An open file: the kernel object behind a file handle (private to the platform library).
#pragma once

#include "FileSystem.h"

#include <host/KernelObject.h>

namespace host::detail {

class FileObject : public KernelObject {
public:
    FileObject(int fd, const FileId& id, std::string hostPath, DWORD access, DWORD share,
               bool deleteOnClose);
    ~FileObject() override;

    int Descriptor() const { return m_fd; }
    const FileId& Id() const { return m_id; }
    const std::string& HostPath() const { return m_hostPath; }
    DWORD Access() const { return m_access; }
    DWORD Share() const { return m_share; }
    bool CanRead() const;
    bool CanWrite() const;
    bool AppendOnly() const;  // FILE_APPEND_DATA without FILE_WRITE_DATA: writes go to the end

    std::mutex& Lock() { return m_lock; }  // serialises moves of the file pointer

private:
    int m_fd;
    FileId m_id;
    std::string m_hostPath;
    DWORD m_access;
    DWORD m_share;
    bool m_deleteOnClose;
    std::mutex m_lock;
};

// Opens a file the way CreateFile does (sets the last error on failure).
std::shared_ptr<FileObject> OpenFile(const char* fileName, DWORD access, DWORD share,
                                     DWORD disposition, DWORD flagsAndAttributes);

}  // namespace host::detail

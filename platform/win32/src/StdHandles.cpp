// The standard handles of a process: the host's standard input, output and error as file
// handles, made on first use and kept for the process's life.
#include "FileObject.h"

#include <fileapi.h>
#include <interproc.h>
#include <processenv.h>
#include <winerror.h>
#include <errhandlingapi.h>

#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

HANDLE Make(int fd, DWORD access)
{
    int copy = fcntl(fd, F_DUPFD_CLOEXEC, 3);
    if (copy < 0)
        return INVALID_HANDLE_VALUE;
    struct stat st {};
    fstat(copy, &st);
    auto object = std::make_shared<host::detail::FileObject>(copy, host::detail::FileId{st.st_dev, st.st_ino}, "",
                                                             access, FILE_SHARE_READ | FILE_SHARE_WRITE, false);
    HANDLE handle = host::AddKernelObject(object);
    return handle ? handle : INVALID_HANDLE_VALUE;
}

}  // namespace

HANDLE WINAPI GetStdHandle(DWORD nStdHandle)
{
    static std::mutex lock;
    static HANDLE handles[3] = {nullptr, nullptr, nullptr};
    int index;
    switch (nStdHandle) {
    case STD_INPUT_HANDLE: index = 0; break;
    case STD_OUTPUT_HANDLE: index = 1; break;
    case STD_ERROR_HANDLE: index = 2; break;
    default:
        SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_HANDLE_VALUE;
    }
    std::lock_guard<std::mutex> g(lock);
    if (!handles[index])
        handles[index] = Make(index, index == 0 ? GENERIC_READ : GENERIC_WRITE);
    return handles[index];
}

// The C runtime's low-level files on platform paths: descriptors over the platform's file
// handles, with the runtime's text mode (CR LF on disk, LF in memory; Ctrl-Z ends text), its
// share modes and its error numbers (errno: ENOENT, EACCES, EEXIST, EBADF, EINVAL, EMFILE).
// Descriptors 0, 1 and 2 are the host's standard streams.
#pragma once

#include <windef.h>

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <ctime>

#define _O_RDONLY 0x0000
#define _O_WRONLY 0x0001
#define _O_RDWR 0x0002
#define _O_APPEND 0x0008
#define _O_RANDOM 0x0010
#define _O_SEQUENTIAL 0x0020
#define _O_TEMPORARY 0x0040
#define _O_NOINHERIT 0x0080
#define _O_CREAT 0x0100
#define _O_TRUNC 0x0200
#define _O_EXCL 0x0400
#define _O_SHORT_LIVED 0x1000
#define _O_TEXT 0x4000
#define _O_BINARY 0x8000
#define _O_RAW _O_BINARY

#define _S_IFMT 0xF000
#define _S_IFDIR 0x4000
#define _S_IFREG 0x8000
#define _S_IREAD 0x0100
#define _S_IWRITE 0x0080
#define _S_IEXEC 0x0040

#ifndef _SH_DENYRW
#define _SH_DENYRW 0x10
#define _SH_DENYWR 0x20
#define _SH_DENYRD 0x30
#define _SH_DENYNO 0x40
#endif

// The translation mode of descriptors opened without _O_TEXT or _O_BINARY (_O_TEXT at start).
extern int _fmode;

int _open(const char* filename, int oflag, ...);
int _sopen(const char* filename, int oflag, int shflag, ...);
int _creat(const char* filename, int pmode);
int _read(int fd, void* buffer, unsigned int count);
int _write(int fd, const void* buffer, unsigned int count);
long _lseek(int fd, long offset, int origin);
__int64 _lseeki64(int fd, __int64 offset, int origin);
long _tell(int fd);
__int64 _telli64(int fd);
long _filelength(int fd);
__int64 _filelengthi64(int fd);
int _eof(int fd);
int _chsize(int fd, long size);
int _commit(int fd);
int _setmode(int fd, int mode);
int _close(int fd);
intptr_t _get_osfhandle(int fd);
int _open_osfhandle(intptr_t osfhandle, int flags);
int _unlink(const char* filename);
int _access(const char* path, int mode);
int _chmod(const char* filename, int pmode);

// File status of the C runtime. The times are read as st_atime, st_mtime and st_ctime (UTC
// seconds); st_dev and st_rdev are the drive number (0 = A:).
struct _stat {
    unsigned int st_dev;
    unsigned short st_ino;
    unsigned short st_mode;
    short st_nlink;
    short st_uid;
    short st_gid;
    unsigned int st_rdev;
    long st_size;
#ifdef st_atime
    // The host's headers spell st_atime as st_atim.tv_sec; the same spelling works here.
    struct timespec st_atim;
    struct timespec st_mtim;
    struct timespec st_ctim;
#else
    time_t st_atime;
    time_t st_mtime;
    time_t st_ctime;
#endif
};
int _stat(const char* path, struct _stat* buffer);
int _fstat(int fd, struct _stat* buffer);

// Replaces the six trailing "XXXXXX" of the template by a name no file has and that this
// process has not handed out before. Returns the template, or NULL (errno EINVAL for a bad
// template, EEXIST when no free name was found). Another process may still take the name
// before it is used: host::OpenUniqueFile creates the file in the same step.
char* _mktemp(char* nameTemplate);
int _mktemp_s(char* nameTemplate, std::size_t sizeInChars);

namespace host {

// Fills the template like _mktemp and creates the file exclusively (_O_CREAT | _O_EXCL added
// to `oflag`), trying other names while a name is taken. Returns the descriptor, or -1 with
// errno set.
int OpenUniqueFile(char* nameTemplate, int oflag = _O_RDWR | _O_BINARY, int pmode = _S_IREAD | _S_IWRITE);

}  // namespace host

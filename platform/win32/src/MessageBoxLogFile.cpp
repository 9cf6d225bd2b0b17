// The message boxes of a process in the file named by VL_MESSAGEBOX_LOG.
#include "MessageBoxLogFile.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace host {

namespace {

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\\': out += "\\\\"; break;
        default: out += c; break;
        }
    }
    return out;
}

}  // namespace

void AppendMessageBoxToLogFile(const MessageBoxRecord& box)
{
    const char* file = std::getenv("VL_MESSAGEBOX_LOG");
    if (!file || !*file)
        return;
    char type[16];
    std::snprintf(type, sizeof type, "%X", static_cast<unsigned>(box.type));
    std::string line = std::to_string(GetCurrentProcessId()) + '\t' + Escaped(box.caption) + '\t' + Escaped(box.text) + '\t' +
                       type + '\t' + std::to_string(box.answer) + '\n';
    int fd = open(file, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    ssize_t written = write(fd, line.data(), line.size());
    (void)written;  // a log that cannot be written loses the line; the box itself is unaffected
    close(fd);
}

}  // namespace host

// The shared table of live connections: a text file replaced whole under a lock file.
#include "ConnectionTable.h"

#include <ras.h>

#include <host/RemoteAccess.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace ras {

namespace {

std::string Hex(const std::string& text)
{
    static const char digits[] = "0123456789abcdef";
    std::string out = text.empty() ? "-" : "";
    for (unsigned char c : text) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

bool Unhex(const std::string& hex, std::string& text)
{
    text.clear();
    if (hex == "-")
        return true;
    if (hex.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        auto value = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1; };
        const int high = value(hex[i]), low = value(hex[i + 1]);
        if (high < 0 || low < 0)
            return false;
        text += static_cast<char>(high * 16 + low);
    }
    return true;
}

// The lock of the table for the life of the object (one process at a time reads and writes).
class TableLock {
public:
    TableLock()
    {
        const std::string file = host::LiveConnectionFile();
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
        m_fd = open((file + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd >= 0)
            while (flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    ~TableLock()
    {
        if (m_fd >= 0)
            close(m_fd);  // releases the lock
    }
    TableLock(const TableLock&) = delete;
    TableLock& operator=(const TableLock&) = delete;

private:
    int m_fd = -1;
};

// Lines that do not read are dropped (a damaged table loses only what it lost).
void Load(std::vector<ConnectionRecord>& records, DWORD& nextHandle)
{
    records.clear();
    nextHandle = 1;
    std::ifstream in(host::LiveConnectionFile());
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string kind;
        fields >> kind;
        if (kind == "next") {
            unsigned long value = 0;
            if (fields >> value && value > 0 && value < 0xFFFFFFFFul)
                nextHandle = static_cast<DWORD>(value);
            continue;
        }
        if (kind != "C")
            continue;
        ConnectionRecord record;
        unsigned long handle = 0, failure = 0;
        std::string entry, user, type, name;
        if (!(fields >> handle >> record.dialled >> record.dropAfter >> failure >> entry >> user >> type >> name))
            continue;
        if (handle == 0 || handle >= 0xFFFFFFFFul || !Unhex(entry, record.entry) || !Unhex(user, record.user) ||
            !Unhex(type, record.deviceType) || !Unhex(name, record.deviceName))
            continue;
        record.handle = static_cast<DWORD>(handle);
        record.failure = static_cast<DWORD>(failure);
        records.push_back(record);
        if (record.handle >= nextHandle)
            nextHandle = record.handle + 1;
    }
}

void Store(const std::vector<ConnectionRecord>& records, DWORD nextHandle)
{
    const std::string file = host::LiveConnectionFile();
    const std::string temporary = file + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << "VLRAS 1\nnext " << nextHandle << "\n";
        for (const ConnectionRecord& r : records)
            out << "C " << r.handle << ' ' << r.dialled << ' ' << r.dropAfter << ' ' << r.failure << ' ' << Hex(r.entry)
                << ' ' << Hex(r.user) << ' ' << Hex(r.deviceType) << ' ' << Hex(r.deviceName) << "\n";
        if (!out)
            return;
    }
    // Private to the user, as the registry's files are: it names the accounts that dialled.
    std::error_code ec;
    std::filesystem::permissions(temporary, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::replace, ec);
    std::rename(temporary.c_str(), file.c_str());
}

}  // namespace

DWORD ConnectionRecord::EndedWith(long long now) const
{
    if (failure != 0)
        return failure;
    if (dropAfter >= 0 && now - dialled >= dropAfter)
        return ERROR_PORT_DISCONNECTED;
    return 0;
}

void ConnectionTable::Update(const std::function<bool(std::vector<ConnectionRecord>&, DWORD&)>& change)
{
    TableLock lock;
    std::vector<ConnectionRecord> records;
    DWORD nextHandle = 1;
    Load(records, nextHandle);
    if (change(records, nextHandle))
        Store(records, nextHandle);
}

std::vector<ConnectionRecord> ConnectionTable::Read()
{
    TableLock lock;
    std::vector<ConnectionRecord> records;
    DWORD nextHandle = 1;
    Load(records, nextHandle);
    return records;
}

}  // namespace ras

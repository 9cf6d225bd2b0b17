// The table of live connections that every process of the user shares (host/RemoteAccess.h).
#pragma once

#include <windef.h>

#include <functional>
#include <string>
#include <vector>

namespace ras {

struct ConnectionRecord {
    DWORD handle = 0;
    long long dialled = 0;     // platform clock, UTC milliseconds
    long long dropAfter = -1;  // milliseconds after `dialled` that the line drops; -1 never
    DWORD failure = 0;         // a dial that failed: its error (the record waits for its hang-up)
    std::string entry;
    std::string user;
    std::string deviceType;
    std::string deviceName;

    // 0 while connected at the given time, else why not.
    DWORD EndedWith(long long now) const;
};

class ConnectionTable {
public:
    // Runs `change` on the table under the lock; when it answers true the table is written back
    // whole. The next free handle is kept with the records.
    static void Update(const std::function<bool(std::vector<ConnectionRecord>& records, DWORD& nextHandle)>& change);
    // The records as they are now (read under the lock).
    static std::vector<ConnectionRecord> Read();
};

}  // namespace ras

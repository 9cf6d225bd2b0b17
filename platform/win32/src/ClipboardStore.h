// The clipboard that the processes of one user share: what the last process to change it put
// there, as bytes, in a segment of the shared namespace (SyncObject.h). Not installed.
//
// Global-memory formats are kept as their blocks' bytes, a bitmap as a packed DIB, a palette as
// its LOGPALETTE; a promised format (delayed rendering) as a mark only, rendered by its owner
// when someone asks. Registered format names are shared too, so that a name has one number in
// every process.
#pragma once

#include <windef.h>

#include <cstdint>
#include <string>
#include <vector>

namespace clipstore {

struct Item {
    UINT format = 0;
    bool promised = false;
    std::string bytes;
};

struct Snapshot {
    std::uint32_t sequence = 0;
    std::int32_t pid = 0;       // the process that published it
    std::uint64_t owner = 0;    // its clipboard owner window
    std::vector<Item> items;
};

// Puts this process's clipboard in place of what is shared; returns the new sequence number.
// Items that do not fit (the store's size) are left out.
std::uint32_t Publish(HWND owner, const std::vector<Item>& items);
// What another process published after `seen`, read into `out`; false when the shared
// clipboard is this process's own or unchanged since.
bool ReadForeign(std::uint32_t seen, Snapshot& out);
// The shared number of a registered format name (0xC000 and up), made when new; 0 when the
// table is full.
UINT RegisterName(const std::string& name);
bool NameOf(UINT format, std::string& name);

}  // namespace clipstore

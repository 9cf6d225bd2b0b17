// The phonebook file of the remote-access stand-in (format in host/RemoteAccess.h).
#pragma once

#include <windef.h>

#include <optional>
#include <string>
#include <vector>

namespace ras {

enum class Outcome { Connects, Busy, NoAnswer, Drops };

struct PhonebookEntry {
    std::string name;
    std::string user;
    std::string password;
    bool passwordSaved = false;
    std::string domain;
    Outcome outcome = Outcome::Connects;
    long long dropAfter = 1000;
    bool accountChecked = false;  // only the account below logs on
    std::string accountUser;
    std::string accountPassword;
    std::string deviceType = "modem";
    std::string deviceName = "Standard Modem";
};

class Phonebook {
public:
    // Reads the file: 0, or ERROR_CANNOT_OPEN_PHONEBOOK when it cannot be read or is damaged.
    DWORD Load();
    const std::vector<PhonebookEntry>& Entries() const { return m_entries; }
    // The entry of that name (letter case ignored, as the system's names are), or nothing.
    const PhonebookEntry* Find(const std::string& name) const;

private:
    std::vector<PhonebookEntry> m_entries;
};

}  // namespace ras

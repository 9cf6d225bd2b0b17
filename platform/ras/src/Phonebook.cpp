// Reading the stand-in's phonebook.
#include "Phonebook.h"

#include <ras.h>
#include <strings.h>

#include <host/RemoteAccess.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

namespace ras {

namespace {

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool Equal(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

bool ReadOutcome(const std::string& value, Outcome& outcome)
{
    if (Equal(value, "connects"))
        outcome = Outcome::Connects;
    else if (Equal(value, "busy"))
        outcome = Outcome::Busy;
    else if (Equal(value, "no answer"))
        outcome = Outcome::NoAnswer;
    else if (Equal(value, "drops"))
        outcome = Outcome::Drops;
    else
        return false;
    return true;
}

// One "key=value" line into the entry; false when it does not read.
bool Apply(PhonebookEntry& entry, const std::string& key, const std::string& value)
{
    if (Equal(key, "User"))
        entry.user = value;
    else if (Equal(key, "Password")) {
        entry.password = value;
        entry.passwordSaved = true;
    } else if (Equal(key, "Domain"))
        entry.domain = value;
    else if (Equal(key, "Outcome"))
        return ReadOutcome(value, entry.outcome);
    else if (Equal(key, "DropAfter")) {
        char* end = nullptr;
        errno = 0;
        const long long ms = std::strtoll(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || errno != 0 || ms < 0)
            return false;
        entry.dropAfter = ms;
    } else if (Equal(key, "Account")) {
        const auto colon = value.find(':');
        if (colon == std::string::npos)
            return false;
        entry.accountChecked = true;
        entry.accountUser = value.substr(0, colon);
        entry.accountPassword = value.substr(colon + 1);
    } else if (Equal(key, "Device")) {
        const auto colon = value.find(':');
        entry.deviceType = value.substr(0, colon);
        entry.deviceName = colon == std::string::npos ? std::string() : value.substr(colon + 1);
    } else
        return false;
    return entry.user.size() <= UNLEN && entry.password.size() <= PWLEN && entry.domain.size() <= DNLEN &&
           entry.deviceType.size() <= RAS_MaxDeviceType && entry.deviceName.size() <= RAS_MaxDeviceName &&
           entry.accountUser.size() <= UNLEN && entry.accountPassword.size() <= PWLEN;
}

}  // namespace

DWORD Phonebook::Load()
{
    m_entries.clear();
    const std::string path = host::PhonebookFile();
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? 0 : ERROR_CANNOT_OPEN_PHONEBOOK;
    if (!S_ISREG(info.st_mode))
        return ERROR_CANNOT_OPEN_PHONEBOOK;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return ERROR_CANNOT_OPEN_PHONEBOOK;
    std::string line;
    while (std::getline(in, line)) {
        const std::string text = Trim(line);
        if (text.empty() || text[0] == ';')
            continue;
        if (text[0] == '[') {
            if (text.back() != ']' || text.size() < 3 || text.size() - 2 > RAS_MaxEntryName ||
                text.find('\0') != std::string::npos) {
                m_entries.clear();
                return ERROR_CANNOT_OPEN_PHONEBOOK;
            }
            PhonebookEntry entry;
            entry.name = text.substr(1, text.size() - 2);
            m_entries.push_back(entry);
            continue;
        }
        const auto equals = text.find('=');
        if (m_entries.empty() || equals == std::string::npos ||
            !Apply(m_entries.back(), Trim(text.substr(0, equals)), Trim(text.substr(equals + 1)))) {
            m_entries.clear();
            return ERROR_CANNOT_OPEN_PHONEBOOK;
        }
    }
    if (in.bad()) {
        m_entries.clear();
        return ERROR_CANNOT_OPEN_PHONEBOOK;
    }
    return 0;
}

const PhonebookEntry* Phonebook::Find(const std::string& name) const
{
    for (const PhonebookEntry& entry : m_entries)
        if (strcasecmp(entry.name.c_str(), name.c_str()) == 0)
            return &entry;
    return nullptr;
}

}  // namespace ras

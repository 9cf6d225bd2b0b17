// The remote-access calls over the stand-in's phonebook and shared connection table.
#include <ras.h>
#include <windows.h>

#include <host/Clock.h>
#include <host/Drives.h>
#include <host/RemoteAccess.h>

#include "ConnectionTable.h"
#include "Phonebook.h"

#include <cstring>

namespace {

using ras::ConnectionRecord;
using ras::ConnectionTable;

std::string RasFolder() { return host::SystemRoot() + "/WINDOWS/SYSTEM32/RAS"; }

long long Now() { return static_cast<long long>(host::ClockUtcMilliseconds()); }

template <std::size_t N>
void CopyText(CHAR (&target)[N], const std::string& text)
{
    const std::size_t length = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(target, text.data(), length);
    target[length] = '\0';
}

template <std::size_t N>
std::string TextOf(const CHAR (&field)[N])
{
    return std::string(field, strnlen(field, N));
}

}  // namespace

namespace host {

std::string PhonebookFile() { return RasFolder() + "/rasphone.pbk"; }
std::string LiveConnectionFile() { return RasFolder() + "/rasconn.tbl"; }

std::vector<LiveConnection> LiveConnections()
{
    std::vector<LiveConnection> live;
    const long long now = Now();
    for (const ConnectionRecord& record : ConnectionTable::Read()) {
        LiveConnection connection;
        connection.handle = record.handle;
        connection.entry = record.entry;
        connection.user = record.user;
        connection.error = record.EndedWith(now);
        connection.connected = connection.error == 0;
        live.push_back(connection);
    }
    return live;
}

}  // namespace host

extern "C" {

DWORD WINAPI RasEnumEntries(LPCSTR reserved, LPCSTR lpszPhonebook, LPRASENTRYNAME lpRasEntryName, LPDWORD lpcb,
                            LPDWORD lpcEntries)
{
    if (reserved != NULL || lpszPhonebook != NULL || lpcb == NULL || lpcEntries == NULL)
        return ERROR_INVALID_PARAMETER;
    if (lpRasEntryName == NULL || lpRasEntryName->dwSize != sizeof(RASENTRYNAME))
        return ERROR_INVALID_SIZE;
    ras::Phonebook phonebook;
    if (const DWORD error = phonebook.Load())
        return error;
    const auto& entries = phonebook.Entries();
    const DWORD needed = static_cast<DWORD>(entries.size() * sizeof(RASENTRYNAME));
    *lpcEntries = static_cast<DWORD>(entries.size());
    if (*lpcb < needed) {
        *lpcb = needed;
        return ERROR_BUFFER_TOO_SMALL;
    }
    *lpcb = needed;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        lpRasEntryName[i].dwSize = sizeof(RASENTRYNAME);
        CopyText(lpRasEntryName[i].szEntryName, entries[i].name);
    }
    return 0;
}

DWORD WINAPI RasGetEntryDialParams(LPCSTR lpszPhonebook, LPRASDIALPARAMS lpRasDialParams, LPBOOL lpfPassword)
{
    if (lpszPhonebook != NULL || lpRasDialParams == NULL || lpfPassword == NULL)
        return ERROR_INVALID_PARAMETER;
    if (lpRasDialParams->dwSize != sizeof(RASDIALPARAMS))
        return ERROR_INVALID_SIZE;
    ras::Phonebook phonebook;
    if (const DWORD error = phonebook.Load())
        return error;
    const ras::PhonebookEntry* entry = phonebook.Find(TextOf(lpRasDialParams->szEntryName));
    if (entry == NULL)
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    lpRasDialParams->szPhoneNumber[0] = '\0';
    lpRasDialParams->szCallbackNumber[0] = '\0';
    CopyText(lpRasDialParams->szUserName, entry->user);
    CopyText(lpRasDialParams->szPassword, entry->passwordSaved ? entry->password : std::string());
    CopyText(lpRasDialParams->szDomain, entry->domain);
    *lpfPassword = entry->passwordSaved ? TRUE : FALSE;
    return 0;
}

DWORD WINAPI RasDial(LPRASDIALEXTENSIONS lpRasDialExtensions, LPCSTR lpszPhonebook, LPRASDIALPARAMS lpRasDialParams,
                     DWORD dwNotifierType, LPVOID lpvNotifier, LPHRASCONN lphRasConn)
{
    if (lpRasDialExtensions != NULL || lpszPhonebook != NULL || lpRasDialParams == NULL || lphRasConn == NULL ||
        dwNotifierType != 0 || lpvNotifier != NULL || *lphRasConn != 0)
        return ERROR_INVALID_PARAMETER;
    if (lpRasDialParams->dwSize != sizeof(RASDIALPARAMS))
        return ERROR_INVALID_SIZE;
    ras::Phonebook phonebook;
    if (const DWORD error = phonebook.Load())
        return error;
    const ras::PhonebookEntry* entry = phonebook.Find(TextOf(lpRasDialParams->szEntryName));
    if (entry == NULL)
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;

    ConnectionRecord record;
    record.dialled = Now();
    record.entry = entry->name;
    record.user = TextOf(lpRasDialParams->szUserName);
    record.deviceType = entry->deviceType;
    record.deviceName = entry->deviceName;
    switch (entry->outcome) {
    case ras::Outcome::Busy:
        record.failure = ERROR_LINE_BUSY;
        break;
    case ras::Outcome::NoAnswer:
        record.failure = ERROR_NO_ANSWER;
        break;
    case ras::Outcome::Drops:
        record.dropAfter = entry->dropAfter;
        break;
    case ras::Outcome::Connects:
        break;
    }
    if (record.failure == 0 && entry->accountChecked &&
        (record.user != entry->accountUser || TextOf(lpRasDialParams->szPassword) != entry->accountPassword))
        record.failure = ERROR_AUTHENTICATION_FAILURE;

    ConnectionTable::Update([&](std::vector<ConnectionRecord>& records, DWORD& nextHandle) {
        record.handle = nextHandle++;
        if (nextHandle == 0xFFFFFFFFu)
            nextHandle = 1;
        records.push_back(record);
        return true;
    });
    *lphRasConn = record.handle;
    return record.failure;
}

DWORD WINAPI RasGetConnectStatus(HRASCONN hrasconn, LPRASCONNSTATUS lpRasConnStatus)
{
    if (lpRasConnStatus == NULL)
        return ERROR_INVALID_PARAMETER;
    if (lpRasConnStatus->dwSize != sizeof(RASCONNSTATUS))
        return ERROR_INVALID_SIZE;
    const long long now = Now();
    for (const ConnectionRecord& record : ConnectionTable::Read()) {
        if (record.handle != hrasconn)
            continue;
        const DWORD ended = record.EndedWith(now);
        lpRasConnStatus->rasconnstate = ended == 0 ? RASCS_Connected : RASCS_Disconnected;
        lpRasConnStatus->dwError = ended;
        CopyText(lpRasConnStatus->szDeviceType, record.deviceType);
        CopyText(lpRasConnStatus->szDeviceName, record.deviceName);
        return 0;
    }
    return ERROR_INVALID_HANDLE;
}

DWORD WINAPI RasEnumConnections(LPRASCONN lpRasConn, LPDWORD lpcb, LPDWORD lpcConnections)
{
    if (lpcb == NULL || lpcConnections == NULL)
        return ERROR_INVALID_PARAMETER;
    if (lpRasConn == NULL || lpRasConn->dwSize != sizeof(RASCONN))
        return ERROR_INVALID_SIZE;
    const std::vector<ConnectionRecord> records = ConnectionTable::Read();
    const DWORD needed = static_cast<DWORD>(records.size() * sizeof(RASCONN));
    *lpcConnections = static_cast<DWORD>(records.size());
    if (*lpcb < needed) {
        *lpcb = needed;
        return ERROR_BUFFER_TOO_SMALL;
    }
    *lpcb = needed;
    for (std::size_t i = 0; i < records.size(); ++i) {
        lpRasConn[i].dwSize = sizeof(RASCONN);
        lpRasConn[i].hrasconn = records[i].handle;
        CopyText(lpRasConn[i].szEntryName, records[i].entry);
        CopyText(lpRasConn[i].szDeviceType, records[i].deviceType);
        CopyText(lpRasConn[i].szDeviceName, records[i].deviceName);
    }
    return 0;
}

DWORD WINAPI RasHangUp(HRASCONN hrasconn)
{
    bool found = false;
    ConnectionTable::Update([&](std::vector<ConnectionRecord>& records, DWORD&) {
        for (auto it = records.begin(); it != records.end(); ++it)
            if (it->handle == hrasconn) {
                records.erase(it);
                found = true;
                return true;
            }
        return false;
    });
    return found ? 0 : ERROR_INVALID_HANDLE;
}

}  // extern "C"

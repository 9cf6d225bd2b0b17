// The other process of the registry tests:
//
//   vlregpeer KEY NAME EXPECTED NEWNAME NEWVALUE
//
// reads the REG_SZ value NAME of HKEY_CURRENT_USER\KEY and then sets NEWNAME = NEWVALUE there.
// Exit code: 0 when the value read equals EXPECTED and the new value was written; 2 when the
// key or value is missing; 3 when the value differs; 4 when the write failed; 5 on bad arguments.
#include <windows.h>

#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 6)
        return 5;
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, argv[1], 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return 2;
    char buffer[512] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    LSTATUS status = RegQueryValueEx(key, argv[2], nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (status != ERROR_SUCCESS) {
        RegCloseKey(key);
        return 2;
    }
    if (type != REG_SZ || std::string(buffer) != argv[3]) {
        RegCloseKey(key);
        return 3;
    }
    status = RegSetValueEx(key, argv[4], 0, REG_SZ, reinterpret_cast<const BYTE*>(argv[5]),
                           static_cast<DWORD>(std::strlen(argv[5]) + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? 0 : 4;
}

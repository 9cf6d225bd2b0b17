// Where the registry keeps its roots (see <winreg.h> for the behaviour).
//
// Each root is one file below the emulated system tree (host/Drives.h, SystemRoot()):
//   HKEY_CURRENT_USER    <system root>/registry/user-<host user name>.reg
//   HKEY_LOCAL_MACHINE   <system root>/registry/machine.reg
// Both files and their folder are private to the user (0600, 0700). Every call reads the file
// again when another process replaced it; every change writes a new file beside it and renames it
// into place, under the lock file "<file>.lock" (flock), so a change is whole or absent.
//
// The file is text: a first line "VLREG 1", then one line per key, "K <last write, 16 hex
// digits> <path in hex>", each followed by its values, "V <type> <name in hex> <data in hex>".
// Lines that do not read are skipped, so a damaged file loses only what it lost.
//
// Not part of the platform's interface: only the platform layer itself and tests use it.
#pragma once

#include <windef.h>

#include <string>

namespace host {

// The host file of a root (HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE); empty for any other handle.
std::string RegistryFile(HKEY root);

}  // namespace host

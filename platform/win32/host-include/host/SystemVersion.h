// Which system the platform says it is (GetVersion, GetVersionEx). By default it is Windows NT
// 4.0; a test or tool can make it report Windows 95, Windows 98 or Win32s instead, so that code
// with branches for those systems can be run on each of them.
//
// The environment variable VL_SYSTEM_VERSION ("nt", "95", "98" or "win32s"), read at the first
// call, sets it for a whole process (such as a program that a test starts); SetReportedSystem
// overrides it within the process.
//
// Not part of the platform's interface: only the platform layer itself, tests and tools use it.
#pragma once

namespace host {

enum class ReportedSystem { WindowsNT, Windows95, Windows98, Win32s };

void SetReportedSystem(ReportedSystem system);
ReportedSystem GetReportedSystem();
// Back to what the environment says (Windows NT without it).
void ResetReportedSystem();

}  // namespace host

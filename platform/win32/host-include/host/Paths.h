// Host boundary for file names. Product code sees the platform's paths: drive letters,
// backslashes, names compared without regard to case. This maps them onto host folders
// through the drive map (host/Drives.h).
//
// Not part of the platform's interface: only the platform layer itself and tests use it.
#pragma once

#include <optional>
#include <string>

namespace host {

// Turns a platform path ("C:\\Program Files\\vl\\vl.ini", "\\temp\\x", "relative\\name") into a
// host path. Every component that exists on the host is matched without regard to case; the
// components that do not exist yet are kept as written (so a file can be created). Relative
// paths are taken against the platform's current directory. Returns nothing when the drive is
// not mapped or has no disc in it, or the path is malformed (wildcards, forbidden characters).
std::optional<std::string> ToHostPath(const std::string& platformPath);

// Turns a host path into the platform's form ("X:\\..."), using the drive whose host folder is
// the longest prefix of it. Returns nothing when no drive covers the path.
std::optional<std::string> FromHostPath(const std::string& hostPath);

// The running program's host file name. When the file was replaced or removed while the
// program runs, the host marks the name " (deleted)": the mark is dropped, the name stays.
std::string ProgramHostPath();
// The running program's file name in the platform's form: its host path through FromHostPath,
// with ".exe" appended when the name has no extension. Empty if no drive covers it.
std::string ProgramPlatformPath();
// Tests: the program's file name reported from now on in the platform's form (such as
// "T:\prog\vl00i1se.exe"), so that a program's folder can be a test's own; empty returns to
// the real one.
void SetProgramPlatformPath(const std::string& platformPath);

// The platform's wildcard rule for file names: '*' matches any run of characters, '?' one
// character (or none at the end of the name); a pattern ending in ".*" also matches names
// without a dot ("*.*" matches everything), and one ending in "." matches names without a
// dot. Comparison ignores case (Windows-1252).
bool WildcardMatch(const std::string& pattern, const std::string& name);

}  // namespace host

// Host boundary for file names. Product code sees the platform's paths: drive letters,
// backslashes, names compared without regard to case. This maps them onto host folders.
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
// not mapped or the path is malformed.
std::optional<std::string> ToHostPath(const std::string& platformPath);

// Turns a host path into the platform's form ("X:\\..."), using the drive whose host folder is
// the longest prefix of it. Returns nothing when no drive covers the path.
std::optional<std::string> FromHostPath(const std::string& hostPath);

}  // namespace host

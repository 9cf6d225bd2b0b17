// Host boundary for processes: how a program's files and start-up arguments look on the host.
//
// Not part of the platform's interface: the platform layer, the class library's entry point and
// tests use it.
#pragma once

#include <optional>
#include <string>

namespace host {

// The host file that runs for a program's platform path: the file itself when it exists, else,
// for "name.exe", the host's "name" (programs built on the host have no extension). Nothing
// when neither is a regular file. Folders and names are matched without regard to case.
std::optional<std::string> ProgramHostPath(const std::string& platformPath);

// What the program's entry point hands to its WinMain. When the process was started by
// CreateProcess of this platform: the text of its command line after the program's name (and
// the blanks after it), exactly as the starting process wrote it; otherwise `fallback` (the
// program's host arguments joined).
std::string StartupArguments(const std::string& fallback);
// The show command the starting process asked for (STARTF_USESHOWWINDOW), else `fallback`.
int StartupShowCommand(int fallback);

}  // namespace host

// The command line of the registration programs: "-d" with a product folder and "-u" for the
// uninstall step, and the folder forms the programs build from it.
#pragma once

#include <string>

// The options of one command line.
//
// An option is a "-" that begins a blank-separated word outside double quotes, followed by its
// letter: "-d"/"-D" names the folder, "-u"/"-U" asks for the uninstall step, any other letter is
// ignored. After "-d" blanks and an opening double quote are skipped and the folder runs up to
// the next double quote or the end of the line (blanks at its end are dropped); reading goes on
// after that quote. A "-" inside a word or inside quotes ("C:\Tools\x-u", "-d \"C:\A -u\"") is no option.
// The last "-d" counts; an empty folder counts as none.
struct VorbCommandLine {
    std::string folder;
    bool uninstall = false;

    bool HasFolder() const { return !folder.empty(); }

    static VorbCommandLine Parse(const char* text);
};

// The folder with one "\" at its end ("C:\VL" gives "C:\VL\"; "C:\" and "C:\VL\" stay as they
// are); an empty folder stays empty.
std::string FolderWithBackslash(const std::string& folder);

// The folder without the "\" at its end ("C:\VL\" gives "C:\VL"), except for a drive's root,
// which keeps it ("C:\" stays "C:\": "C:" would mean the drive's current folder).
std::string FolderWithoutBackslash(const std::string& folder);

// vluninst: the front end of the system's uninstaller. Given the uninstaller's own command line
// ("<uninstaller> <folder>\uninst.log"), it asks the user, runs the registration uninstall step
// ("Vorbexe.exe -d "<folder>" -u") and waits for it, empties the folder's download folder, starts
// the uninstaller, tells the listener of the mailslot "\\.\mailslot\Tomeset\ispid" its process id,
// answers that uninstaller's "Confirm File Deletion" question with Yes, and ends when it ends.
#pragma once

#include <windows.h>

#include <string>

// What the command line says: the uninstall command as given (without leading blanks) and the
// program folder (the log's folder, without the last "\"); `message` is the number of the message
// that refuses it (1 empty, 6 no blank after the first word), 0 when it is usable.
struct UninstallCommand {
    int message = 0;
    std::string command;
    std::string folder;

    static UninstallCommand Parse(LPCSTR commandLine);
};

// Deletes the plain files directly in `folder` + "\download\" (attributes made normal first): no
// sub-folder is entered, no symbolic link is followed or deleted, and a missing folder is left
// alone. Returns how many files it deleted.
int EmptyDownloadFolder(const std::string& folder);

// The front end's whole run for the text of its command line; returns the exit code: 0 when done
// or declined, else the number of the message shown (1, 2, 6; 3 when the uninstaller could not
// be started).
int RunUninstallFrontEnd(HINSTANCE instance, LPCSTR commandLine);

// The texts the front end shows.
inline constexpr char kUninstallTitle[] = "Veltra Jubilee 2000 Uninstaller";
inline constexpr char kUninstallMailslot[] = "\\\\.\\mailslot\\Tomeset\\ispid";
inline constexpr char kConfirmDeletionTitle[] = "Confirm File Deletion";

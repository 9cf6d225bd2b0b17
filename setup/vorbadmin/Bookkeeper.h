// vorbadmin: the registration bookkeeping tool that setup runs in the product folder. Without an
// argument it records the installed product in the machine-wide product list and marks it
// installed ("7") in the list and in the product's local record; with a first argument that
// begins with "9" it records an uninstall. It keeps lists only; it checks nothing of the product.
#pragma once

#include "common/RegistrationFiles.h"

#include <string>

class CRegistrationBookkeeper {
public:
    // The records of the product in `folder`.
    explicit CRegistrationBookkeeper(const std::string& folder);

    // Records the install: the product's slot in the global list (its own slot again when it was
    // listed already, else a new one after NUMPROD), its four slot keys, and STATUS "7" with today's
    // INSTALLDATE in both files. 0 when all is written; 1 when there is no product to record or a
    // file could not be written.
    int Install();

    // Records the uninstall in the local record (STATUS "9") and takes one off the registration
    // count REGCOUNT, deleting the global list when the count reaches 0. Always 1; without a local
    // record nothing changes.
    int Uninstall();

    // The first problem met, for the console ("" when there was none).
    const std::string& Problem() const { return m_problem; }

private:
    int FindSlot(const std::string& product) const;

    RegistrationFiles m_files;
    std::string m_problem;
};

// The tool's whole run for the text of its command line after the program's name; returns the
// exit code (0 for a recorded install, 1 otherwise). A problem is written to the console.
int RunRegistrationBookkeeper(LPCSTR commandLine);

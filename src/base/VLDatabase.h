// The application's one database: "vl00i1.mdb" (string resource 620) in the program's folder.
#pragma once

#include "base/XDatabase.h"

class CVLDatabase : public CXDatabase {
public:
    CVLDatabase();
    virtual ~CVLDatabase();

    // Opens the application's database with the checks of OpenChecked; lpszFolder NULL is the
    // program's folder. An exception that escapes is shown with the standard error box and the
    // open fails.
    virtual BOOL OpenDatabase(LPCSTR lpszFolder = NULL);
};

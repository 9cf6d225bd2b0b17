// The application's database as every user of it reaches it. The application object owns the
// one CVLDatabase, opens it at start-up and hands it over here; until that object exists (and in
// tests) whoever opens a database installs it with SetAppDatabase. GetAppDatabase gives NULL
// while none is installed.
#pragma once

#include "base/VLDatabase.h"

CVLDatabase* GetAppDatabase();
// Installs the application's database (NULL: none); returns the one installed before. The
// database stays owned by the caller.
CVLDatabase* SetAppDatabase(CVLDatabase* pDatabase);

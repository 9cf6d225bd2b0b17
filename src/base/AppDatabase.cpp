#include "base/AppDatabase.h"

namespace {

CVLDatabase* g_pAppDatabase = NULL;

}  // namespace

CVLDatabase* GetAppDatabase() { return g_pAppDatabase; }

CVLDatabase* SetAppDatabase(CVLDatabase* pDatabase)
{
    CVLDatabase* pOld = g_pAppDatabase;
    g_pAppDatabase = pDatabase;
    return pOld;
}

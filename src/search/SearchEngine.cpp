#include "search/SearchEngine.h"

#include "base/AppServices.h"

CSearchEngine::~CSearchEngine()
{
    Cleanup();
}

BOOL CSearchEngine::Init()
{
    return LoadTable();
}

void CSearchEngine::Cleanup()
{
    FreeTable();
}

CSearchEngine* GetAppSearchEngine()
{
    return dynamic_cast<CSearchEngine*>(AppServices().owned.pSearchEngine);
}

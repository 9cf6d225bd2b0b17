// The search-engine owner: the one long-lived search service of the application. It owns the
// ROM_LINK table that places every content number (RIN); the topic and word engines join it.
#pragma once

#include "base/RomLinkTable.h"

class CSearchEngine : public CRomLinkTable {
public:
    CSearchEngine() = default;
    ~CSearchEngine() override;

    // Loads the ROM_LINK table and fetches its default records; TRUE when ready. Throws
    // CUserException (the reader sees "cancelled") when the disc is not found or the file holds
    // more than MAX_ROMRECORDS records.
    BOOL Init();
    // Frees the table; the engine is no longer initialised. The destructor does this too.
    void Cleanup();
    BOOL IsInitialised() const { return IsLoaded(); }
};

// The application's search engine; NULL when there is none.
CSearchEngine* GetAppSearchEngine();

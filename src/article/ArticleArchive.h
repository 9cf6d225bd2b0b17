// CArticleArchive: disc 1's article archive ("vl.dat"), kept open between article reads.
//
// Opening the archive means finding the data folder (the settings, the disc in its drive, perhaps
// a prompt) and then the file; an article read needs neither again while nothing has moved. The
// folder is looked up once, and again after anything that may move it (DataFolderGeneration:
// a change of the data-folder settings, a disc change, a reset of the program's services). The
// file is a disc file of the CRomFile chain, so that a disc change closes it and puts it back
// with the others.
//
// The archive is a storage object of the archive library: the decompressor reads a record's
// compressed stream straight from it.
#pragma once

#include "base/RomFile.h"

#include <afxwin.h>
#include <arclib.h>

class CArticleArchive : public ALStorage {
public:
    CArticleArchive();
    ~CArticleArchive() override;

    // The one archive of the program.
    static CArticleArchive& Shared();

    // Makes the archive ready to read: looks the folder up when it may have moved, and opens the
    // file. FALSE when no data folder could be had (the reader cancelled the disc prompt); TRUE
    // otherwise, with IsOpen() telling whether the file could be opened.
    BOOL Prepare();
    // Forgets the folder and closes the file: the next Prepare starts again.
    void Reset();
    // The archive's path as last looked up.
    const CString& GetFilePath() const { return m_strPath; }

    // ALStorage: reading only.
    int Open() override;
    int Create() override;
    int Close() override;
    bool IsOpen() const override;
    int Seek(long position) override;
    long Tell() const override { return m_lPosition; }
    long ReadBuffer(unsigned char* buffer, long count) override;
    long WriteBuffer(const unsigned char* buffer, long count) override;
    long GetSize() const override;

private:
    CRomFile m_file;
    CString m_strPath;
    DWORD m_dwGeneration;  // DataFolderGeneration when the folder was looked up; 0: never
    BOOL m_bFileOpen;
    long m_lPosition;
    long m_lFilePosition;  // where the open file stands (reads that follow on seek no more); -1: unknown
};

#include "article/ArticleArchive.h"

#include "base/DataFolders.h"

namespace {

const char kArchiveName[] = "vl.dat";

}  // namespace

CArticleArchive::CArticleArchive()
    : ALStorage(kArchiveName, 4096, AL_MIXED), m_dwGeneration(0), m_bFileOpen(FALSE), m_lPosition(0),
      m_lFilePosition(-1)
{
}

CArticleArchive::~CArticleArchive() { Close(); }

CArticleArchive& CArticleArchive::Shared()
{
    static CArticleArchive s_archive;
    return s_archive;
}

BOOL CArticleArchive::Prepare()
{
    if (m_dwGeneration == DataFolderGeneration() && m_bFileOpen && !CRomFile::IsReleased())
        return TRUE;
    Reset();
    CString strFolder;
    // May prompt for the disc, and brings back the disc files a disc change released.
    if (!GetDataDir(strFolder, DDT_INFO_DAT11, 1, TRUE))
        return FALSE;
    m_strPath = strFolder + kArchiveName;
    Open();
    // Looked up under the generation that the look-up itself may have moved on (a disc found
    // again reopens the released files).
    m_dwGeneration = DataFolderGeneration();
    return TRUE;
}

void CArticleArchive::Reset()
{
    Close();
    m_dwGeneration = 0;
}

int CArticleArchive::Open()
{
    Close();
    if (m_strPath.IsEmpty() ||
        !m_file.Open(m_strPath, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary))
        return AL_CANT_OPEN_FILE;
    m_bFileOpen = TRUE;
    m_lPosition = 0;
    m_lFilePosition = 0;
    return AL_SUCCESS;
}

int CArticleArchive::Create() { return AL_WRITE_ERROR; }

int CArticleArchive::Close()
{
    if (m_bFileOpen) {
        try {
            m_file.Close();
        } catch (CFileException* e) {
            e->Delete();
        }
        m_bFileOpen = FALSE;
    }
    m_lPosition = 0;
    m_lFilePosition = -1;
    return AL_SUCCESS;
}

bool CArticleArchive::IsOpen() const { return m_bFileOpen != FALSE; }

int CArticleArchive::Seek(long position)
{
    // A block that a damaged index names past the archive's end, or past what a file position of
    // this system holds, is never read (a 32-bit position would wrap to another record).
    if (!m_bFileOpen || position < 0 || position > 0x7FFFFFFFL || position >= GetSize())
        return AL_SEEK_ERROR;
    m_lPosition = position;
    return AL_SUCCESS;
}

long CArticleArchive::ReadBuffer(unsigned char* buffer, long count)
{
    if (!m_bFileOpen)
        return AL_NOT_OPEN;
    if (count <= 0)
        return 0;
    UINT nRead = 0;
    try {
        // A read that follows on from the last one needs no seek (a disc change puts the file
        // back at its position).
        if (m_lFilePosition != m_lPosition) {
            m_lFilePosition = -1;
            m_file.Seek(m_lPosition, CFile::begin);
        }
        nRead = m_file.Read(buffer, static_cast<UINT>(count));
    } catch (CFileException* e) {
        // Closed under it (a disc change whose reopen failed) or a failed read.
        e->Delete();
        m_lFilePosition = -1;
        return AL_READ_ERROR;
    }
    m_lPosition += static_cast<long>(nRead);
    m_lFilePosition = m_lPosition;
    return static_cast<long>(nRead);
}

long CArticleArchive::WriteBuffer(const unsigned char*, long) { return AL_WRITE_ERROR; }

long CArticleArchive::GetSize() const
{
    if (!m_bFileOpen)
        return 0;
    try {
        return static_cast<long>(m_file.GetLength());
    } catch (CFileException* e) {
        e->Delete();
        return 0;
    }
}

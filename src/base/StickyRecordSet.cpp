#include "base/StickyRecordSet.h"

#include "base/DataFolders.h"

#include <cstring>

IMPLEMENT_SERIAL(CStickyNote, CObject, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CStickyRecordSet, CObArray, 1)

namespace {

const char kNotesFile[] = "sticky.nte";

void ReportOpenFailure(const CFileException& error)
{
    CString strText;
    strText.Format("Unable to open sticky note file.\n Error Number = %d", error.m_cause);
    AfxMessageBox(strText, MB_ICONSTOP);
}

// Closes the archive; an exception there is shown with its own text.
void CloseArchive(CArchive& archive)
{
    try {
        archive.Close();
    } catch (CException* e) {
        e->ReportError(MB_ICONEXCLAMATION);
        e->Delete();
    }
}

}  // namespace

// ---- CStickyNote ----

CStickyNote::CStickyNote() : m_pPosition(new WORD[4])
{
    std::memset(m_pPosition, 0, 4 * sizeof(WORD));
}

CStickyNote::~CStickyNote()
{
    delete[] m_pPosition;
}

void CStickyNote::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_strTitle << m_strText << m_strSpare << m_nKey;
        for (int i = 0; i < 4; ++i)
            ar << m_pPosition[i];
    } else {
        ar >> m_strTitle >> m_strText >> m_strSpare >> m_nKey;
        for (int i = 0; i < 4; ++i)
            ar >> m_pPosition[i];
        m_bPlaced = TRUE;
    }
}

BOOL CStickyNote::IsBefore(const CStickyNote& other) const
{
    if (m_nKey != other.m_nKey)
        return FALSE;
    if (m_pPosition[0] != other.m_pPosition[0])
        return m_pPosition[0] < other.m_pPosition[0];
    if (m_pPosition[1] != other.m_pPosition[1])
        return m_pPosition[1] < other.m_pPosition[1];
    return m_pPosition[2] < other.m_pPosition[2];
}

// ---- CStickyRecordSet ----

CStickyRecordSet::CStickyRecordSet()
{
    SetSize(0, 10);
    m_strPath = LocateFile();
    Load();
}

CStickyRecordSet::~CStickyRecordSet()
{
    m_strPath = LocateFile();
    Save();
    for (INT_PTR i = GetSize() - 1; i >= 0; --i)
        delete GetAt(i);
    RemoveAll();
}

CString CStickyRecordSet::LocateFile()
{
    CString strFolder = GetAppProfileString(VL_PRODUCT_SECTION, "SNL", GetProgramDir());
    if (!strFolder.IsEmpty() && strFolder[strFolder.GetLength() - 1] != '\\')
        strFolder += '\\';
    return strFolder + kNotesFile;
}

CStickyNote* CStickyRecordSet::FindNote(LONG nKey)
{
    m_pFound = NULL;
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        CStickyNote* pNote = GetNote(i);
        if (pNote->m_nKey == nKey) {
            m_pFound = pNote;
            break;
        }
    }
    return m_pFound;
}

void CStickyRecordSet::WriteSet()
{
    CArchive archive(&m_file, CArchive::store);
    Serialize(archive);
    CloseArchive(archive);
}

void CStickyRecordSet::Load()
{
    CFileException error;
    if (!m_file.Open(m_strPath, CFile::modeRead, &error)) {
        if (error.m_cause != CFileException::fileNotFound) {
            ReportOpenFailure(error);
            return;
        }
        // The first run: the file is made, holding an empty set.
        if (!m_file.Open(m_strPath, CFile::modeCreate | CFile::modeReadWrite, &error)) {
            ReportOpenFailure(error);
            return;
        }
        try {
            WriteSet();
        } catch (CArchiveException* e) {
            e->Delete();
            AfxMessageBox("The Sticky Note file  has become corrupted.\nYou may have lost the sticky notes in the file!",
                          MB_ICONEXCLAMATION);
        }
        m_file.Close();
        return;
    }
    BOOL bDamaged = FALSE;
    {
        CArchive archive(&m_file, CArchive::load);
        try {
            // The notes one by one, so that a damaged file keeps the ones read before the damage.
            DWORD_PTR nCount = archive.ReadCount();
            for (DWORD_PTR i = 0; i < nCount; ++i) {
                CObject* pObject = archive.ReadObject(RUNTIME_CLASS(CStickyNote));
                if (pObject != NULL)
                    Add(pObject);
            }
        } catch (CArchiveException* e) {
            e->Delete();
            bDamaged = TRUE;
        }
        CloseArchive(archive);
    }
    m_file.Close();
    // What was read is written back at once, without a message.
    if (bDamaged)
        WriteNotesFile(FALSE);
}

void CStickyRecordSet::Save()
{
    WriteNotesFile(TRUE);
}

void CStickyRecordSet::WriteNotesFile(BOOL bReportOpenFailure)
{
    CFileException error;
    if (!m_file.Open(m_strPath, CFile::modeCreate | CFile::modeWrite, &error)) {
        if (bReportOpenFailure)
            ReportOpenFailure(error);
        return;
    }
    try {
        WriteSet();
    } catch (CArchiveException* e) {
        e->Delete();
    }
    m_file.Close();
}

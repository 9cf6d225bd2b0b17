#include "base/RomLinkTable.h"

#include "base/AppServices.h"

#include "base/ShowMessage.h"
#include "base/DataFolders.h"

#include <afxwin.h>

#include <cstring>

namespace {

// Category bits and kinds by digit value.
const LONG kCategoryBits[10] = {0, 0x1, 0x2, 0x4, 0x8, 0x10, 0x20, 0x40, 0x80, 0x100};
const LONG kKinds[10] = {0x100, 0x200, 0x400, 0x800, 0x1000, 0x2000, 0x4000, 0x8000, 0x40000, 0x100000};

// The value of a digit character, or -1 outside '0' to '9'.
int DigitValue(char ch)
{
    return ch >= '0' && ch <= '9' ? ch - '0' : -1;
}

// Size of the working table while parsing.
const DWORD kWorkingTableBytes = MAX_ROMRECORDS * sizeof(RomLinkRecord);

BOOL IsSeparator(char ch)
{
    return ch == '|' || ch == '\r' || ch == '\n';
}

// The fields of ROM_LINK.DAT, one after the other.
class CFieldReader {
public:
    explicit CFieldReader(LPCSTR lpszText) : m_p(lpszText) {}

    // The next field; FALSE when the text has no more.
    BOOL Next(LPCSTR& lpszField, size_t& nLength)
    {
        while (IsSeparator(*m_p))
            ++m_p;
        if (*m_p == '\0')
            return FALSE;
        lpszField = m_p;
        while (*m_p != '\0' && !IsSeparator(*m_p))
            ++m_p;
        nLength = static_cast<size_t>(m_p - lpszField);
        return TRUE;
    }

private:
    LPCSTR m_p;
};

// A field of decimal digits only, with a value that fits 32 bits.
BOOL ParseDecimal(LPCSTR lpszField, size_t nLength, DWORD& dwValue)
{
    if (nLength == 0)
        return FALSE;
    unsigned long long value = 0;
    for (size_t i = 0; i < nLength; ++i) {
        if (lpszField[i] < '0' || lpszField[i] > '9')
            return FALSE;
        value = value * 10 + static_cast<unsigned>(lpszField[i] - '0');
        if (value > 0xFFFFFFFFull)
            return FALSE;
    }
    dwValue = static_cast<DWORD>(value);
    return TRUE;
}

// Reads the six fields after the id into the record; FALSE when one is missing or bad.
BOOL ReadRecordFields(CFieldReader& reader, RomLinkRecord& record)
{
    char* digits[4] = {&record.digit1, &record.digit2, &record.digit3, &record.digit4};
    DWORD values[6];
    BOOL bGood = TRUE;
    for (int i = 0; i < 6; ++i) {
        LPCSTR lpszField;
        size_t nLength;
        if (!reader.Next(lpszField, nLength))
            return FALSE;
        if (!ParseDecimal(lpszField, nLength, values[i]) || (i < 4 && values[i] > 9))
            bGood = FALSE;
    }
    if (!bGood)
        return FALSE;
    for (int i = 0; i < 4; ++i)
        *digits[i] = static_cast<char>('0' + values[i]);
    record.place = (values[4] & 0x00FFFFFFu) | ((values[5] & 0xFFu) << 24);
    return TRUE;
}

}  // namespace

LONG RomLinkCategory(const RomLinkRecord& record)
{
    int n = DigitValue(record.digit1);
    return n < 0 ? 0 : kCategoryBits[n];
}

LONG RomLinkKind(const RomLinkRecord& record)
{
    int n = DigitValue(record.digit2);
    return n < 0 ? 0 : kKinds[n];
}

LONG RomLinkPictureFlag(const RomLinkRecord& record)
{
    return record.digit3 != '0' ? -1 : 0;
}

LONG RomLinkDisc(const RomLinkRecord& record)
{
    return record.digit4 - '0';
}

LONG RomLinkBlock(const RomLinkRecord& record)
{
    // Bits 0-23 moved to the top and back: the sign of bit 23 spreads.
    return static_cast<LONG>(record.place << 8) >> 8;
}

LONG RomLinkBlockCount(const RomLinkRecord& record)
{
    return static_cast<signed char>(record.place >> 24);
}

// ---------------------------------------------------------------------------------------------
// CRomLinkTable

const LONG CRomLinkTable::s_defaultIds[CRomLinkTable::defaultRecordCount] = {1,       2000461, 3000732,
                                                                            4010010, 4020019, 4040006};

const char CRomLinkTable::s_szRomLinkFile[] = "ROM_LINK.DAT";

CRomLinkTable::CRomLinkTable() : m_bLoaded(FALSE), m_dwTableSize(0), m_hTable(NULL)
{
    std::memset(m_defaults, 0, sizeof m_defaults);
}

CRomLinkTable::~CRomLinkTable()
{
    FreeTable();
}

BOOL CRomLinkTable::LoadTable()
{
    // A second load reads the table afresh.
    FreeRomLinkTable();
    std::memset(m_defaults, 0, sizeof m_defaults);
    m_bLoaded = FALSE;

    if (!LoadRomLinkFile())
        return FALSE;
    for (int i = 0; i < defaultRecordCount; ++i)
        GetRomLink(s_defaultIds[i], m_defaults[i]);
    m_bLoaded = TRUE;
    return TRUE;
}

void CRomLinkTable::FreeTable()
{
    FreeRomLinkTable();
    m_bLoaded = FALSE;
}

void CRomLinkTable::FreeRomLinkTable()
{
    if (m_hTable != NULL) {
        GlobalFree(m_hTable);
        m_hTable = NULL;
    }
    m_dwTableSize = 0;
}

BOOL CRomLinkTable::LoadRomLinkFile()
{
    CString strFolder;
    if (!GetDataDir(strFolder, DDT_INFO_DAT11, 1, TRUE))
        AfxThrowUserException();
    const CString strPath = strFolder + s_szRomLinkFile;

    CFile file;
    CFileException error;
    if (!file.Open(strPath, CFile::modeRead | CFile::shareDenyWrite, &error)) {
        error.ReportError();
        return FALSE;
    }

    DWORD dwLength = 0;
    HGLOBAL hText = NULL;
    HGLOBAL hTable = NULL;
    LPSTR lpszText = NULL;
    RomLinkRecord* pTable = NULL;
    // Frees what is held: the text, and the table unless it was kept.
    auto release = [&]() {
        if (hText != NULL) {
            GlobalUnlock(hText);
            GlobalFree(hText);
            hText = NULL;
        }
        if (hTable != NULL) {
            GlobalUnlock(hTable);
            GlobalFree(hTable);
            hTable = NULL;
        }
    };

    DWORD dwParsed = 0;
    try {
        dwLength = file.GetLength();
        hText = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(dwLength) + 1);
        if (hText != NULL)
            lpszText = static_cast<LPSTR>(GlobalLock(hText));
        hTable = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kWorkingTableBytes);
        if (hTable != NULL)
            pTable = static_cast<RomLinkRecord*>(GlobalLock(hTable));
        if (lpszText == NULL || pTable == NULL) {
            release();
            return FALSE;
        }
        file.SeekToBegin();
        if (file.Read(lpszText, dwLength) < dwLength) {
            release();
            return FALSE;
        }
        // A NUL inside the file ends the text, as it ends the parse.
        dwParsed = ParseRomLinkText(lpszText, pTable, strPath);
    } catch (CFileException* e) {
        release();
        e->ReportError();
        e->Delete();
        return FALSE;
    } catch (CException*) {
        release();
        throw;
    }
    if (dwParsed == 0) {
        release();
        return FALSE;
    }

    GlobalUnlock(hText);
    GlobalFree(hText);
    hText = NULL;
    GlobalUnlock(hTable);
    HGLOBAL hShrunk = GlobalReAlloc(hTable, dwParsed, GMEM_MOVEABLE);
    FreeRomLinkTable();
    m_hTable = hShrunk != NULL ? hShrunk : hTable;
    m_dwTableSize = dwParsed;
    file.Close();
    return TRUE;
}

DWORD CRomLinkTable::ParseRomLinkText(LPCSTR lpszText, RomLinkRecord* pTable, LPCSTR lpszFileName)
{
    CFieldReader reader(lpszText);
    int nRecords = 0;   // records read, kept or not
    int nKept = 0;
    int nSkipped = 0;
    LPCSTR lpszField;
    size_t nLength;
    while (reader.Next(lpszField, nLength)) {
        if (++nRecords > MAX_ROMRECORDS) {
            AfxMessageBox("Romlink.dat exceeds MAX_ROMRECORDS.", MB_ICONEXCLAMATION);
            AfxThrowUserException();
        }
        RomLinkRecord record;
        std::memset(&record, 0, sizeof record);
        DWORD dwId = 0;
        BOOL bGood = ParseDecimal(lpszField, nLength, dwId) && dwId <= 0x7FFFFFFFu;
        // The other fields are read even after a bad id, so the next record starts in its place.
        bGood = ReadRecordFields(reader, record) && bGood;
        record.id = static_cast<LONG>(dwId);
        // Lookups are binary searches: an id must be above the one before it.
        if (bGood && nKept > 0 && record.id <= pTable[nKept - 1].id)
            bGood = FALSE;
        if (!bGood) {
            ++nSkipped;
            continue;
        }
        pTable[nKept++] = record;
    }
    if (nSkipped > 0) {
        CString strMessage;
        strMessage.Format(">>> %d bad or out-of-order record(s) skipped in %s", nSkipped,
                          lpszFileName != NULL ? lpszFileName : s_szRomLinkFile);
        ShowMessage(strMessage);
    }
    return static_cast<DWORD>(nKept) * sizeof(RomLinkRecord);
}

BOOL CRomLinkTable::GetRomLink(LONG id, RomLinkRecord& record)
{
    if (m_hTable == NULL)
        return FALSE;
    const RomLinkRecord* pTable = static_cast<const RomLinkRecord*>(GlobalLock(m_hTable));
    if (pTable == NULL)
        return FALSE;
    FindRomLink(pTable, id, record);
    GlobalUnlock(m_hTable);
    return TRUE;
}

BOOL CRomLinkTable::FindRomLink(const RomLinkRecord* pTable, LONG id, RomLinkRecord& record) const
{
    std::memset(&record, 0, sizeof record);
    int nLow = 0;
    int nHigh = GetRomLinkCount() - 1;
    while (pTable != NULL && nLow <= nHigh) {
        int nMid = (nLow + nHigh) / 2;
        if (id == pTable[nMid].id) {
            record = pTable[nMid];
            return TRUE;
        }
        if (id < pTable[nMid].id)
            nHigh = nMid - 1;
        else
            nLow = nMid + 1;
    }
    record = GetDefaultRecord(id);
    return TRUE;
}

const RomLinkRecord& CRomLinkTable::GetDefaultRecord(LONG id) const
{
    if (id < 1000000)
        return m_defaults[0];
    if (id < 3000000)
        return m_defaults[1];
    if (id < 4010000)
        return m_defaults[2];
    if (id < 4020000)
        return m_defaults[3];
    return m_defaults[4];
}

CRomLinkTable* GetAppRomLinkTable()
{
    return AppServices().owned.pSearchEngine;
}

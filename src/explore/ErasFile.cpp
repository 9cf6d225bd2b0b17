#include "explore/ErasFile.h"

#include "base/DataFolders.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "base/RomFile.h"

#include <algorithm>
#include <memory>

CErasFile::CErasFile() : m_limit(limitNone) {}

void CErasFile::Read()
{
    m_eras.clear();
    m_items.clear();
    m_limit = limitNone;
    CString strPath;
    if (!GetDataDir(strPath, DDT_INFO_DAT11, 1, FALSE))
        AfxThrowUserException();
    strPath += ERAS_FILE_NAME;
    CRomFile file;
    CFileException error;
    if (!file.Open(strPath, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, strPath);
    const DWORD dwLength = file.GetLength();
    // Nothing past the limit is parsed: it is not read either.
    const UINT nRead = static_cast<UINT>(std::min<DWORD>(dwLength, ERAS_MAX_FILE + 1));
    std::unique_ptr<char[]> pBuffer(new char[nRead + 1]);
    const UINT nGot = file.Read(pBuffer.get(), nRead);
    file.Close();
    if (nGot != nRead)
        AfxThrowFileException(CFileException::endOfFile, -1, strPath);
    pBuffer[nRead] = '\0';
    Parse(pBuffer.get(), nRead);
}

BOOL CErasFile::Load()
{
    try {
        Read();
        return TRUE;
    } catch (CFileException* e) {
        e->ReportError();
        e->Delete();
    } catch (CUserException* e) {
        e->Delete();
    }
    m_eras.clear();
    m_items.clear();
    return FALSE;
}

void CErasFile::Parse(const char* pData, UINT nLength)
{
    m_eras.clear();
    m_items.clear();
    m_limit = limitNone;
    if (nLength > ERAS_MAX_FILE) {
        nLength = ERAS_MAX_FILE;
        m_limit = limitFileSize;
    }
    const size_t nHeaders = static_cast<size_t>(std::count(pData, pData + nLength, '['));
    m_items.resize(nHeaders * ERAS_SLOTS_PER_ERA);
    m_eras.reserve(nHeaders);

    CString strLine;
    LONG nItem = -1;
    BOOL bHeaderLine = FALSE;  // the line of a header: its end sets no title
    auto stop = [this](Limit limit) {
        if (m_limit == limitNone)
            m_limit = limit;
    };
    for (UINT nPos = 0; nPos < nLength; ++nPos) {
        const char ch = pData[nPos];
        if (ch == '\r' && nPos + 1 < nLength && pData[nPos + 1] == '\n') {
            // The end of a line: an item line's rest is the title of its slot.
            if (!bHeaderLine && !m_eras.empty() && nItem >= 0) {
                if (static_cast<size_t>(nItem) >= m_items.size()) {
                    stop(limitSlots);
                    return;
                }
                m_items[static_cast<size_t>(nItem)].strTitle = strLine;
                ++nItem;
            }
            bHeaderLine = FALSE;
            strLine.Empty();
            ++nPos;  // past the LF
            continue;
        }
        if (ch == '[') {
            strLine.Empty();
            continue;
        }
        if (ch == ']') {
            // The end of a header: the era begins on a slot of its own.
            if (static_cast<size_t>(nItem + 1) >= m_items.size()) {
                stop(limitSlots);
                return;
            }
            ++nItem;
            ERA_ENTRY era;
            era.strTitle = strLine;
            era.nFirst = era.nLast = nItem;
            m_eras.push_back(era);
            m_items[static_cast<size_t>(nItem)] = ERA_ITEM();
            strLine.Empty();
            bHeaderLine = TRUE;
            continue;
        }
        if (ch == '|') {
            // The end of an item's number.
            if (!m_eras.empty() && nItem >= 0) {
                if (static_cast<size_t>(nItem) >= m_items.size()) {
                    stop(limitSlots);
                    return;
                }
                m_eras.back().nLast = nItem;
                LONG nNumber = 0;
                for (int i = 0; i < strLine.GetLength() && strLine[i] >= '0' && strLine[i] <= '9' && nNumber < 100000000; ++i)
                    nNumber = nNumber * 10 + (strLine[i] - '0');
                m_items[static_cast<size_t>(nItem)].nNumber = nNumber;
            }
            strLine.Empty();
            continue;
        }
        if (strLine.GetLength() >= ERAS_MAX_FIELD) {
            stop(limitField);
            return;
        }
        strLine += ch;
    }
}

const ERA_ENTRY* CErasFile::GetEra(int nEra) const
{
    if (nEra < 1 || nEra > GetEraCount())
        return NULL;
    return &m_eras[static_cast<size_t>(nEra - 1)];
}

CString CErasFile::GetTwoLineTitle(int nEra) const
{
    const ERA_ENTRY* pEra = GetEra(nEra);
    if (pEra == NULL)
        return CString();
    const int nColon = pEra->strTitle.Find(':');
    if (nColon < 0)
        return pEra->strTitle;
    return pEra->strTitle.Left(nColon + 1) + '\n' + pEra->strTitle.Mid(nColon + 1);
}

const ERA_ITEM* CErasFile::GetSlot(int nSlot) const
{
    if (nSlot < 0 || nSlot >= GetSlotCount())
        return NULL;
    return &m_items[static_cast<size_t>(nSlot)];
}

int CErasFile::AppendEraItems(int nEra, CReferenceList* pList) const
{
    const ERA_ENTRY* pEra = GetEra(nEra);
    if (pEra == NULL || pList == NULL)
        return 0;
    int nAdded = 0;
    for (LONG nSlot = pEra->nFirst; nSlot <= pEra->nLast; ++nSlot) {
        const ERA_ITEM* pItem = GetSlot(static_cast<int>(nSlot));
        if (pItem == NULL || pItem->nNumber == 0)
            continue;
        CReference* pReference = new CReference(pItem->nNumber, "");
        pReference->SetTitle(pItem->strTitle);
        pList->Append(pReference);
        ++nAdded;
    }
    return nAdded;
}

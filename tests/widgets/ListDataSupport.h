// Fixtures of the list data tests: readers of the show and place list lines over the list-file
// provider, a sorted record set of the random browser's items for the database provider, the
// titles both are filled with, and a provider held in memory for the window tests.
#pragma once

#include "widgets/BaseListData.h"
#include "widgets/VLDBVirtualData.h"
#include "widgets/VLVirtualData.h"

#include <TitleSet.h>

#include <ContentDatabaseWriter.h>
#include <ListFileWriter.h>

#include <afxdao.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace listdata {

// Splits a line at "|" into exactly n fields, the last one taking the rest; FALSE when short.
inline BOOL SplitFields(LPCSTR lpszLine, int n, std::vector<CString>& fields)
{
    fields.clear();
    CString strRest = lpszLine;
    for (int i = 0; i < n - 1; ++i) {
        int nBar = strRest.Find('|');
        if (nBar < 0)
            return FALSE;
        fields.push_back(strRest.Left(nBar));
        strRest = strRest.Mid(nBar + 1);
    }
    fields.push_back(strRest);
    return TRUE;
}

// The show list: code | number | code | title.
class CShowList : public CVLVirtualData {
public:
    CShowList() : CVLVirtualData(FALSE) {}
    // The title of the entry the data file reads next ("" at its end).
    std::string NextTitleRead()
    {
        int nId = 0;
        CString strTitle, strSecond, strThird;
        return ReadEntry(&nId, &strTitle, &strSecond, &strThird) >= 0 ? std::string(strTitle) : std::string();
    }

protected:
    long ReadEntry(int* pId, CString* pTitle, CString*, CString*) override
    {
        CString strLine;
        long nPosition = ReadDataLine(strLine);
        if (nPosition < 0 || !ParseLine(strLine))
            return -1;
        *pId = atoi(m_fields[1]);
        *pTitle = m_fields[3];
        return nPosition;
    }
    BOOL ParseLine(LPCSTR lpszLine) override
    {
        return SplitFields(lpszLine, 4, m_fields) && !m_fields[1].IsEmpty() && m_fields[1].SpanIncluding("0123456789") == m_fields[1];
    }
    std::vector<CString> m_fields;
};

// The atlas's places: code | map | code | section | offset | length | name, and in the distance
// calculator's list (tree mode) latitude | longitude before the name. The map number is the
// identifier, the hit the three values and the co-ordinates the two strings.
class CPlaceList : public CVLVirtualData {
public:
    explicit CPlaceList(BOOL bDistances = FALSE) : CVLVirtualData(bDistances), m_nFields(bDistances ? 9 : 7) {}

protected:
    long ReadEntry(int* pId, CString* pTitle, CString* pSecond, CString* pThird) override
    {
        CString strLine;
        long nPosition = ReadDataLine(strLine);
        if (nPosition < 0 || !ParseLine(strLine))
            return -1;
        *pId = atoi(m_fields[1]);
        for (int i = 0; i < 3; ++i)
            m_nReaderValues[i] = atol(m_fields[3 + static_cast<size_t>(i)]);
        if (m_nFields == 9) {
            *pSecond = m_fields[6];
            *pThird = m_fields[7];
        }
        *pTitle = m_fields.back();
        return nPosition;
    }
    BOOL ParseLine(LPCSTR lpszLine) override { return SplitFields(lpszLine, m_nFields, m_fields); }
    int m_nFields;
    std::vector<CString> m_fields;
};

using testsets::CTitleSet;

struct Row {
    std::string title;
    long id;
};

// n distinct titles of letters (two to four syllables), each with its own identifier, in no
// particular order; the same text never differs only in case.
inline std::vector<Row> MakeRows(int n, int extraLength = 0)
{
    static const char* const syllables[] = {"ba", "ce", "di", "fo", "gu", "ha", "je", "ki", "lo", "mu",
                                            "na", "pe", "ri", "so", "tu", "va", "we", "xi", "yo", "za"};
    std::vector<Row> rows;
    for (int i = 0; i < n; ++i) {
        int k = (i * 7919) % 8000;  // a permutation of 0..7999 spreads the titles
        std::string title = std::string(syllables[k % 20]) + syllables[(k / 20) % 20] + syllables[(k / 400) % 20];
        title[0] = static_cast<char>(title[0] - 'a' + 'A');
        if (i % 3 == 0)
            title += " River";
        title += std::string(static_cast<size_t>(extraLength), 'x');
        rows.push_back({title, 5000 + i});
    }
    return rows;
}

// The rows sorted as the providers order them.
inline std::vector<Row> Sorted(std::vector<Row> rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return CString(a.title.c_str()).CompareNoCase(b.title.c_str()) < 0;
    });
    return rows;
}

// Show list entries for the list-file writer.
inline std::vector<discbuilder::ListFileEntry> ShowEntries(const std::vector<Row>& rows)
{
    std::vector<discbuilder::ListFileEntry> entries;
    for (const Row& row : rows)
        entries.push_back({{"ART", std::to_string(row.id), "GEO"}, row.title});
    return entries;
}

// A provider over rows held in memory, counting what it is asked for.
class CMemoryListData : public CBaseListData {
public:
    explicit CMemoryListData(std::vector<Row> rows) : m_rows(std::move(rows)) {}
    long GetCount() override { return static_cast<long>(m_rows.size()); }
    BOOL GetItem(TVITEM* pItem) override
    {
        long nRow = static_cast<long>(reinterpret_cast<INT_PTR>(pItem->hItem));
        if (nRow < 1 || nRow > GetCount())
            return FALSE;
        ++fetched;
        m_text = m_rows[static_cast<size_t>(nRow - 1)].title.c_str();
        pItem->pszText = m_text.GetBuffer(0);
        pItem->cchTextMax = m_text.GetLength();
        pItem->cChildren = 0;
        pItem->lParam = m_rows[static_cast<size_t>(nRow - 1)].id;
        return TRUE;
    }
    long GetItemData(long nRow) override
    {
        return nRow >= 1 && nRow <= GetCount() ? m_rows[static_cast<size_t>(nRow - 1)].id : 0;
    }
    long EnsureLoaded(long nRow) override { return nRow >= 1 && nRow <= GetCount() ? nRow : 0; }
    long FindTitle(LPCSTR) override { return GetCount() > 0 ? 1 : 0; }

    int fetched = 0;

private:
    std::vector<Row> m_rows;
    CString m_text;
};

}  // namespace listdata

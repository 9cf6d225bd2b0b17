// CDumpContext: the text stream CObject::Dump writes to. afxDump sends its text to the trace
// sink (see AfxSetTraceSink), so dumps appear wherever TRACE output goes.
#pragma once

#include <windef.h>

class CObject;
class CFile;

class CDumpContext {
public:
    explicit CDumpContext(CFile* pFile = NULL);
    CDumpContext(const CDumpContext&) = delete;
    CDumpContext& operator=(const CDumpContext&) = delete;

    // How deep Dump goes into the elements of collections (0: only the count).
    int GetDepth() const { return m_nDepth; }
    void SetDepth(int nNewDepth) { m_nDepth = nNewDepth; }

    CDumpContext& operator<<(LPCSTR lpsz);
    CDumpContext& operator<<(const void* lp);
    CDumpContext& operator<<(const CObject* pOb);
    CDumpContext& operator<<(const CObject& ob);
    CDumpContext& operator<<(BYTE by);
    CDumpContext& operator<<(WORD w);
    CDumpContext& operator<<(UINT u);  // also DWORD
    CDumpContext& operator<<(int n);  // also LONG
    CDumpContext& operator<<(LONGLONG n);
    CDumpContext& operator<<(ULONGLONG n);
    CDumpContext& operator<<(double d);
    void HexDump(LPCSTR lpszLine, BYTE* pby, int nBytes, int nWidth);
    void Flush() {}

private:
    int m_nDepth = 0;
};

extern CDumpContext afxDump;

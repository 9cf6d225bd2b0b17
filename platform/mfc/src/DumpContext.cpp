#include <afx.h>

#include <cstdio>

CDumpContext afxDump;

CDumpContext::CDumpContext(CFile*) {}

CDumpContext& CDumpContext::operator<<(LPCSTR lpsz)
{
    AfxTrace("%s", lpsz ? lpsz : "(NULL)");
    return *this;
}

CDumpContext& CDumpContext::operator<<(const void* lp)
{
    AfxTrace("$%p", lp);
    return *this;
}

CDumpContext& CDumpContext::operator<<(const CObject* pOb)
{
    if (pOb == NULL)
        return *this << "NULL";
    pOb->Dump(*this);
    return *this;
}

CDumpContext& CDumpContext::operator<<(const CObject& ob) { return *this << &ob; }
CDumpContext& CDumpContext::operator<<(BYTE by) { return *this << static_cast<UINT>(by); }
CDumpContext& CDumpContext::operator<<(WORD w) { return *this << static_cast<UINT>(w); }

CDumpContext& CDumpContext::operator<<(UINT u)
{
    AfxTrace("%u", u);
    return *this;
}

CDumpContext& CDumpContext::operator<<(int n)
{
    AfxTrace("%d", n);
    return *this;
}

CDumpContext& CDumpContext::operator<<(LONGLONG n)
{
    AfxTrace("%lld", static_cast<long long>(n));
    return *this;
}

CDumpContext& CDumpContext::operator<<(ULONGLONG n)
{
    AfxTrace("%llu", static_cast<unsigned long long>(n));
    return *this;
}

CDumpContext& CDumpContext::operator<<(double d)
{
    AfxTrace("%f", d);
    return *this;
}

void CDumpContext::HexDump(LPCSTR lpszLine, BYTE* pby, int nBytes, int nWidth)
{
    for (int i = 0; i < nBytes; i += nWidth) {
        *this << lpszLine;
        for (int j = i; j < nBytes && j < i + nWidth; ++j)
            AfxTrace(" %02X", pby[j]);
        *this << "\n";
    }
}

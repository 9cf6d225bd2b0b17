#include "article/PageTextRange.h"

#include <algorithm>

BOOL SpanOverlapsRange(int a, int b, int nOffset, int nLength)
{
    return std::min(a, b) <= nOffset + nLength && nOffset <= std::max(a, b);
}

void PageTextRange::Reset()
{
    nAnchorSection = nMovingSection = -1;
    nAnchorOffset = nMovingOffset = -1;
    nAnchorWordStart = nAnchorWordEnd = 0;
    nMovingWordStart = nMovingWordEnd = 0;
    nLastLine = 0;
}

int PageTextRange::GetStartOffset() const
{
    if (nAnchorSection < nMovingSection)
        return nAnchorWordStart;
    if (nMovingSection < nAnchorSection)
        return nMovingWordStart;
    return std::min(nAnchorWordStart, nMovingWordStart);
}

int PageTextRange::GetEndOffset() const
{
    if (nAnchorSection > nMovingSection)
        return nAnchorWordEnd;
    if (nMovingSection > nAnchorSection)
        return nMovingWordEnd;
    return std::max(nAnchorWordEnd, nMovingWordEnd);
}

BOOL PageTextRange::Contains(int nSection, int nOffset, int nLength) const
{
    if (nAnchorSection < 0 || nMovingSection < 0)
        return FALSE;
    if (nSection < GetFirstSection() || nSection > GetLastSection())
        return FALSE;
    if (nSection == GetFirstSection() && nOffset + nLength < GetStartOffset())
        return FALSE;
    if (nSection == GetLastSection())
        return nOffset <= GetEndOffset();
    return TRUE;
}

void PageTextRange::StartAt(int nSection, int nOffset, int nWordStart, int nWordEnd, int nLine)
{
    nAnchorSection = nMovingSection = nSection;
    nAnchorOffset = nMovingOffset = nOffset;
    nAnchorWordStart = nMovingWordStart = nWordStart;
    nAnchorWordEnd = nMovingWordEnd = nWordEnd;
    nLastLine = nLine;
}

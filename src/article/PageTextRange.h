// PageTextRange: a word-snapped stretch of article text between two ends, as the page's
// selection and the highlighter's drawn range keep it. Each end names a section, the offset the
// mouse was at and the first and last character of the word there (section-relative; the last
// is inclusive). The anchor end stays where the drag began; the moving end follows the mouse.
#pragma once

#include <windows.h>

// True when the stretch from min(a, b) to max(a, b) meets offset .. offset + length (ends
// included); a and b may come in either order.
BOOL SpanOverlapsRange(int a, int b, int nOffset, int nLength);

struct PageTextRange {
    int nAnchorSection = -1;
    int nAnchorOffset = -1;
    int nAnchorWordStart = 0;
    int nAnchorWordEnd = 0;
    int nMovingSection = -1;
    int nMovingOffset = -1;
    int nMovingWordStart = 0;
    int nMovingWordEnd = 0;
    // The line last repainted for the moving end.
    int nLastLine = 0;

    // Both ends gone: sections and offsets -1, words and the last line 0.
    void Reset();
    // Both ends at one place: the section, the offset, the word around it, the line.
    void StartAt(int nSection, int nOffset, int nWordStart, int nWordEnd, int nLine);
    BOOL HasAnchor() const { return nAnchorSection >= 0; }

    int GetFirstSection() const { return nAnchorSection < nMovingSection ? nAnchorSection : nMovingSection; }
    int GetLastSection() const { return nAnchorSection > nMovingSection ? nAnchorSection : nMovingSection; }
    // The first character of the stretch in its first section, and the last (inclusive) in its
    // last section.
    int GetStartOffset() const;
    int GetEndOffset() const;
    // Whether offset .. offset + length of the section meets the stretch: sections outside the
    // first to last are out; in the first section the characters must reach the start, in the
    // last they must begin at or before the end; middle sections are wholly in.
    BOOL Contains(int nSection, int nOffset, int nLength) const;
};

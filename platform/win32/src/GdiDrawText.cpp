// DrawText: formatting text in a rectangle — lines and word wrapping, alignment, tabs, "&"
// prefixes and end ellipses — measured with the DC's font.
#include "GdiInternal.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace gdi {
namespace {

struct Line {
    std::string text;
    int underline = -1; // index of the character with the prefix underline
};

// Removes "&" prefixes: "&&" shows one "&", "&x" shows x underlined.
Line StripPrefix(const std::string& s, bool noPrefix)
{
    Line l;
    if (noPrefix) {
        l.text = s;
        return l;
    }
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size()) {
            ++i;
            if (s[i] != '&')
                l.underline = int(l.text.size());
        } else if (s[i] == '&') {
            continue;
        }
        l.text += s[i];
    }
    return l;
}

// Replaces tabs by spaces up to the next stop of eight average characters.
std::string ExpandTabs(DC& dc, const std::string& s, int& underline)
{
    int stop = 8 * std::max(FontAveCharWidth(dc), 1);
    int space = std::max(TextWidth(dc, " ", 1), 1);
    std::string out;
    int shift = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\t') {
            out += s[i];
            continue;
        }
        int w = TextWidth(dc, out.data(), int(out.size()));
        int next = (w / stop + 1) * stop;
        int n = std::max(1, (next - w + space - 1) / space);
        out.append(size_t(n), ' ');
        if (underline > int(i))
            shift += n - 1;
    }
    if (underline >= 0)
        underline += shift;
    return out;
}

int Width(DC& dc, const std::string& s)
{
    return TextWidth(dc, s.data(), int(s.size()));
}

// Greedy word wrap: as many words as fit; a word wider than the line stays whole on its own line.
std::vector<Line> Wrap(DC& dc, const Line& para, int width)
{
    std::vector<Line> out;
    const std::string& t = para.text;
    size_t pos = 0;
    while (true) {
        size_t lineStart = pos;
        size_t lastFit = std::string::npos; // end of the last word that fits
        size_t i = pos;
        while (i < t.size()) {
            size_t wordEnd = i;
            while (wordEnd < t.size() && t[wordEnd] == ' ')
                ++wordEnd;
            while (wordEnd < t.size() && t[wordEnd] != ' ')
                ++wordEnd;
            int w = TextWidth(dc, t.data() + lineStart, int(wordEnd - lineStart));
            if (w > width && lastFit != std::string::npos)
                break;
            lastFit = wordEnd;
            i = wordEnd;
            if (w > width)
                break;
        }
        if (lastFit == std::string::npos)
            lastFit = t.size();
        Line l;
        l.text = t.substr(lineStart, lastFit - lineStart);
        while (!l.text.empty() && l.text.back() == ' ')
            l.text.pop_back();
        if (para.underline >= int(lineStart) && para.underline < int(lastFit))
            l.underline = para.underline - int(lineStart);
        out.push_back(std::move(l));
        pos = lastFit;
        while (pos < t.size() && t[pos] == ' ')
            ++pos;
        if (pos >= t.size())
            break;
    }
    return out;
}

// Shortens a line so that it and "..." fit the width.
void EndEllipsis(DC& dc, Line& l, int width)
{
    if (Width(dc, l.text) <= width)
        return;
    std::string t = l.text;
    while (!t.empty() && Width(dc, t + "...") > width)
        t.pop_back();
    l.text = t + "...";
    if (l.underline >= int(t.size()))
        l.underline = -1;
}

} // namespace
} // namespace gdi

using namespace gdi;

int WINAPI DrawTextA(HDC hdc, LPCSTR text, int count, LPRECT rc, UINT format)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !rc || (!text && count != 0))
        return 0;
    std::string s = text ? (count < 0 ? std::string(text) : std::string(text, size_t(count))) : std::string();
    bool single = format & DT_SINGLELINE;
    int width = rc->right - rc->left;
    int lineHeight = FontHeight(*dc) + ((format & DT_EXTERNALLEADING) ? FontExternalLeading(*dc) : 0);
    if (s.empty()) {
        // Nothing to draw: the height of a line; a calculated single line keeps that height.
        if (format & DT_CALCRECT) {
            rc->right = rc->left;
            rc->bottom = rc->top + (single ? lineHeight : 0);
        }
        return lineHeight;
    }

    // Paragraphs split at line breaks (a single line shows them as characters).
    std::vector<std::string> paras;
    if (single) {
        paras.push_back(s);
    } else {
        std::string cur;
        for (size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '\r' || s[i] == '\n') {
                paras.push_back(cur);
                cur.clear();
                if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
                    ++i;
            } else {
                cur += s[i];
            }
        }
        if (!cur.empty() || paras.empty())
            paras.push_back(cur);
    }

    std::vector<Line> lines;
    for (auto& p : paras) {
        Line l = StripPrefix(p, format & DT_NOPREFIX);
        if (format & DT_EXPANDTABS)
            l.text = ExpandTabs(*dc, l.text, l.underline);
        if ((format & DT_WORDBREAK) && !single) {
            for (auto& w : Wrap(*dc, l, width))
                lines.push_back(std::move(w));
        } else {
            lines.push_back(std::move(l));
        }
    }
    if (format & DT_END_ELLIPSIS)
        for (auto& l : lines)
            EndEllipsis(*dc, l, width);

    int total = int(lines.size()) * lineHeight;
    int maxWidth = 0;
    for (auto& l : lines)
        maxWidth = std::max(maxWidth, Width(*dc, l.text));

    int top = rc->top;
    if (single && (format & DT_VCENTER))
        top = rc->top + (rc->bottom - rc->top - lineHeight) / 2;
    else if (single && (format & DT_BOTTOM))
        top = rc->bottom - lineHeight;

    if (format & DT_CALCRECT) {
        // The right side moves to bound the widest line, the bottom to bound the last line.
        rc->right = rc->left + maxWidth;
        rc->bottom = rc->top + total;
        return total;
    }

    UINT savedAlign = dc->st.textAlign;
    dc->st.textAlign = TA_LEFT | TA_TOP;
    const RECT* clip = (format & DT_NOCLIP) ? nullptr : rc;
    int y = top;
    for (auto& l : lines) {
        int w = Width(*dc, l.text);
        int x = rc->left;
        if (format & DT_CENTER)
            x = rc->left + (width - w) / 2;
        else if (format & DT_RIGHT)
            x = rc->right - w;
        DrawTextLine(*dc, x, y, l.text.data(), int(l.text.size()), clip, l.underline);
        y += lineHeight;
    }
    dc->st.textAlign = savedAlign;
    if (single && (format & (DT_VCENTER | DT_BOTTOM)))
        return top - rc->top + total;
    return total;
}

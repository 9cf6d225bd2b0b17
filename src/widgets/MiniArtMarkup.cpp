#include "widgets/MiniArtMarkup.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

const char kBreakChars[] = " ;:!?\n)";

bool IsOneOf(char ch, const char* set)
{
    return ch != '\0' && std::strchr(set, ch) != nullptr;
}

int FindOneOf(const CString& str, const char* set)
{
    for (int i = 0; i < str.GetLength(); ++i)
        if (IsOneOf(str[i], set))
            return i;
    return -1;
}

struct TAG_EVENT {
    const char* name;
    DWORD dwEvent;
};

const TAG_EVENT kTags[] = {
    {"B", MINIART_BOLD_ON},          {"STRONG", MINIART_BOLD_ON},     {"TITLE", MINIART_BOLD_ON},
    {"HEAD", MINIART_BOLD_ON},       {"/B", MINIART_BOLD_OFF},        {"/STRONG", MINIART_BOLD_OFF},
    {"/TITLE", MINIART_BOLD_OFF},    {"/HEAD", MINIART_BOLD_OFF},     {"I", MINIART_ITALIC_ON},
    {"EM", MINIART_ITALIC_ON},       {"/I", MINIART_ITALIC_OFF},      {"/EM", MINIART_ITALIC_OFF},
    {"RED", MINIART_RED_ON},         {"/RED", MINIART_RED_OFF},       {"U", MINIART_UNDERLINE_ON},
    {"/U", MINIART_UNDERLINE_OFF},
};

const DWORD kOnEvents = MINIART_BOLD_ON | MINIART_ITALIC_ON | MINIART_RED_ON | MINIART_UNDERLINE_ON;

// A line end in a word stands for a blank, as between words of running text: "\r\n" or "\n"
// becomes one blank unless a blank stands before it already.
CString LineEndsToBlanks(const CString& token)
{
    CString out;
    for (int i = 0; i < token.GetLength(); ++i) {
        char ch = token[i];
        if (ch == '\r')
            continue;
        if (ch == '\n') {
            if (out.IsEmpty() || out[out.GetLength() - 1] != ' ')
                out += ' ';
            continue;
        }
        out += ch;
    }
    return out;
}

bool IsBlankOnly(const CString& str)
{
    for (int i = 0; i < str.GetLength(); ++i)
        if (str[i] != ' ' && str[i] != '\t')
            return false;
    return true;
}

}  // namespace

CMiniArtTokenizer::CMiniArtTokenizer(const CString& strText) : m_strText(strText) {}

CString CMiniArtTokenizer::NextToken()
{
    const int nLeft = m_strText.GetLength() - m_nPos;
    if (nLeft <= 0)
        return CString();
    LPCSTR rest = static_cast<LPCSTR>(m_strText) + m_nPos;
    int n = -1;
    for (int i = 0; i < nLeft; ++i)
        if (IsOneOf(rest[i], kBreakChars)) {
            n = i;
            break;
        }
    if (n < 0)
        n = nLeft - 1;
    else if (n + 1 < nLeft && rest[n + 1] == ')')
        n += 2;
    n = std::min(n + 1, nLeft);
    CString token(rest, n);

    int c = token.Find('|');
    if (c == 0) {
        m_nPos += 1;
        return CString("|");
    }
    if (c > 0) {
        // The word ends before the "|", which then comes as a token of its own.
        token = token.Left(c);
        n = c;
    }
    int a = FindOneOf(token, "<&#");
    int b = FindOneOf(token, ">;");
    if (a >= 1 && b > a) {
        m_nPos += a;
        return token.Left(a);
    }
    if (a == 0 && b > a) {
        m_nPos += b + 1;
        return token.Left(b + 1);
    }
    m_nPos += n;
    return token;
}

DWORD MiniArtTagEvent(const CString& strName)
{
    for (const TAG_EVENT& tag : kTags)
        if (strName == tag.name)
            return tag.dwEvent;
    return 0;
}

DWORD MiniArtApplyEvents(DWORD dwState, DWORD dwEvents)
{
    if (dwEvents & MINIART_BOLD_OFF)
        dwState &= ~DWORD(MINIART_STATE_BOLD);
    if (dwEvents & MINIART_ITALIC_OFF)
        dwState &= ~DWORD(MINIART_STATE_ITALIC);
    if (dwEvents & MINIART_UNDERLINE_OFF)
        dwState &= ~DWORD(MINIART_STATE_UNDERLINE);
    if (dwEvents & MINIART_RED_OFF)
        dwState &= ~DWORD(MINIART_STATE_RED);
    if (dwEvents & MINIART_BOLD_ON)
        dwState |= MINIART_STATE_BOLD;
    if (dwEvents & MINIART_ITALIC_ON)
        dwState |= MINIART_STATE_ITALIC;
    if (dwEvents & MINIART_UNDERLINE_ON)
        dwState |= MINIART_STATE_UNDERLINE;
    if (dwEvents & MINIART_RED_ON)
        dwState |= MINIART_STATE_RED;
    return dwState;
}

void ParseMiniArtMarkup(const CString& strText, std::vector<MINIART_RUN>& runs, std::vector<CString>& words)
{
    runs.clear();
    words.clear();
    if (strText.IsEmpty())
        return;
    runs.reserve(size_t(strText.GetLength() / 3 + 1));

    CMiniArtTokenizer tokenizer(strText);
    MINIART_RUN next;   // the run the next word takes; tags before it mark it
    DWORD dwCarried = 0;  // the style word of the nearest tag group
    DWORD dwState = 0;    // what stands in force
    for (;;) {
        CString token = tokenizer.NextToken();
        if (token.IsEmpty())
            break;

        if (token.Find('\n') >= 0) {
            CString converted = LineEndsToBlanks(token);
            // A line end between blanks or at a paragraph's start adds nothing.
            if (IsBlankOnly(converted) &&
                (runs.empty() || words[size_t(runs.back().nWord)].IsEmpty() ||
                 words[size_t(runs.back().nWord)].Right(1) == " "))
                continue;
            token = converted;
            next.nBreak = MINIART_BREAK_LINE;
        }

        const int nLen = token.GetLength();
        if (token[0] == '<' && token.Find('>') == nLen - 1) {
            CString name = token.Mid(1, nLen - 2);
            name.MakeUpper();
            if (name == "HTML" || name == "/HTML" || name == "BODY" || name == "/BODY")
                continue;
            DWORD dwEvent = MiniArtTagEvent(name);
            if (dwEvent != 0) {
                if (dwEvent & kOnEvents)
                    next.dwSwitchedOn |= dwEvent;
                else
                    next.dwSwitchedOff |= dwEvent;
                next.dwStyle |= dwEvent;
                dwCarried = next.dwStyle;
                continue;
            }
            if (name == "P" || name == "/P") {
                if (runs.empty())
                    continue;
                token.Empty();
                runs.back().nBreak = MINIART_BREAK_PARAGRAPH;
            }
        } else if (token.Find('&') >= 0 && token.Find(';') == nLen - 1) {
            int amp = token.Find('&');
            CString name = token.Mid(amp + 1, nLen - amp - 2);
            if (!name.IsEmpty() && name[0] == '#') {
                long code = std::strtol(static_cast<LPCSTR>(name) + 1, nullptr, 10) % 256;
                if (code < 0)
                    code += 256;
                if (code == 0)
                    continue;
                token = CString(char(code));
            } else if (name == "reg") {
                token = CString('\xAE');
            } else if (name == "copy") {
                token = CString('\xA9');
            } else {
                continue;
            }
        }

        next.dwStyle = dwCarried;
        dwState = MiniArtApplyEvents(dwState, next.dwSwitchedOn | next.dwSwitchedOff);
        next.dwState = dwState;
        next.nWord = int(words.size());
        words.push_back(token);
        runs.push_back(next);
        next = MINIART_RUN();
    }

    // A closing paragraph tag at the end adds no empty line.
    if (runs.size() > 1)
        runs[runs.size() - 2].nBreak = MINIART_BREAK_NONE;
}

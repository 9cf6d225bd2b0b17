#include "search/SpellCheckDlg.h"

#include "search/KeywordIndex.h"
#include "search/KeywordWildcards.h"
#include "search/QueryParser.h"

#include <algorithm>
#include <cstring>

namespace {

const int kMargin = 8;
const int kLabelHeight = 18;
const int kEditHeight = 22;
const int kGap = 6;

// The characters between the words of a query.
bool IsWordSeparator(char ch)
{
    return ch != '\0' && std::strchr(" ,:;|&!\"'()[]{}/@%^<=>_`", ch) != NULL;
}

// Skippable at pos: a separator, a '.' that ends the text, or a '-', '+' or '$' before no digit.
bool IsSkipped(LPCSTR psz, int pos)
{
    const char ch = psz[pos];
    if (IsWordSeparator(ch))
        return true;
    if (ch == '.' && (std::strcmp(psz + pos, ". ") == 0 || std::strcmp(psz + pos, ".") == 0))
        return true;
    return (ch == '-' || ch == '+' || ch == '$') && !keyword_terms::IsDigit(psz[pos + 1]);
}

std::string UpperWord(LPCSTR psz, int nLength)
{
    std::string word(psz, static_cast<size_t>(nLength));
    for (char& ch : word)
        ch = keyword_terms::UpperFold(ch);
    return word;
}

CString UpperQuery(const CString& strQuery)
{
    CString strUpper = strQuery;
    for (int i = 0; i < strUpper.GetLength(); ++i)
        strUpper.SetAt(i, keyword_terms::UpperFold(strUpper[i]));
    return strUpper;
}

bool IsLower(char ch)
{
    return ch >= 'a' && ch <= 'z';
}

char ToLower(char ch)
{
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

// A picture button sized to its normal picture.
BOOL MakeButton(CDibButton& button, CWnd* pParent, LPCSTR pszText, UINT nID, UINT nNormal, UINT nPressed)
{
    if (!button.Create(pszText, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 10, 10), pParent, nID))
        return FALSE;
    if (!button.LoadStateBitmaps(nNormal, nPressed))
        return FALSE;
    button.SizeToBitmap();
    return TRUE;
}

}  // namespace

IMPLEMENT_DYNAMIC(CSpellCheckDlg, CGenericTabWinDialog)

BEGIN_MESSAGE_MAP(CSpellCheckDlg, CGenericTabWinDialog)
    ON_WM_PAINT()
    ON_COMMAND(IDOK, OnGo)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_LBN_SELCHANGE(IDC_SPELL_LIST, OnListSelChange)
    ON_LBN_DBLCLK(IDC_SPELL_LIST, OnListDoubleClick)
END_MESSAGE_MAP()

CSpellCheckDlg::CSpellCheckDlg(const CRect& rectResultList, CWnd* pResultList)
    : CGenericTabWinDialog("SPELL CHECK"), m_rectResultList(rectResultList)
{
    if (pResultList != NULL && pResultList->GetSafeHwnd() != NULL)
        pResultList->ClientToScreen(&m_rectResultList);
}

CSpellCheckDlg::~CSpellCheckDlg()
{
    if (m_list.GetSafeHwnd() != NULL)
        m_list.DestroyWindow();
    if (m_edit.GetSafeHwnd() != NULL)
        m_edit.DestroyWindow();
}

BOOL CSpellCheckDlg::CheckQuery(CString& strQuery)
{
    m_misspelt.clear();
    m_bChanged = FALSE;
    m_nCurrent = 0;
    m_strQuery = strQuery;
    FindMisspelt(m_strQuery);
    if (m_misspelt.empty())
        return FALSE;
    if (RunTabDialog() != IDOK || !m_bChanged)
        return FALSE;
    strQuery = m_strQuery;
    return TRUE;
}

void CSpellCheckDlg::FindMisspelt(LPCSTR pszText)
{
    int nCode = 0, nNumber = 0;
    CString strLeft, strRight;
    if (SplitAtOperatorWord(pszText, nCode, nNumber, strLeft, strRight)) {
        FindMisspelt(strLeft);
        if (nCode != QUERY_SWITCH)  // "/t", "/d5": switches, not words
            FindMisspelt(strRight);
        return;
    }
    const int nLength = static_cast<int>(std::strlen(pszText));
    int pos = 0;
    while (pos < nLength) {
        if (pszText[pos] == '(') {
            // A group: its own operators are no words.
            int nGroup = 0;
            NextTermLength(pszText, pos, &nGroup);
            // An unclosed group (the parser reports it) runs to the end: its last character is
            // a word's, not a parenthesis.
            const bool bClosed = nGroup >= 2 && pszText[pos + nGroup - 1] == ')';
            const int nInner = std::max(nGroup - (bClosed ? 2 : 1), 0);
            FindMisspelt(CString(pszText + pos + 1, nInner));
            pos += std::max(nGroup, 1);
            continue;
        }
        if (IsSkipped(pszText, pos)) {
            ++pos;
            continue;
        }
        int nWord = 0;
        if (!NextTermLength(pszText, pos, &nWord) || nWord <= 0) {
            ++pos;  // a character that begins no word
            continue;
        }
        const std::string word = UpperWord(pszText + pos, nWord);
        pos += nWord;
        if (word.find_first_of("*?#") != std::string::npos)
            continue;
        const std::string normal = keyword_terms::NormalizeTerm(word);
        if (normal.empty() || IsStopWord(normal.c_str()) || FindKeyword(normal.c_str(), NULL))
            continue;
        if (std::any_of(m_misspelt.begin(), m_misspelt.end(), [&](const Misspelt& m) { return m.word == word; }))
            continue;
        RESULT_SET* pSuggestions = SuggestSpellings(normal.c_str());
        if (pSuggestions == NULL)
            continue;
        Misspelt misspelt;
        misspelt.word = word;
        for (const EXPANSION_WORD& suggestion : GetExpansionWords(pSuggestions))
            misspelt.suggestions.push_back(suggestion.word);
        if (!misspelt.suggestions.empty())
            m_misspelt.push_back(std::move(misspelt));
    }
}

std::vector<int> CSpellCheckDlg::FindWholeWord(const CString& strUpperQuery, const std::string& word)
{
    std::vector<int> positions;
    if (word.empty())
        return positions;
    LPCSTR psz = strUpperQuery;
    const int nLength = strUpperQuery.GetLength();
    const int nWord = static_cast<int>(word.size());
    for (int i = 0; i + nWord <= nLength; ++i) {
        if (std::strncmp(psz + i, word.c_str(), word.size()) != 0)
            continue;
        if (i > 0 && !IsWordSeparator(psz[i - 1]))
            continue;
        if (i + nWord < nLength && !IsWordSeparator(psz[i + nWord]))
            continue;
        positions.push_back(i);
        i += nWord - 1;
    }
    return positions;
}

CString CSpellCheckDlg::MatchCase(const CString& strReplacement, const CString& strOccurrence)
{
    CString strOut = strReplacement;
    if (strOccurrence.IsEmpty())
        return strOut;
    if (IsLower(strOccurrence[0])) {
        for (int i = 0; i < strOut.GetLength(); ++i)
            strOut.SetAt(i, ToLower(strOut[i]));
    } else if (strOccurrence.GetLength() > 1 && IsLower(strOccurrence[1])) {
        for (int i = 1; i < strOut.GetLength(); ++i)
            strOut.SetAt(i, ToLower(strOut[i]));
    }
    return strOut;
}

void CSpellCheckDlg::ReplaceCurrentWord()
{
    if (m_nCurrent < 0 || m_nCurrent >= static_cast<int>(m_misspelt.size()))
        return;
    CString strReplacement;
    if (m_edit.GetSafeHwnd() != NULL)
        m_edit.GetWindowText(strReplacement);
    strReplacement = strReplacement.Left(SPELL_MAX_REPLACEMENT);
    const std::string& word = m_misspelt[static_cast<size_t>(m_nCurrent)].word;
    const std::vector<int> positions = FindWholeWord(UpperQuery(m_strQuery), word);
    if (positions.empty())
        return;
    CString strOut;
    int nFrom = 0;
    const int nWord = static_cast<int>(word.size());
    for (int nAt : positions) {
        strOut += m_strQuery.Mid(nFrom, nAt - nFrom);
        strOut += MatchCase(strReplacement, m_strQuery.Mid(nAt, nWord));
        nFrom = nAt + nWord;
    }
    strOut += m_strQuery.Mid(nFrom);
    m_strQuery = strOut;
    m_bChanged = TRUE;
}

BOOL CSpellCheckDlg::CreateControls()
{
    InitControls();
    const LONG nUnits = ::GetDialogBaseUnits();
    const int cx = 147 * LOWORD(nUnits) / 4;
    const int cy = 138 * HIWORD(nUnits) / 8;
    SetWindowPos(NULL, m_rectResultList.left, m_rectResultList.top, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    m_labelFont.CreatePointFont(80, "MS Sans Serif");
    MakeButton(m_btnGo, this, "Go", IDOK, 0x201, 0x200);
    MakeButton(m_btnCancel, this, "Cancel", IDCANCEL, 0x1FF, 0x1FE);
    m_edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(0, 0, 10, 10), this, IDC_SPELL_EDIT);
    m_edit.LimitText(SPELL_MAX_REPLACEMENT);
    if (m_labelFont.GetSafeHandle() != NULL)
        m_edit.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_labelFont.GetSafeHandle()), FALSE);
    m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, CRect(0, 0, 10, 10), this,
                  IDC_SPELL_LIST);
    if (m_labelFont.GetSafeHandle() != NULL)
        m_list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_labelFont.GetSafeHandle()), FALSE);
    CRect client;
    GetClientRect(&client);
    LayOut(client.Width(), client.Height());
    ShowCurrentWord();
    return TRUE;
}

void CSpellCheckDlg::LayOut(int cx, int cy)
{
    m_rectLabel.SetRect(kMargin, kGap, cx - kMargin, kGap + kLabelHeight);
    int nButtonsTop = cy - kMargin;
    if (m_btnGo.GetSafeHwnd() != NULL) {
        CRect r;
        m_btnGo.GetWindowRect(&r);
        nButtonsTop = std::min(nButtonsTop, cy - kMargin - r.Height());
        m_btnGo.SetWindowPos(NULL, kMargin, cy - kMargin - r.Height(), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_btnCancel.GetSafeHwnd() != NULL) {
        CRect r;
        m_btnCancel.GetWindowRect(&r);
        nButtonsTop = std::min(nButtonsTop, cy - kMargin - r.Height());
        m_btnCancel.SetWindowPos(NULL, cx - kMargin - r.Width(), cy - kMargin - r.Height(), 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const int nEditTop = m_rectLabel.bottom + kGap;
    if (m_edit.GetSafeHwnd() != NULL)
        m_edit.SetWindowPos(NULL, kMargin, nEditTop, cx - 2 * kMargin, kEditHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    const int nListTop = nEditTop + kEditHeight + kGap;
    if (m_list.GetSafeHwnd() != NULL)
        m_list.SetWindowPos(NULL, kMargin, nListTop, cx - 2 * kMargin, std::max(nButtonsTop - kGap - nListTop, 0),
                            SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSpellCheckDlg::ShowCurrentWord()
{
    if (m_nCurrent < 0 || m_nCurrent >= static_cast<int>(m_misspelt.size()))
        return;
    const Misspelt& current = m_misspelt[static_cast<size_t>(m_nCurrent)];
    m_strLabel = "Words that match: ";
    m_strLabel += current.word.c_str();
    if (m_list.GetSafeHwnd() != NULL) {
        m_list.ResetContent();
        for (const std::string& suggestion : current.suggestions)
            m_list.AddString(suggestion.c_str());
        m_list.SetCurSel(0);
    }
    if (m_edit.GetSafeHwnd() != NULL)
        m_edit.SetWindowText(current.suggestions.empty() ? "" : current.suggestions.front().c_str());
    if (GetSafeHwnd() != NULL)
        InvalidateRect(&m_rectLabel);
}

void CSpellCheckDlg::OnPaint()
{
    CPaintDC dc(this);
    PaintFramedGround(&dc);
    CFont* pOldFont = m_labelFont.GetSafeHandle() != NULL ? dc.SelectObject(&m_labelFont) : NULL;
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    dc.DrawText(m_strLabel, &m_rectLabel, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    dc.SetBkMode(nOldMode);
    if (pOldFont != NULL)
        dc.SelectObject(pOldFont);
}

void CSpellCheckDlg::OnGo()
{
    ReplaceCurrentWord();
    ++m_nCurrent;
    if (m_nCurrent < static_cast<int>(m_misspelt.size()))
        ShowCurrentWord();
    else
        EndTabDialog(IDOK);
}

void CSpellCheckDlg::OnCancel()
{
    EndTabDialog(IDCANCEL);
}

void CSpellCheckDlg::OnListSelChange()
{
    const int nSel = m_list.GetCurSel();
    if (nSel == LB_ERR)
        return;
    CString strWord;
    m_list.GetText(nSel, strWord);
    m_edit.SetWindowText(strWord);
}

void CSpellCheckDlg::OnListDoubleClick()
{
    OnListSelChange();
    OnGo();
}

// Dialog data exchange and validation: values between member variables and controls, the
// class library's messages for values that do not parse or are out of range.
#include <afxwin.h>

#include <cerrno>
#include <climits>
#include <limits>
#include <cstdio>
#include <cstdlib>
#include <string>

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND h = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), nIDC);
    if (h == NULL) {
        TRACE("Error: no data exchange control with ID %d.\n", nIDC);
        AfxThrowNotSupportedException();
    }
    m_hWndLastControl = h;
    m_bEditLastControl = FALSE;
    return h;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND h = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return h;
}

void CDataExchange::Fail()
{
    if (!m_bSaveAndValidate) {
        TRACE("Warning: CDataExchange::Fail called when not validating.\n");
    } else if (m_hWndLastControl != NULL) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

namespace {

std::string WindowText(HWND h)
{
    int n = ::GetWindowTextLengthA(h);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    ::GetWindowTextA(h, s.data(), n + 1);
    s.resize(std::char_traits<char>::length(s.c_str()));
    return s;
}

[[noreturn]] void FailWith(CDataExchange* pDX, const std::string& message)
{
    AfxMessageBox(message.c_str(), MB_ICONEXCLAMATION);
    pDX->Fail();
}

// Parses a whole number with optional spaces around it; false when it does not parse or
// leaves [lo, hi].
bool ParseSigned(const std::string& text, long long lo, long long hi, long long& out)
{
    const char* p = text.c_str();
    while (*p == ' ' || *p == '\t')
        ++p;
    if (!*p)
        return false;
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(p, &end, 10);
    if (end == p || errno == ERANGE)
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end || v < lo || v > hi)
        return false;
    out = v;
    return true;
}

bool ParseUnsigned(const std::string& text, unsigned long long hi, unsigned long long& out)
{
    const char* p = text.c_str();
    while (*p == ' ' || *p == '\t')
        ++p;
    if (!*p || *p == '-')
        return false;
    char* end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(p, &end, 10);
    if (end == p || errno == ERANGE)
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end || v > hi)
        return false;
    out = v;
    return true;
}

template <typename T>
void TextSigned(CDataExchange* pDX, int nIDC, T& value)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long long v = 0;
        if (!ParseSigned(WindowText(h), std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), v))
            FailWith(pDX, "Please enter an integer.");
        value = static_cast<T>(v);
    } else {
        ::SetWindowTextA(h, std::to_string(static_cast<long long>(value)).c_str());
    }
}

template <typename T>
void TextUnsigned(CDataExchange* pDX, int nIDC, T& value)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        unsigned long long v = 0;
        if (!ParseUnsigned(WindowText(h), std::numeric_limits<T>::max(), v))
            FailWith(pDX, "Please enter a positive integer.");
        value = static_cast<T>(v);
    } else {
        ::SetWindowTextA(h, std::to_string(static_cast<unsigned long long>(value)).c_str());
    }
}

template <typename T>
void TextReal(CDataExchange* pDX, int nIDC, T& value, int digits)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        std::string text = WindowText(h);
        const char* p = text.c_str();
        while (*p == ' ')
            ++p;
        char* end = nullptr;
        double v = std::strtod(p, &end);
        while (end && *end == ' ')
            ++end;
        if (!*p || end == p || (end && *end))
            FailWith(pDX, "Please enter a number.");
        value = static_cast<T>(v);
    } else {
        char text[64];
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        ::SetWindowTextA(h, text);
    }
}

}  // namespace

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = WindowText(h).c_str();
    else
        ::SetWindowTextA(h, value);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value) { TextSigned(pDX, nIDC, value); }
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value) { TextSigned(pDX, nIDC, value); }
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, short& value) { TextSigned(pDX, nIDC, value); }
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) { TextUnsigned(pDX, nIDC, value); }
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) { TextUnsigned(pDX, nIDC, value); }
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, double& value) { TextReal(pDX, nIDC, value, 15); }
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, float& value) { TextReal(pDX, nIDC, value, 6); }

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(h, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(h, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group runs from nIDC to the next control with WS_GROUP; its radio buttons count.
    int index = 0;
    do {
        if (::SendMessageA(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    value = index;
            } else {
                ::SendMessageA(h, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++index;
        }
        h = ::GetWindow(h, GW_HWNDNEXT);
    } while (h != NULL && !(::GetWindowLongA(h, GWL_STYLE) & WS_GROUP));
}

void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(h, LB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(h, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(h, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void AFXAPI DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        LRESULT sel = ::SendMessageA(h, LB_GETCURSEL, 0, 0);
        if (sel < 0) {
            value = "";
            return;
        }
        LRESULT len = ::SendMessageA(h, LB_GETTEXTLEN, static_cast<WPARAM>(sel), 0);
        std::string s(static_cast<size_t>(len > 0 ? len : 0) + 1, '\0');
        ::SendMessageA(h, LB_GETTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(s.data()));
        value = s.c_str();
    } else if (::SendMessageA(h, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(static_cast<LPCSTR>(value))) < 0) {
        ::SendMessageA(h, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
}

void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        // The edit's text when the combo box has one; otherwise the selected item's.
        std::string text = WindowText(h);
        if (text.empty()) {
            LRESULT sel = ::SendMessageA(h, CB_GETCURSEL, 0, 0);
            if (sel >= 0) {
                LRESULT len = ::SendMessageA(h, CB_GETLBTEXTLEN, static_cast<WPARAM>(sel), 0);
                std::string s(static_cast<size_t>(len > 0 ? len : 0) + 1, '\0');
                ::SendMessageA(h, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(s.data()));
                text = s.c_str();
            }
        }
        value = text.c_str();
    } else if (::SendMessageA(h, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(static_cast<LPCSTR>(value))) < 0) {
        ::SetWindowTextA(h, value);
    }
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != NULL)
        return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(h)) {
        TRACE("Error: DDX_Control could not attach control %d.\n", nIDC);
        AfxThrowNotSupportedException();
    }
}

void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (pDX->m_bSaveAndValidate) {
        if (value.GetLength() > nChars)
            FailWith(pDX, "Please enter no more than " + std::to_string(nChars) + " characters.");
    } else if (pDX->m_hWndLastControl != NULL && pDX->m_bEditLastControl) {
        ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
    }
}

void AFXAPI DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        FailWith(pDX, "Please enter an integer between " + std::to_string(minVal) + " and " + std::to_string(maxVal) + ".");
}

void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    DDV_MinMaxLong(pDX, value, minVal, maxVal);
}

void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        FailWith(pDX, "Please enter a positive integer between " + std::to_string(minVal) + " and " +
                          std::to_string(maxVal) + ".");
}

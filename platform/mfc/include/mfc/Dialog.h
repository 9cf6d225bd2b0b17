// CDialog, the class library's dialog window, and dialog data exchange: DDX_ functions move
// values between member variables and controls, DDV_ functions check them, and a failed
// check tells the user, puts the focus on the control and stops the exchange.
#pragma once

#include <mfc/Wnd.h>
#include <mfc/String.h>

class CDialog;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;  // TRUE: controls to variables, with checks
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = NULL;
    BOOL m_bEditLastControl = FALSE;

    // The control with this id (the exchange fails loudly when there is none).
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Puts the focus on the last prepared control (selecting an edit's text) and throws
    // CUserException to end the exchange.
    [[noreturn]] void Fail();
};

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    ~CDialog() override;

    // Modeless
    virtual BOOL Create(LPCSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    virtual BOOL CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd = NULL);
    // Modal
    BOOL InitModalIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd = NULL);
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void SetDefID(UINT nID);
    DWORD GetDefID() const;
    void MapDialogRect(LPRECT lpRect) const;

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* pMsg) override;

    LPCSTR m_lpszTemplateName;
    UINT m_nIDHelp;
    LPCDLGTEMPLATEA m_lpDialogTemplate;
    CWnd* m_pParentWnd;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL CreateFrom(LPCDLGTEMPLATEA lpTemplate, LPCSTR lpszName, CWnd* pParentWnd);
    DECLARE_MESSAGE_MAP()
};

// Text: strings and numbers (a number that does not parse fails with the class library's message).
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, short& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, float& value);
// Buttons: a check box's state; the index of the checked radio button of the group that
// starts with nIDC (-1: none).
void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// List and combo boxes: the selection's index or text.
void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void AFXAPI DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
// Attaches a control object to the dialog's control (once).
void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// Checks; when loading, DDV_MaxChars limits the edit instead.
void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void AFXAPI DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);

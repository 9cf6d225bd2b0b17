// CCmdTarget and message maps: the tables that connect window messages, commands, control
// notifications and their reflections to member functions; CCmdUI, the state updater of menu
// items and controls.
#pragma once

#include <afx.h>

class CCmdTarget;
class CCmdUI;
class CWnd;
class CMenu;
class CDC;

// Offset of the messages a parent reflects back to the control that sent them.
#define WM_REFLECT_BASE 0xBC00

// Marks message handlers in class declarations.
#define afx_msg
// Framework-private messages
#define WM_QUERYAFXWNDPROC 0x0360
#define WM_SIZEPARENT 0x0361
#define WM_SETMESSAGESTRING 0x0362
#define WM_IDLEUPDATECMDUI 0x0363
#define WM_INITIALUPDATE 0x0364
#define WM_COMMANDHELP 0x0365
#define WM_HELPHITTEST 0x0366
#define WM_EXITHELPMODE 0x0367
#define WM_RECALCPARENT 0x0368
#define WM_KICKIDLE 0x036A
#define WM_SYSTIMER 0x0118
// Reflected WM_CTLCOLOR carries an AFX_CTLCOLOR in lParam.
#define WM_CTLCOLOR 0x0019

// Notification codes that OnCmdMsg understands besides control notifications.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))

typedef void (CCmdTarget::*AFX_PMSG)();

enum AfxSig : UINT_PTR {
    AfxSig_end = 0,
    AfxSig_v_v,        // void ()
    AfxSig_v_u,        // void (UINT)                  command ranges
    AfxSig_cmdui,      // void (CCmdUI*)
    AfxSig_notify,     // void (NMHDR*, LRESULT*)
    AfxSig_b_v,        // BOOL ()
    AfxSig_l_w_l,      // LRESULT (WPARAM, LPARAM)
    AfxSig_i_CS,       // int (LPCREATESTRUCT)
    AfxSig_b_CS,       // BOOL (LPCREATESTRUCT)
    AfxSig_v_u_i_i,    // void (UINT, int, int)
    AfxSig_v_i_i,      // void (int, int)
    AfxSig_v_W,        // void (CWnd*)
    AfxSig_v_u_W_b,    // void (UINT, CWnd*, BOOL)
    AfxSig_v_b_h,      // void (BOOL, DWORD)
    AfxSig_v_b,        // void (BOOL)
    AfxSig_v_b_u,      // void (BOOL, UINT)
    AfxSig_b_D,        // BOOL (CDC*)
    AfxSig_v_u_p,      // void (UINT, CPoint)
    AfxSig_v_u_u_u,    // void (UINT, UINT, UINT)
    AfxSig_b_W_u_u,    // BOOL (CWnd*, UINT, UINT)
    AfxSig_i_W_u_u,    // int (CWnd*, UINT, UINT)
    AfxSig_v_up,       // void (UINT_PTR)
    AfxSig_v_MMI,      // void (MINMAXINFO*)
    AfxSig_v_WP,       // void (WINDOWPOS*)
    AfxSig_v_M_u_b,    // void (CMenu*, UINT, BOOL)
    AfxSig_v_M,        // void (CMenu*)
    AfxSig_v_u_u_h,    // void (UINT, UINT, HMENU)
    AfxSig_v_u_l,      // void (UINT, LPARAM)
    AfxSig_v_W_p,      // void (CWnd*, CPoint)
    AfxSig_l_p,        // LRESULT (CPoint)
    AfxSig_b_u_s_p,    // BOOL (UINT, short, CPoint)
    AfxSig_hbr_D_W_u,  // HBRUSH (CDC*, CWnd*, UINT)
    AfxSig_hbr_D_u,    // HBRUSH (CDC*, UINT)           reflected
    AfxSig_v_i_DIS,    // void (int, LPDRAWITEMSTRUCT)
    AfxSig_v_i_MIS,    // void (int, LPMEASUREITEMSTRUCT)
    AfxSig_i_i_CIS,    // int (int, LPCOMPAREITEMSTRUCT)
    AfxSig_v_i_DEL,    // void (int, LPDELETEITEMSTRUCT)
    AfxSig_v_DIS,      // void (LPDRAWITEMSTRUCT)       reflected
    AfxSig_v_MIS,      // void (LPMEASUREITEMSTRUCT)    reflected
    AfxSig_i_CIS,      // int (LPCOMPAREITEMSTRUCT)     reflected
    AfxSig_v_DEL,      // void (LPDELETEITEMSTRUCT)     reflected
    AfxSig_v_h,        // void (HDROP)
    AfxSig_b_NMHDR_l,  // BOOL (NMHDR*, LRESULT*)       ON_NOTIFY_REFLECT_EX
    AfxSig_b_u,        // BOOL (UINT)                   ON_COMMAND_EX
    AfxSig_v_u_u_W,    // void (UINT, UINT, CWnd*)      scroll requests
    AfxSig_v_u_u,      // void (UINT, UINT)             reflected scroll requests
    AfxSig_v_b_NCCALC, // void (BOOL, NCCALCSIZE_PARAMS*)
};

// One member function pointer of any of the shapes above; an entry's signature says which.
union AFX_PMSG_ANY {
    AFX_PMSG pfn;
    void (CCmdTarget::*pfn_v_u)(UINT);
    void (CCmdTarget::*pfn_cmdui)(CCmdUI*);
    void (CCmdTarget::*pfn_notify)(NMHDR*, LRESULT*);
    BOOL (CCmdTarget::*pfn_b_NMHDR_l)(NMHDR*, LRESULT*);
    BOOL (CCmdTarget::*pfn_b_u)(UINT);
    BOOL (CWnd::*pfn_b_v)();
    LRESULT (CWnd::*pfn_l_w_l)(WPARAM, LPARAM);
    int (CWnd::*pfn_i_CS)(LPCREATESTRUCT);
    BOOL (CWnd::*pfn_b_CS)(LPCREATESTRUCT);
    void (CWnd::*pfn_v_u_i_i)(UINT, int, int);
    void (CWnd::*pfn_v_i_i)(int, int);
    void (CWnd::*pfn_v_W)(CWnd*);
    void (CWnd::*pfn_v_u_W_b)(UINT, CWnd*, BOOL);
    void (CWnd::*pfn_v_b_h)(BOOL, DWORD);
    void (CWnd::*pfn_v_b)(BOOL);
    void (CWnd::*pfn_v_b_u)(BOOL, UINT);
    BOOL (CWnd::*pfn_b_D)(CDC*);
    void (CWnd::*pfn_v_u_p)(UINT, CPoint);
    void (CWnd::*pfn_v_u_u_u)(UINT, UINT, UINT);
    BOOL (CWnd::*pfn_b_W_u_u)(CWnd*, UINT, UINT);
    int (CWnd::*pfn_i_W_u_u)(CWnd*, UINT, UINT);
    void (CWnd::*pfn_v_up)(UINT_PTR);
    void (CWnd::*pfn_v_MMI)(MINMAXINFO*);
    void (CWnd::*pfn_v_WP)(WINDOWPOS*);
    void (CWnd::*pfn_v_M_u_b)(CMenu*, UINT, BOOL);
    void (CWnd::*pfn_v_M)(CMenu*);
    void (CWnd::*pfn_v_u_u_h)(UINT, UINT, HMENU);
    void (CWnd::*pfn_v_u_l)(UINT, LPARAM);
    void (CWnd::*pfn_v_W_p)(CWnd*, CPoint);
    LRESULT (CWnd::*pfn_l_p)(CPoint);
    BOOL (CWnd::*pfn_b_u_s_p)(UINT, short, CPoint);
    HBRUSH (CWnd::*pfn_hbr_D_W_u)(CDC*, CWnd*, UINT);
    HBRUSH (CWnd::*pfn_hbr_D_u)(CDC*, UINT);
    void (CWnd::*pfn_v_i_DIS)(int, LPDRAWITEMSTRUCT);
    void (CWnd::*pfn_v_i_MIS)(int, LPMEASUREITEMSTRUCT);
    int (CWnd::*pfn_i_i_CIS)(int, LPCOMPAREITEMSTRUCT);
    void (CWnd::*pfn_v_i_DEL)(int, LPDELETEITEMSTRUCT);
    void (CWnd::*pfn_v_DIS)(LPDRAWITEMSTRUCT);
    void (CWnd::*pfn_v_MIS)(LPMEASUREITEMSTRUCT);
    int (CWnd::*pfn_i_CIS)(LPCOMPAREITEMSTRUCT);
    void (CWnd::*pfn_v_DEL)(LPDELETEITEMSTRUCT);
    void (CWnd::*pfn_v_h)(HDROP);
    void (CWnd::*pfn_v_u_u_W)(UINT, UINT, CWnd*);
    void (CWnd::*pfn_v_u_u)(UINT, UINT);
    void (CWnd::*pfn_v_b_NCCALC)(BOOL, NCCALCSIZE_PARAMS*);
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // 0xC000 for registered messages: nSig then points at the message number
    UINT nCode;     // control notification code or CN_*
    UINT nID;       // first control or command id
    UINT nLastID;   // last id of a range
    UINT_PTR nSig;
    AFX_PMSG_ANY pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP*(PASCAL* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// What OnCmdMsg reports when asked only whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

// Extra data of a WM_NOTIFY routed through OnCmdMsg.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Extra data of a reflected WM_CTLCOLOR.
struct AFX_CTLCOLOR {
    HWND hWnd;
    HDC hDC;
    UINT nCtlType;
};

#define DECLARE_MESSAGE_MAP()                                   \
protected:                                                      \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();        \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap()                          \
    {                                                                               \
        typedef theClass ThisClass;                                                 \
        typedef baseClass TheBaseClass;                                             \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                            \
    {0, 0, 0, 0, AfxSig_end, {.pfn = nullptr}}                                      \
    }                                                                                \
    ;                                                                                \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                              \
    }

// Entry helpers: the member is converted to its base-class shape, checking the signature.
#define AFX_ENTRY(msg, code, id, last, sig, member, type, fn) \
    {msg, code, id, last, sig, {.member = static_cast<type>(fn)}},

// Commands and notifications
#define ON_COMMAND(id, memberFxn) \
    AFX_ENTRY(WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), AfxSig_v_v, pfn, AFX_PMSG, &ThisClass::memberFxn)
#define ON_COMMAND_EX(id, memberFxn) \
    AFX_ENTRY(WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), AfxSig_b_u, pfn_b_u, BOOL(CCmdTarget::*)(UINT), &ThisClass::memberFxn)
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                      \
    AFX_ENTRY(WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), AfxSig_v_u, pfn_v_u, void(CCmdTarget::*)(UINT), \
              &ThisClass::memberFxn)
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                             \
    AFX_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), AfxSig_cmdui, pfn_cmdui,        \
              void(CCmdTarget::*)(CCmdUI*), &ThisClass::memberFxn)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                               \
    AFX_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(idLast), AfxSig_cmdui, pfn_cmdui,    \
              void(CCmdTarget::*)(CCmdUI*), &ThisClass::memberFxn)
#define ON_CONTROL(code, id, memberFxn) \
    AFX_ENTRY(WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), AfxSig_v_v, pfn, AFX_PMSG, &ThisClass::memberFxn)
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn)                                                  \
    AFX_ENTRY(WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(idLast), AfxSig_v_u, pfn_v_u,               \
              void(CCmdTarget::*)(UINT), &ThisClass::memberFxn)
#define ON_CONTROL_REFLECT(code, memberFxn) \
    AFX_ENTRY(WM_COMMAND + WM_REFLECT_BASE, (UINT)(code), 0, 0, AfxSig_v_v, pfn, AFX_PMSG, &ThisClass::memberFxn)
#define ON_NOTIFY(code, id, memberFxn)                                                                   \
    AFX_ENTRY(WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id), AfxSig_notify, pfn_notify,                \
              void(CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn)
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn)                                                     \
    AFX_ENTRY(WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(idLast), AfxSig_notify, pfn_notify,            \
              void(CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn)
#define ON_NOTIFY_REFLECT(code, memberFxn)                                                               \
    AFX_ENTRY(WM_NOTIFY + WM_REFLECT_BASE, (UINT)(code), 0, 0, AfxSig_notify, pfn_notify,                \
              void(CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn)
#define ON_NOTIFY_REFLECT_EX(code, memberFxn)                                                            \
    AFX_ENTRY(WM_NOTIFY + WM_REFLECT_BASE, (UINT)(code), 0, 0, AfxSig_b_NMHDR_l, pfn_b_NMHDR_l,          \
              BOOL(CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)

// User and registered messages
#define ON_MESSAGE(message, memberFxn)                                                                  \
    AFX_ENTRY((UINT)(message), 0, 0, 0, AfxSig_l_w_l, pfn_l_w_l, LRESULT(CWnd::*)(WPARAM, LPARAM),       \
              &ThisClass::memberFxn)
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                              \
    {0xC000, 0, 0, 0, (UINT_PTR)(UINT*)(&nMessageVariable),                                            \
     {.pfn_l_w_l = static_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(&ThisClass::memberFxn)}},

// Window messages: each calls the handler of the conventional name.
#define AFX_WM(msg, sig, member, type, fn) AFX_ENTRY(msg, 0, 0, 0, sig, member, type, &ThisClass::fn)
#define ON_WM_CREATE() AFX_WM(WM_CREATE, AfxSig_i_CS, pfn_i_CS, int(CWnd::*)(LPCREATESTRUCT), OnCreate)
#define ON_WM_NCCREATE() AFX_WM(WM_NCCREATE, AfxSig_b_CS, pfn_b_CS, BOOL(CWnd::*)(LPCREATESTRUCT), OnNcCreate)
#define ON_WM_DESTROY() AFX_WM(WM_DESTROY, AfxSig_v_v, pfn, AFX_PMSG, OnDestroy)
#define ON_WM_NCDESTROY() AFX_WM(WM_NCDESTROY, AfxSig_v_v, pfn, AFX_PMSG, OnNcDestroy)
#define ON_WM_CLOSE() AFX_WM(WM_CLOSE, AfxSig_v_v, pfn, AFX_PMSG, OnClose)
#define ON_WM_PAINT() AFX_WM(WM_PAINT, AfxSig_v_v, pfn, AFX_PMSG, OnPaint)
#define ON_WM_NCCALCSIZE() \
    AFX_WM(WM_NCCALCSIZE, AfxSig_v_b_NCCALC, pfn_v_b_NCCALC, void(CWnd::*)(BOOL, NCCALCSIZE_PARAMS*), OnNcCalcSize)
#define ON_WM_NCPAINT() AFX_WM(WM_NCPAINT, AfxSig_v_v, pfn, AFX_PMSG, OnNcPaint)
#define ON_WM_CANCELMODE() AFX_WM(WM_CANCELMODE, AfxSig_v_v, pfn, AFX_PMSG, OnCancelMode)
#define ON_WM_SIZE() AFX_WM(WM_SIZE, AfxSig_v_u_i_i, pfn_v_u_i_i, void(CWnd::*)(UINT, int, int), OnSize)
#define ON_WM_MOVE() AFX_WM(WM_MOVE, AfxSig_v_i_i, pfn_v_i_i, void(CWnd::*)(int, int), OnMove)
#define ON_WM_SETFOCUS() AFX_WM(WM_SETFOCUS, AfxSig_v_W, pfn_v_W, void(CWnd::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_WM(WM_KILLFOCUS, AfxSig_v_W, pfn_v_W, void(CWnd::*)(CWnd*), OnKillFocus)
#define ON_WM_CAPTURECHANGED() AFX_WM(WM_CAPTURECHANGED, AfxSig_v_W, pfn_v_W, void(CWnd::*)(CWnd*), OnCaptureChanged)
#define ON_WM_PALETTECHANGED() AFX_WM(WM_PALETTECHANGED, AfxSig_v_W, pfn_v_W, void(CWnd::*)(CWnd*), OnPaletteChanged)
#define ON_WM_QUERYNEWPALETTE() AFX_WM(WM_QUERYNEWPALETTE, AfxSig_b_v, pfn_b_v, BOOL(CWnd::*)(), OnQueryNewPalette)
#define ON_WM_ACTIVATE() AFX_WM(WM_ACTIVATE, AfxSig_v_u_W_b, pfn_v_u_W_b, void(CWnd::*)(UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_ACTIVATEAPP() AFX_WM(WM_ACTIVATEAPP, AfxSig_v_b_h, pfn_v_b_h, void(CWnd::*)(BOOL, DWORD), OnActivateApp)
#define ON_WM_ENABLE() AFX_WM(WM_ENABLE, AfxSig_v_b, pfn_v_b, void(CWnd::*)(BOOL), OnEnable)
#define ON_WM_SHOWWINDOW() AFX_WM(WM_SHOWWINDOW, AfxSig_v_b_u, pfn_v_b_u, void(CWnd::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_ERASEBKGND() AFX_WM(WM_ERASEBKGND, AfxSig_b_D, pfn_b_D, BOOL(CWnd::*)(CDC*), OnEraseBkgnd)
#define ON_WM_MOUSEMOVE() AFX_WM(WM_MOUSEMOVE, AfxSig_v_u_p, pfn_v_u_p, void(CWnd::*)(UINT, CPoint), OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_WM(WM_LBUTTONDOWN, AfxSig_v_u_p, pfn_v_u_p, void(CWnd::*)(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WM(WM_LBUTTONUP, AfxSig_v_u_p, pfn_v_u_p, void(CWnd::*)(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_WM(WM_LBUTTONDBLCLK, AfxSig_v_u_p, pfn_v_u_p, void(CWnd::*)(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_WM(WM_RBUTTONDOWN, AfxSig_v_u_p, pfn_v_u_p, void(CWnd::*)(UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_WM(WM_RBUTTONUP, AfxSig_v_u_p, pfn_v_u_p, void(CWnd::*)(UINT, CPoint), OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_WM(WM_RBUTTONDBLCLK, AfxSig_v_u_p, pfn_v_u_p, void(CWnd::*)(UINT, CPoint), OnRButtonDblClk)
#define ON_WM_NCLBUTTONDOWN() AFX_WM(WM_NCLBUTTONDOWN, AfxSig_v_u_p, pfn_v_u_p, void(CWnd::*)(UINT, CPoint), OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_WM(WM_NCLBUTTONUP, AfxSig_v_u_p, pfn_v_u_p, void(CWnd::*)(UINT, CPoint), OnNcLButtonUp)
#define ON_WM_NCMOUSEMOVE() AFX_WM(WM_NCMOUSEMOVE, AfxSig_v_u_p, pfn_v_u_p, void(CWnd::*)(UINT, CPoint), OnNcMouseMove)
#define ON_WM_KEYDOWN() AFX_WM(WM_KEYDOWN, AfxSig_v_u_u_u, pfn_v_u_u_u, void(CWnd::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() AFX_WM(WM_KEYUP, AfxSig_v_u_u_u, pfn_v_u_u_u, void(CWnd::*)(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() AFX_WM(WM_CHAR, AfxSig_v_u_u_u, pfn_v_u_u_u, void(CWnd::*)(UINT, UINT, UINT), OnChar)
#define ON_WM_SYSKEYDOWN() AFX_WM(WM_SYSKEYDOWN, AfxSig_v_u_u_u, pfn_v_u_u_u, void(CWnd::*)(UINT, UINT, UINT), OnSysKeyDown)
#define ON_WM_SYSCHAR() AFX_WM(WM_SYSCHAR, AfxSig_v_u_u_u, pfn_v_u_u_u, void(CWnd::*)(UINT, UINT, UINT), OnSysChar)
#define ON_WM_SETCURSOR() AFX_WM(WM_SETCURSOR, AfxSig_b_W_u_u, pfn_b_W_u_u, BOOL(CWnd::*)(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_MOUSEACTIVATE() AFX_WM(WM_MOUSEACTIVATE, AfxSig_i_W_u_u, pfn_i_W_u_u, int(CWnd::*)(CWnd*, UINT, UINT), OnMouseActivate)
#define ON_WM_TIMER() AFX_WM(WM_TIMER, AfxSig_v_up, pfn_v_up, void(CWnd::*)(UINT_PTR), OnTimer)
#define ON_WM_GETMINMAXINFO() AFX_WM(WM_GETMINMAXINFO, AfxSig_v_MMI, pfn_v_MMI, void(CWnd::*)(MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_WINDOWPOSCHANGING() AFX_WM(WM_WINDOWPOSCHANGING, AfxSig_v_WP, pfn_v_WP, void(CWnd::*)(WINDOWPOS*), OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() AFX_WM(WM_WINDOWPOSCHANGED, AfxSig_v_WP, pfn_v_WP, void(CWnd::*)(WINDOWPOS*), OnWindowPosChanged)
#define ON_WM_INITMENU() AFX_WM(WM_INITMENU, AfxSig_v_M, pfn_v_M, void(CWnd::*)(CMenu*), OnInitMenu)
#define ON_WM_INITMENUPOPUP() AFX_WM(WM_INITMENUPOPUP, AfxSig_v_M_u_b, pfn_v_M_u_b, void(CWnd::*)(CMenu*, UINT, BOOL), OnInitMenuPopup)
#define ON_WM_MENUSELECT() AFX_WM(WM_MENUSELECT, AfxSig_v_u_u_h, pfn_v_u_u_h, void(CWnd::*)(UINT, UINT, HMENU), OnMenuSelect)
#define ON_WM_SYSCOMMAND() AFX_WM(WM_SYSCOMMAND, AfxSig_v_u_l, pfn_v_u_l, void(CWnd::*)(UINT, LPARAM), OnSysCommand)
#define ON_WM_PARENTNOTIFY() AFX_WM(WM_PARENTNOTIFY, AfxSig_v_u_l, pfn_v_u_l, void(CWnd::*)(UINT, LPARAM), OnParentNotify)
#define ON_WM_CONTEXTMENU() AFX_WM(WM_CONTEXTMENU, AfxSig_v_W_p, pfn_v_W_p, void(CWnd::*)(CWnd*, CPoint), OnContextMenu)
#define ON_WM_NCHITTEST() AFX_WM(WM_NCHITTEST, AfxSig_l_p, pfn_l_p, LRESULT(CWnd::*)(CPoint), OnNcHitTest)
#define ON_WM_MOUSEWHEEL() AFX_WM(WM_MOUSEWHEEL, AfxSig_b_u_s_p, pfn_b_u_s_p, BOOL(CWnd::*)(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_DROPFILES() AFX_WM(WM_DROPFILES, AfxSig_v_h, pfn_v_h, void(CWnd::*)(HDROP), OnDropFiles)
#define ON_WM_CTLCOLOR() AFX_WM(WM_CTLCOLOR, AfxSig_hbr_D_W_u, pfn_hbr_D_W_u, HBRUSH(CWnd::*)(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_DRAWITEM() AFX_WM(WM_DRAWITEM, AfxSig_v_i_DIS, pfn_v_i_DIS, void(CWnd::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_MEASUREITEM() AFX_WM(WM_MEASUREITEM, AfxSig_v_i_MIS, pfn_v_i_MIS, void(CWnd::*)(int, LPMEASUREITEMSTRUCT), OnMeasureItem)
#define ON_WM_COMPAREITEM() AFX_WM(WM_COMPAREITEM, AfxSig_i_i_CIS, pfn_i_i_CIS, int(CWnd::*)(int, LPCOMPAREITEMSTRUCT), OnCompareItem)
#define ON_WM_DELETEITEM() AFX_WM(WM_DELETEITEM, AfxSig_v_i_DEL, pfn_v_i_DEL, void(CWnd::*)(int, LPDELETEITEMSTRUCT), OnDeleteItem)
#define ON_WM_HSCROLL() AFX_WM(WM_HSCROLL, AfxSig_v_u_u_W, pfn_v_u_u_W, void(CWnd::*)(UINT, UINT, CWnd*), OnHScroll)
#define ON_WM_VSCROLL() AFX_WM(WM_VSCROLL, AfxSig_v_u_u_W, pfn_v_u_u_W, void(CWnd::*)(UINT, UINT, CWnd*), OnVScroll)
// Reflected to the control
#define ON_WM_HSCROLL_REFLECT() AFX_WM(WM_HSCROLL + WM_REFLECT_BASE, AfxSig_v_u_u, pfn_v_u_u, void(CWnd::*)(UINT, UINT), HScroll)
#define ON_WM_VSCROLL_REFLECT() AFX_WM(WM_VSCROLL + WM_REFLECT_BASE, AfxSig_v_u_u, pfn_v_u_u, void(CWnd::*)(UINT, UINT), VScroll)
#define ON_WM_CTLCOLOR_REFLECT() \
    AFX_WM(WM_CTLCOLOR + WM_REFLECT_BASE, AfxSig_hbr_D_u, pfn_hbr_D_u, HBRUSH(CWnd::*)(CDC*, UINT), CtlColor)
#define ON_WM_DRAWITEM_REFLECT() \
    AFX_WM(WM_DRAWITEM + WM_REFLECT_BASE, AfxSig_v_DIS, pfn_v_DIS, void(CWnd::*)(LPDRAWITEMSTRUCT), DrawItem)
#define ON_WM_MEASUREITEM_REFLECT() \
    AFX_WM(WM_MEASUREITEM + WM_REFLECT_BASE, AfxSig_v_MIS, pfn_v_MIS, void(CWnd::*)(LPMEASUREITEMSTRUCT), MeasureItem)
#define ON_WM_COMPAREITEM_REFLECT() \
    AFX_WM(WM_COMPAREITEM + WM_REFLECT_BASE, AfxSig_i_CIS, pfn_i_CIS, int(CWnd::*)(LPCOMPAREITEMSTRUCT), CompareItem)
#define ON_WM_DELETEITEM_REFLECT() \
    AFX_WM(WM_DELETEITEM + WM_REFLECT_BASE, AfxSig_v_DEL, pfn_v_DEL, void(CWnd::*)(LPDELETEITEMSTRUCT), DeleteItem)

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    ~CCmdTarget() override;

    // Routes a command, a control notification or an update request (nCode packs the message
    // in its high word for WM_NOTIFY and reflections) to this target's message map.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

protected:
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Calls a command-map entry's function with the arguments its signature wants.
    static BOOL PASCAL DispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, const AFX_MSGMAP_ENTRY* entry,
                                      void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    friend class CWnd;
};

// Updates the user-interface state of a menu item or control for one command id.
class CCmdUI {
public:
    CCmdUI();
    virtual ~CCmdUI() = default;

    UINT m_nID;
    UINT m_nIndex;       // position of the menu item
    CMenu* m_pMenu;      // the menu of the item, or NULL
    CMenu* m_pSubMenu;   // the submenu the item opens, or NULL
    CMenu* m_pParentMenu;
    CWnd* m_pOther;      // the control, or NULL
    BOOL m_bEnableChanged;
    BOOL m_bContinueRouting;
    UINT m_nIndexMax;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);  // 0 unchecked, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCSTR lpszText);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks pTarget's command routing for an update handler; without one, and when
    // bDisableIfNoHndler is set and nothing handles the command itself, the item is disabled.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

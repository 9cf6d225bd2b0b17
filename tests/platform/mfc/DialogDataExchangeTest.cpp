// CDialog with data exchange: values in and out of a modal dialog, checks that fail with the
// class library's message and leave the dialog up with the focus on the control at fault.
#include <afxwin.h>

#include <UiTest.h>

#include "../win32/DialogTestSupport.h"

#include <string>
#include <vector>

namespace {

enum : WORD { kName = 101, kCount = 102, kSmall = 201, kMedium = 202, kLarge = 203, kSound = 301 };

class CPrefsDialog : public CDialog {
public:
    CPrefsDialog() : CDialog()
    {
        dlgtest::TemplateBuilder& b = m_builder;
        b.Control("DlgTestEdit", "", kName, WS_TABSTOP | WS_GROUP, 40, 7, 100, 12)
            .Control("DlgTestEdit", "", kCount, WS_TABSTOP | WS_GROUP, 40, 22, 40, 12)
            .Control("DlgTestButton", "&Small", kSmall, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 7, 40, 50, 10)
            .Control("DlgTestButton", "&Medium", kMedium, BS_AUTORADIOBUTTON, 7, 52, 50, 10)
            .Control("DlgTestButton", "&Large", kLarge, BS_AUTORADIOBUTTON, 7, 64, 50, 10)
            .Control("DlgTestButton", "S&ound", kSound, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 70, 40, 50, 10)
            .Control("DlgTestButton", "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 40, 80, 50, 14)
            .Control("DlgTestButton", "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 95, 80, 50, 14);
        InitModalIndirect(b.Get());
    }

    CString m_name = "Ada";
    int m_count = 3;
    int m_size = 1;
    int m_sound = BST_CHECKED;
    int initCalls = 0;
    CWnd m_nameEdit;

protected:
    BOOL OnInitDialog() override
    {
        ++initCalls;
        return CDialog::OnInitDialog();
    }

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, kName, m_nameEdit);
        DDX_Text(pDX, kName, m_name);
        DDV_MaxChars(pDX, m_name, 8);
        DDX_Text(pDX, kCount, m_count);
        DDV_MinMaxInt(pDX, m_count, 1, 10);
        DDX_Radio(pDX, kSmall, m_size);
        DDX_Check(pDX, kSound, m_sound);
    }

private:
    dlgtest::TemplateBuilder m_builder{DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 160, 100,
                                       "Preferences"};
};

std::string ItemText(HWND dlg, int id)
{
    char text[64];
    GetDlgItemTextA(dlg, id, text, sizeof text);
    return text;
}

class DialogDataExchangeTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        dlgtest::RegisterStandIns();
    }
};

TEST_F(DialogDataExchangeTest, ValuesGoInAndComeBackOnOk)
{
    CPrefsDialog dlg;
    host::RunInNextModalLoop([&](HWND h) {
        EXPECT_EQ(h, dlg.m_hWnd);
        EXPECT_EQ(dlg.initCalls, 1);
        EXPECT_EQ(ItemText(h, kName), "Ada");
        EXPECT_EQ(ItemText(h, kCount), "3");
        EXPECT_EQ(IsDlgButtonChecked(h, kMedium), BST_CHECKED);
        EXPECT_EQ(IsDlgButtonChecked(h, kSound), BST_CHECKED);
        EXPECT_EQ(dlg.m_nameEdit.m_hWnd, GetDlgItem(h, kName));
        SetDlgItemTextA(h, kName, "Grace");
        SetDlgItemTextA(h, kCount, " 7 ");
        CheckRadioButton(h, kSmall, kLarge, kLarge);
        CheckDlgButton(h, kSound, BST_UNCHECKED);
        host::PressKey(VK_RETURN);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(dlg.m_name, "Grace");
    EXPECT_EQ(dlg.m_count, 7);
    EXPECT_EQ(dlg.m_size, 2);
    EXPECT_EQ(dlg.m_sound, BST_UNCHECKED);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST_F(DialogDataExchangeTest, EscapeCancelsAndKeepsTheValues)
{
    CPrefsDialog dlg;
    host::RunInNextModalLoop([&](HWND h) {
        SetDlgItemTextA(h, kName, "Grace");
        host::PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_STREQ(dlg.m_name, "Ada");
}

TEST_F(DialogDataExchangeTest, FailedCheckTellsTheUserAndFocusesTheControl)
{
    struct Case {
        int id;
        const char* text;
        const char* message;
    };
    for (Case c : {Case{kCount, "42", "Please enter an integer between 1 and 10."},
                   Case{kCount, "abc", "Please enter an integer."},
                   Case{kCount, "99999999999", "Please enter an integer."},
                   Case{kName, "Much too long", "Please enter no more than 8 characters."}}) {
        CPrefsDialog dlg;
        host::AnswerMessageBox(c.message, IDOK);
        host::RunInNextModalLoop([&](HWND h) {
            SetDlgItemTextA(h, c.id, c.text);
            host::PressKey(VK_RETURN);
        });
        host::RunInNextModalLoop([&](HWND h) {
            // Still up, with the focus on the control that failed.
            EXPECT_TRUE(IsWindowVisible(h)) << c.text;
            EXPECT_EQ(GetFocus(), GetDlgItem(h, c.id)) << c.text;
            SetDlgItemTextA(h, kName, "Bob");
            SetDlgItemTextA(h, kCount, "10");
            host::PressKey(VK_RETURN);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK) << c.text;
        std::vector<host::MessageBoxRecord> log = host::MessageBoxLog();
        ASSERT_EQ(log.size(), 1u) << c.text;
        EXPECT_EQ(log[0].text, c.message);
        EXPECT_EQ(log[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
        EXPECT_STREQ(dlg.m_name, "Bob");
        EXPECT_EQ(dlg.m_count, 10);
        host::ResetUiScript();
    }
}

TEST_F(DialogDataExchangeTest, ModelessDialogLoadsOnInit)
{
    CPrefsDialog dlg;
    dlgtest::TemplateBuilder b(WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 160, 100, "Modeless");
    b.Control("DlgTestEdit", "", kName, WS_TABSTOP, 40, 7, 100, 12)
        .Control("DlgTestEdit", "", kCount, WS_TABSTOP | WS_GROUP, 40, 22, 40, 12)
        .Control("DlgTestButton", "&Small", kSmall, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 7, 40, 50, 10)
        .Control("DlgTestButton", "S&ound", kSound, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 70, 40, 50, 10);
    dlg.m_size = 0;
    ASSERT_TRUE(dlg.CreateIndirect(b.Get()));
    EXPECT_TRUE(dlg.IsWindowVisible());
    EXPECT_EQ(ItemText(dlg.m_hWnd, kName), "Ada");
    EXPECT_EQ(IsDlgButtonChecked(dlg.m_hWnd, kSmall), BST_CHECKED);
    SetDlgItemTextA(dlg.m_hWnd, kCount, "5");
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_count, 5);
    dlg.DestroyWindow();
}

}  // namespace

// A dialog of the standard controls: keyboard navigation through real buttons and edits, and
// data exchange with list and combo boxes.
#include <afxwin.h>

#include <UiTest.h>

#include "../win32/DialogTestSupport.h"

#include <string>

namespace {

enum : WORD { kName = 101, kTopic = 110, kFont = 120, kStyle = 130, kSmall = 201, kLarge = 202, kSound = 301 };

class CSearchDialog : public CDialog {
public:
    CSearchDialog()
    {
        m_builder.Control("Static", "&Name:", 100, SS_LEFT, 7, 7, 30, 8)
            .Control("Edit", "", kName, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, 40, 7, 100, 12)
            .Control("ListBox", "", kTopic, LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 7, 22, 60, 40)
            .Control("ComboBox", "", kFont, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 75, 22, 70, 60)
            .Control("ComboBox", "", kStyle, CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 75, 40, 70, 60)
            .Control("Button", "&Small", kSmall, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 7, 66, 50, 10)
            .Control("Button", "&Large", kLarge, BS_AUTORADIOBUTTON, 7, 78, 50, 10)
            .Control("Button", "S&ound", kSound, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 75, 66, 50, 10)
            .Control("Button", "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 40, 95, 50, 14)
            .Control("Button", "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 95, 95, 50, 14);
        InitModalIndirect(m_builder.Get());
    }

    CString m_name = "Ada";
    int m_topic = 1;
    CString m_font = "Serif";
    CString m_style = "Bold";
    int m_size = 0;
    int m_sound = BST_UNCHECKED;
    int m_fontIndex = -1;
    CString m_topicText;

protected:
    BOOL OnInitDialog() override
    {
        for (const char* s : {"Animals", "Music", "Places"})
            SendDlgItemMessageA(m_hWnd, kTopic, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        for (const char* s : {"Sans", "Serif", "Mono"})
            SendDlgItemMessageA(m_hWnd, kFont, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        for (const char* s : {"Plain", "Bold"})
            SendDlgItemMessageA(m_hWnd, kStyle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        return CDialog::OnInitDialog();
    }

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, kName, m_name);
        DDX_LBIndex(pDX, kTopic, m_topic);
        if (pDX->m_bSaveAndValidate)
            DDX_LBString(pDX, kTopic, m_topicText);
        DDX_CBString(pDX, kFont, m_font);
        if (pDX->m_bSaveAndValidate)
            DDX_CBIndex(pDX, kFont, m_fontIndex);
        DDX_CBString(pDX, kStyle, m_style);
        DDX_Radio(pDX, kSmall, m_size);
        DDX_Check(pDX, kSound, m_sound);
    }

private:
    dlgtest::TemplateBuilder m_builder{DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 160, 115, "Search"};
};

class DialogControlsTest : public ui::UiTest {};

TEST_F(DialogControlsTest, StandardControlsNavigateAndExchange)
{
    CSearchDialog dlg;
    host::RunInNextModalLoop([&](HWND h) {
        // Loaded from the members.
        EXPECT_EQ(SendDlgItemMessageA(h, kTopic, LB_GETCURSEL, 0, 0), 1);
        EXPECT_EQ(SendDlgItemMessageA(h, kFont, CB_GETCURSEL, 0, 0), 1);
        char text[32];
        GetDlgItemTextA(h, kStyle, text, sizeof text);
        EXPECT_STREQ(text, "Bold");
        EXPECT_EQ(IsDlgButtonChecked(h, kSmall), BST_CHECKED);
        EXPECT_EQ(GetFocus(), GetDlgItem(h, kName));

        // Keyboard: type a name, move through the tab order, pick the other radio button with
        // an arrow, tick the check box with its mnemonic. The modal loop handles the keys
        // between the steps.
        host::TypeText("Grace");
        host::PressKey(VK_TAB);
    });
    host::RunInNextModalLoop([&](HWND h) {
        EXPECT_EQ(GetFocus(), GetDlgItem(h, kTopic));
        host::PressKey(VK_DOWN);  // the list box wants arrows: next topic
        host::PressKey(VK_TAB);
        host::PressKey(VK_TAB);
        host::PressKey(VK_TAB);
    });
    host::RunInNextModalLoop([&](HWND h) {
        EXPECT_EQ(GetFocus(), GetDlgItem(h, kSmall));
        host::PressKey(VK_DOWN);
    });
    host::RunInNextModalLoop([&](HWND h) {
        EXPECT_EQ(GetFocus(), GetDlgItem(h, kLarge));
        EXPECT_EQ(IsDlgButtonChecked(h, kLarge), BST_CHECKED);
        host::KeyDown(VK_MENU);
        host::PressKey('O');
        host::KeyUp(VK_MENU);
    });
    host::RunInNextModalLoop([&](HWND h) {
        EXPECT_EQ(IsDlgButtonChecked(h, kSound), BST_CHECKED);
        SetDlgItemTextA(h, kStyle, "Italic");  // typed into the drop-down's edit
        host::PressKey(VK_RETURN);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(dlg.m_name, "Grace");
    EXPECT_EQ(dlg.m_topic, 2);
    EXPECT_STREQ(dlg.m_topicText, "Places");
    EXPECT_STREQ(dlg.m_font, "Serif");
    EXPECT_EQ(dlg.m_fontIndex, 1);
    EXPECT_STREQ(dlg.m_style, "Italic");
    EXPECT_EQ(dlg.m_size, 1);
    EXPECT_EQ(dlg.m_sound, BST_CHECKED);
}

}  // namespace

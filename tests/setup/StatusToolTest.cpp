// The registration status tool in this process, driven from the test: which products it lists,
// the radio buttons by the local status, Register through the wizard's stand-in, the status
// dialog, Exit, and the single instance. Screenshots of the main and the status dialog.
#include "vorbreg/ProductStatusDialog.h"
#include "vorbreg/StatusTool.h"

#include "RegistrationFixture.h"

#include <DialogDriver.h>

#include <vorb.h>
#include <vorbregr.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

namespace fs = std::filesystem;

class StatusToolTest : public RegistrationFixture {
protected:
    void SetUp() override
    {
        RegistrationFixture::SetUp();
        // The tool, its texts and the product lie in C:\VL, its current folder.
        fs::create_directories(root.path() / "VL");
        fs::copy_file(fs::path(VL_VORB_LIBRARY).parent_path() / "VORBREGR.DLL", root.path() / "VL" / "VORBREGR.DLL");
        ASSERT_TRUE(SetCurrentDirectory("C:\\VL"));
    }
    void TearDown() override
    {
        Drain();  // the quit message of a tool that closed without its loop
        RegistrationFixture::TearDown();
    }

    // A product in slot `slot` of the global list, installed in C:\<folder> (with the wizard).
    void List(int slot, const std::string& name, const std::string& status, const std::string& folder = "VL")
    {
        char number[32];
        std::snprintf(number, sizeof number, "%04d", slot);
        Set(GlobalList(), "PRODLIST", std::string("PRODNAME") + number, name);
        Set(GlobalList(), "PRODLIST", std::string("DEFDIR") + number, "C:\\" + folder + "\\");
        auto count = Value(GlobalList(), "PRODLIST", "NUMPROD");
        if (!count || std::stoi(*count) < slot)
            Set(GlobalList(), "PRODLIST", "NUMPROD", number);
        if (!status.empty())
            Set(GlobalList(), name, "STATUS", status);
        std::error_code ec;
        fs::create_directories(root.path() / folder);
        fs::copy_file(VL_VORB_LIBRARY, root.path() / folder / "vorb.dll", fs::copy_options::skip_existing, ec);
        root.Write(folder + "/PRODREG.DAT", "[PRODUCT]\r\nPRODUCTNAME=" + name + "\r\nPRODUCTNUM=VJ2000\r\n");
    }

    static void Pump()
    {
        MSG msg;
        for (int n = 0; n < 10000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));  // left for the tool's loop
                return;
            }
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    // Drops whatever is queued, a quit message too.
    static void Drain()
    {
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    static void Command(HWND dialog, int id) { SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    static void Select(HWND dialog, int index)
    {
        SendDlgItemMessage(dialog, IDC_VORBREG_PRODUCTS, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDC_VORBREG_PRODUCTS, LBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_VORBREG_PRODUCTS)));
    }
    static std::vector<LPARAM> ItemData(HWND dialog)
    {
        std::vector<LPARAM> data;
        int n = static_cast<int>(SendDlgItemMessage(dialog, IDC_VORBREG_PRODUCTS, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i)
            data.push_back(SendDlgItemMessage(dialog, IDC_VORBREG_PRODUCTS, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
        return data;
    }
    static std::string Log()
    {
        char windows[MAX_PATH] = "";
        GetWindowsDirectory(windows, MAX_PATH);
        std::ifstream in(host::ToHostPath(std::string(windows) + "\\VORB.LOG").value_or(""), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static std::string Resource(UINT id)
    {
        HMODULE texts = GetModuleHandle("VORBREGR.DLL");
        char text[1024] = "";
        LoadString(texts, id, text, sizeof text);
        return text;
    }
};

TEST_F(StatusToolTest, ListsTheProductsWhoseRegistrationIsOpen)
{
    const char* statuses[] = {"4", "5", "6", "7", "8", "9", "", "70"};
    for (int i = 0; i < 8; ++i)
        List(i + 1, std::string("Product ") + (statuses[i][0] ? statuses[i] : "without status"), statuses[i]);
    CStatusTool tool(GetModuleHandle(nullptr), "C:\\VL");
    ASSERT_TRUE(tool.Open());
    HWND main = tool.Main();
    ASSERT_TRUE(IsWindow(main));
    EXPECT_EQ(ui::dialog::Items(main, IDC_VORBREG_PRODUCTS),
              (std::vector<std::string>{"Product 4", "Product 5", "Product 6", "Product 8", "Product without status"}));
    EXPECT_EQ(ItemData(main), (std::vector<LPARAM>{1, 2, 3, 5, 7}));
    EXPECT_EQ(ui::dialog::Selected(main, IDC_VORBREG_PRODUCTS), 0);
    char title[128] = "";
    GetWindowText(main, title, sizeof title);
    EXPECT_STREQ(title, "Product Registration");
    EXPECT_TRUE(host::MessageBoxLog().empty());
}

TEST_F(StatusToolTest, NothingToRegisterSaysSoAndCloses)
{
    for (bool emptyList : {true, false}) {
        SCOPED_TRACE(emptyList ? "no list" : "only installed and uninstalled products");
        host::ResetUiScript();
        if (!emptyList) {
            List(1, "Installed", "7");
            List(2, "Uninstalled", "9");
        }
        host::AnswerMessageBox("registered", IDOK);
        CStatusTool tool(GetModuleHandle(nullptr), "");
        ASSERT_TRUE(tool.Open());
        auto boxes = host::MessageBoxLog();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, Resource(IDS_VORBREG_NOTHING_TO_REGISTER));
        EXPECT_EQ(boxes[0].caption, "Product Registration");
        EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
        EXPECT_EQ(tool.Main(), nullptr);
        EXPECT_EQ(tool.Run(), 0);  // the loop ends at once
    }
}

TEST_F(StatusToolTest, RadioFollowsTheLocalStatus)
{
    const struct {
        const char* local;
        int checked;
        int cleared;
    } cases[] = {
        {"6", IDC_VORBREG_LATER, IDC_VORBREG_NOT_YET},
        {"5", IDC_VORBREG_NOT_YET, IDC_VORBREG_LATER},
        {"4", IDC_VORBREG_NOT_YET, IDC_VORBREG_LATER},
        {"", IDC_VORBREG_NOT_YET, IDC_VORBREG_LATER},
    };
    List(1, "Veltra Jubilee 2000", "4");
    List(2, "Veltra Atlas", "6", "Atlas");
    Set("C:\\VL\\REG.REG", "Veltra Atlas", "STATUS", "6");  // another product's section: not read for this one
    CStatusTool tool(GetModuleHandle(nullptr), "C:\\VL\\");
    ASSERT_TRUE(tool.Open());
    HWND main = tool.Main();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.local);
        Set("C:\\VL\\REG.REG", "Veltra Jubilee 2000", "STATUS", c.local);
        Select(main, 1);  // the other product first, so that the change is seen
        Select(main, 0);
        EXPECT_EQ(IsDlgButtonChecked(main, c.checked), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(IsDlgButtonChecked(main, c.cleared), static_cast<UINT>(BST_UNCHECKED));
    }
}

TEST_F(StatusToolTest, RegisterCallsTheProductsWizardByTheRadio)
{
    List(1, "Veltra Jubilee 2000", "4");
    List(2, "Veltra Atlas", "6", "Atlas");
    Set("C:\\VL\\REG.REG", "Veltra Atlas", "STATUS", "6");  // the radio reads the tool's own local record
    List(3, "Veltra Missing", "4", "Missing");
    fs::remove(root.path() / "Missing" / "vorb.dll");
    CStatusTool tool(GetModuleHandle(nullptr), "");
    ASSERT_TRUE(tool.Open());
    HWND main = tool.Main();

    // Without a selection.
    host::AnswerMessageBox(Resource(IDS_VORBREG_SELECT_PRODUCT), IDOK);
    Select(main, -1);
    Command(main, IDC_VORBREG_REGISTER);
    auto boxes = host::MessageBoxLog();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].type & (MB_ICONMASK | MB_TASKMODAL), static_cast<UINT>(MB_ICONEXCLAMATION | MB_TASKMODAL));
    EXPECT_EQ(Log(), "");

    const struct {
        int index;
        const char* folder;
        int mode;
        const char* localRecord;
        const char* product;
    } cases[] = {
        {0, "C:\\VL\\", VORB_MODE_NEW, "C:\\VL\\REG.REG", "Veltra Jubilee 2000"},
        {1, "C:\\Atlas\\", VORB_MODE_OPEN, "C:\\Atlas\\REG.REG", "Veltra Atlas"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        Select(main, c.index);
        Command(main, IDC_VORBREG_REGISTER);
        HWND wizard = tool.Wizard();
        ASSERT_TRUE(wizard && IsWindow(wizard));
        std::string call = std::string(" owner=1 reserved=0 folder=\"") + c.folder + "\" mode=" + std::to_string(c.mode);
        EXPECT_NE(Log().find(call), std::string::npos) << Log();
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main, IDC_VORBREG_REGISTER)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main, IDC_VORBREG_EXIT)));
        // Later in the wizard: it tells the tool it is done (3400), and the radio follows.
        SendMessage(wizard, WM_COMMAND, IDCANCEL, 0);
        Pump();
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main, IDC_VORBREG_REGISTER)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main, IDC_VORBREG_EXIT)));
        EXPECT_EQ(Text(c.localRecord, c.product, "STATUS"), "6");
        EXPECT_EQ(IsDlgButtonChecked(main, IDC_VORBREG_LATER), static_cast<UINT>(BST_CHECKED));
    }

    // A product folder without its wizard.
    host::AnswerMessageBox("C:\\Missing\\vorb.dll", IDOK);
    Select(main, 2);
    Command(main, IDC_VORBREG_REGISTER);
    boxes = host::MessageBoxLog();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].caption, "C:\\Missing\\vorb.dll");
    EXPECT_EQ(boxes[1].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main, IDC_VORBREG_REGISTER)));
}

TEST_F(StatusToolTest, StatusDialogShowsStatusDateAndNumber)
{
    const struct {
        const char* status;
        UINT text;
    } statuses[] = {
        {"4", IDS_VORBREG_NOT_REGISTERED}, {"6", IDS_VORBREG_NOT_REGISTERED}, {"5", IDS_VORBREG_REGISTERED},
        {"7", IDS_VORBREG_REGISTERED},     {"8", IDS_VORBREG_PENDING},        {"9", IDS_VORBREG_UNINSTALLED},
        {"3", IDS_VORBREG_UNKNOWN},        {"", IDS_VORBREG_UNKNOWN},         {"55", IDS_VORBREG_UNKNOWN},
    };
    for (const auto& s : statuses) {
        SCOPED_TRACE(s.status);
        EXPECT_EQ(CProductStatusDialog::StatusTextId(s.status), s.text);
    }

    List(1, "Veltra Jubilee 2000", "4");
    CStatusTool tool(GetModuleHandle(nullptr), "");
    ASSERT_TRUE(tool.Open());
    HWND main = tool.Main();
    const struct {
        const char* status;
        const char* date;
        const char* regnum;
        std::string statusText;
        std::string dateText;
        std::string regnumText;
    } cases[] = {
        {"4", "20000109", "", Resource(IDS_VORBREG_NOT_REGISTERED), "1/9/2000", Resource(IDS_VORBREG_NO_REGNUM)},
        {"8", "", "VJ2000-0001-20261230", Resource(IDS_VORBREG_PENDING), Resource(IDS_VORBREG_NO_INSTALL_DATE),
         "VJ2000-0001-20261230"},
        {"6", "20261231", "", Resource(IDS_VORBREG_NOT_REGISTERED), "12/31/2026", Resource(IDS_VORBREG_NO_REGNUM)},
        {"2", "2026-12-31", "", Resource(IDS_VORBREG_UNKNOWN), "2026-12-31", Resource(IDS_VORBREG_NO_REGNUM)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        Set(GlobalList(), "Veltra Jubilee 2000", "STATUS", c.status);
        Set(GlobalList(), "Veltra Jubilee 2000", "INSTALLDATE", c.date);
        Set(GlobalList(), "Veltra Jubilee 2000", "REGNUM", c.regnum);
        Command(main, IDC_VORBREG_STATUS);
        HWND status = tool.StatusDialog();
        ASSERT_TRUE(status && IsWindow(status));
        EXPECT_EQ(ui::dialog::Text(status, IDC_VORBREG_STATUS_TEXT), c.statusText);
        EXPECT_EQ(ui::dialog::Text(status, IDC_VORBREG_INSTALL_DATE), c.dateText);
        EXPECT_EQ(ui::dialog::Text(status, IDC_VORBREG_REGNUM), c.regnumText);
        Command(status, IDOK);
        EXPECT_FALSE(IsWindow(status));
        EXPECT_EQ(tool.StatusDialog(), nullptr);
    }
}

TEST_F(StatusToolTest, ExitAsksFirst)
{
    List(1, "Veltra Jubilee 2000", "4");
    CStatusTool tool(GetModuleHandle(nullptr), "");
    ASSERT_TRUE(tool.Open());
    HWND main = tool.Main();
    host::AnswerMessageBox(Resource(IDS_VORBREG_QUIT), IDNO);
    Command(main, IDC_VORBREG_EXIT);
    EXPECT_TRUE(IsWindow(main));
    auto boxes = host::MessageBoxLog();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].type & (MB_TYPEMASK | MB_ICONMASK | MB_TASKMODAL),
              static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL));
    host::AnswerMessageBox(Resource(IDS_VORBREG_QUIT), IDYES);
    Command(main, IDC_VORBREG_EXIT);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(tool.Run(), 0);
}

TEST_F(StatusToolTest, ASecondCopyEndsAtOnce)
{
    List(1, "Veltra Jubilee 2000", "4");
    CInstanceMutex first("VORBREG");
    ASSERT_TRUE(first.IsFirstInstance());
    EXPECT_EQ(RunStatusTool(GetModuleHandle(nullptr), "C:\\VL"), 0);
    EXPECT_TRUE(host::MessageBoxLog().empty());
    EXPECT_EQ(FindWindow(nullptr, "Product Registration"), nullptr);
}

TEST_F(StatusToolTest, MissingTextsAreReported)
{
    fs::remove(root.path() / "VL" / "VORBREGR.DLL");
    host::AnswerNextMessageBox(IDOK);
    EXPECT_EQ(RunStatusTool(GetModuleHandle(nullptr), "C:\\VL"), 1);
    auto boxes = host::MessageBoxLog();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("VORBREGR.DLL"), std::string::npos);
}

TEST_F(StatusToolTest, Screenshots)
{
    List(1, "Veltra Jubilee 2000 (International)", "4");
    List(2, "Veltra World Atlas", "6", "Atlas");
    Set(GlobalList(), "Veltra Jubilee 2000 (International)", "INSTALLDATE", "20261230");
    CStatusTool tool(GetModuleHandle(nullptr), "");
    ASSERT_TRUE(tool.Open());
    HWND main = tool.Main();
    UpdateWindow(main);
    Pump();
    ui::dialog::Screenshot(main, "vorbreg-main.png");
    Command(main, IDC_VORBREG_STATUS);
    HWND status = tool.StatusDialog();
    ASSERT_TRUE(status);
    UpdateWindow(status);
    Pump();
    ui::dialog::Screenshot(status, "vorbreg-status.png");
}

}  // namespace

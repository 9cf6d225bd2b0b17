// The registration status tool.
#include "vorbreg/StatusTool.h"

#include "vorbreg/ProductStatusDialog.h"

#include "common/VorbCommandLine.h"

#include <vorb.h>
#include <vorbregr.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int kLanguageJapanese = 15;
constexpr int kLanguageKorean = 16;
constexpr COLORREF kBackground = RGB(192, 192, 192);

// The command line's folder: its text without blanks at either end and without enclosing
// double quotes.
std::string FolderOf(LPCSTR commandLine)
{
    std::string text = commandLine ? commandLine : "";
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return text;
}

// A formatted resource text: "%d" takes the number, "%%" is one "%"; nothing else is read.
std::string FormatCount(const std::string& format, int count)
{
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 'd') {
            out += std::to_string(count);
            ++i;
        } else if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

}  // namespace

CStatusTool::CStatusTool(HINSTANCE instance, LPCSTR commandLine) : m_instance(instance)
{
    std::string folder = FolderOf(commandLine);
    m_files = RegistrationFiles::For(folder.empty() ? CurrentFolder() : folder);
    std::string language = m_files.Language();
    m_language = language == "JPN" ? kLanguageJapanese : language == "KOR" ? kLanguageKorean : 0;
}

CStatusTool::~CStatusTool()
{
    m_status.reset();
    if (m_main && IsWindow(m_main))
        DestroyWindow(m_main);
    if (m_wizard && IsWindow(m_wizard))
        DestroyWindow(m_wizard);
    m_wizardLibrary.reset();
    if (m_resources)
        FreeLibrary(m_resources);
}

HWND CStatusTool::StatusDialog() const
{
    return m_status ? m_status->Window() : nullptr;
}

bool CStatusTool::Open()
{
    m_resources = LoadLibrary("VORBREGR.DLL");
    if (!m_resources) {
        MessageBox(nullptr, "The registration texts \"VORBREGR.DLL\" are missing: product registration cannot start.",
                   "Product Registration", MB_OK | MB_ICONSTOP);
        return false;
    }
    m_title = Text(IDS_VORBREG_TITLE);
    HWND dialog = CreateDialogParam(m_resources, MAKEINTRESOURCE(IDD_VORBREG_MAIN), nullptr, MainProc,
                                    reinterpret_cast<LPARAM>(this));
    if (!dialog || !IsWindow(dialog))
        return false;
    if (m_listed == 0) {
        MessageBox(dialog, Text(IDS_VORBREG_NOTHING_TO_REGISTER).c_str(), m_title.c_str(), MB_OK | MB_ICONINFORMATION);
        DestroyWindow(dialog);  // ends the message loop
        return true;
    }
    ShowWindow(dialog, SW_SHOW);
    return true;
}

int CStatusTool::Run()
{
    MSG msg{};
    while (GetMessage(&msg, nullptr, 0, 0) > 0) {
        HWND targets[] = {m_main, StatusDialog(), m_wizard};
        bool handled = false;
        for (HWND target : targets)
            if (target && IsWindow(target) && IsDialogMessage(target, &msg)) {
                handled = true;
                break;
            }
        if (!handled) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

std::string CStatusTool::Text(UINT id) const
{
    char text[1024] = "";
    LoadString(m_resources, id, text, sizeof text);
    return text;
}

int CStatusTool::Ask(UINT textId, UINT type) const
{
    return MessageBox(m_main, Text(textId).c_str(), m_title.c_str(), type);
}

INT_PTR CALLBACK CStatusTool::MainProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CStatusTool*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CStatusTool*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        self->m_main = dialog;
    }
    return self ? self->OnMessage(message, wParam, lParam) : FALSE;
}

INT_PTR CStatusTool::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInit();
        return FALSE;  // the focus is set
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_VORBREG_PRODUCTS:
            if (HIWORD(wParam) == LBN_SELCHANGE)
                OnSelectionChange();
            return TRUE;
        case IDC_VORBREG_REGISTER: OnRegister(); return TRUE;
        case IDC_VORBREG_STATUS: OnStatus(); return TRUE;
        case IDC_VORBREG_EXIT:
        case IDCANCEL: OnExit(); return TRUE;
        default: break;
        }
        break;
    case VORB_WM_DONE:
        // The wizard has done its work: the buttons work again and the radio follows the status
        // it wrote.
        EnableWindow(GetDlgItem(m_main, IDC_VORBREG_REGISTER), TRUE);
        EnableWindow(GetDlgItem(m_main, IDC_VORBREG_EXIT), TRUE);
        OnSelectionChange();
        return TRUE;
    case WM_CLOSE:
        OnExit();
        return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        SetBkColor(reinterpret_cast<HDC>(wParam), kBackground);
        return reinterpret_cast<INT_PTR>(m_background);
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    default:
        break;
    }
    (void)lParam;
    return FALSE;
}

void CStatusTool::OnInit()
{
    if (HICON icon = LoadIcon(m_resources, MAKEINTRESOURCE(IDI_VORBREG))) {
        SendMessage(m_main, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessage(m_main, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    SetWindowTextA(m_main, m_title.c_str());
    m_background = CreateSolidBrush(kBackground);
    m_font = CreateFont(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
    for (HWND child = GetWindow(m_main, GW_CHILD); child && m_font; child = GetWindow(child, GW_HWNDNEXT))
        SendMessage(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);

    FillList();
    HWND list = GetDlgItem(m_main, IDC_VORBREG_PRODUCTS);
    if (m_listed > 0) {
        SendMessage(list, LB_SETCURSEL, 0, 0);
        OnSelectionChange();
        SetFocus(list);
        return;
    }
    SetFocus(GetDlgItem(m_main, IDC_VORBREG_EXIT));  // Open() says there is nothing and closes
}

void CStatusTool::FillList()
{
    HWND list = GetDlgItem(m_main, IDC_VORBREG_PRODUCTS);
    const std::string& globalList = m_files.globalList;
    auto count = ParseSlotNumber(ReadProfileText(globalList, "PRODLIST", "NUMPROD"));
    m_listed = 0;
    for (int slot = 1; count && slot <= *count; ++slot) {
        std::string name = ReadProfileText(globalList, "PRODLIST", SlotKey("PRODNAME", slot));
        if (name.empty())
            continue;  // a slot without a product has no status to show
        std::string status = ReadProfileText(globalList, name, "STATUS");
        if (!status.empty() && (status[0] == '7' || status[0] == '9'))
            continue;
        LRESULT index = SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        if (index >= 0) {
            SendMessage(list, LB_SETITEMDATA, static_cast<WPARAM>(index), slot);
            ++m_listed;
        }
    }
    SendMessage(list, LB_SETHORIZONTALEXTENT, 600, 0);
}

int CStatusTool::SelectedSlot(std::string* name) const
{
    HWND list = GetDlgItem(m_main, IDC_VORBREG_PRODUCTS);
    LRESULT index = SendMessage(list, LB_GETCURSEL, 0, 0);
    if (index < 0)
        return 0;
    int slot = static_cast<int>(SendMessage(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    if (name)
        *name = ReadProfileText(m_files.globalList, "PRODLIST", SlotKey("PRODNAME", slot));
    return slot;
}

void CStatusTool::OnSelectionChange()
{
    std::string product;
    if (SelectedSlot(&product) == 0)
        return;
    std::string status = ReadProfileText(m_files.localRecord, product, "STATUS");
    CheckRadioButton(m_main, IDC_VORBREG_NOT_YET, IDC_VORBREG_LATER,
                     status == "6" ? IDC_VORBREG_LATER : IDC_VORBREG_NOT_YET);
}

void CStatusTool::OnRegister()
{
    int slot = SelectedSlot();
    if (slot == 0) {
        Ask(IDS_VORBREG_SELECT_PRODUCT, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
        return;
    }
    std::string folder = ReadProfileText(m_files.globalList, "PRODLIST", SlotKey("DEFDIR", slot));
    // The previous wizard goes first: its window, then its library.
    if (m_wizard && IsWindow(m_wizard))
        DestroyWindow(m_wizard);
    m_wizard = nullptr;
    m_wizardLibrary.reset();
    std::string path = FolderWithBackslash(folder) + "vorb.dll";
    auto library = std::make_unique<CWizardLibrary>(path);
    if (!library->IsLoaded() || !library->Register()) {
        MessageBox(m_main, "Could not locate VORB.DLL", path.c_str(), MB_OK | MB_ICONINFORMATION);
        return;
    }
    int mode = IsDlgButtonChecked(m_main, IDC_VORBREG_NOT_YET) == BST_CHECKED ? VORB_MODE_NEW : VORB_MODE_OPEN;
    m_wizardLibrary = std::move(library);
    m_wizard = m_wizardLibrary->Register()(m_instance, m_main, 0, folder.empty() ? nullptr : folder.c_str(), mode);
    if (m_wizard && IsWindow(m_wizard)) {
        // Until the wizard says it is done (VORB_WM_DONE) it owns the product's registration.
        EnableWindow(GetDlgItem(m_main, IDC_VORBREG_REGISTER), FALSE);
        EnableWindow(GetDlgItem(m_main, IDC_VORBREG_EXIT), FALSE);
    }
}

void CStatusTool::OnStatus()
{
    std::string product;
    if (SelectedSlot(&product) == 0) {
        Ask(IDS_VORBREG_SELECT_PRODUCT, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
        return;
    }
    m_status.reset();
    m_status = std::make_unique<CProductStatusDialog>(m_resources, m_main, m_files.globalList, product);
}

void CStatusTool::OnExit()
{
    if (!IsWindowEnabled(GetDlgItem(m_main, IDC_VORBREG_EXIT)))
        return;  // the wizard is still open
    if (Ask(IDS_VORBREG_QUIT, MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL) == IDYES)
        DestroyWindow(m_main);
}

void CStatusTool::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_main, &paint);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = m_font ? SelectObject(dc, m_font) : nullptr;
    RECT client{};
    GetClientRect(m_main, &client);
    RECT line1{12, 10, client.right - 12, 32};
    RECT line2{12, 34, client.right - 12, 56};
    std::string heading = FormatCount(Text(IDS_VORBREG_HEADING), m_listed);
    std::string more = Text(IDS_VORBREG_HEADING_MORE);
    DrawText(dc, heading.c_str(), -1, &line1, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    DrawText(dc, more.c_str(), -1, &line2, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (old)
        SelectObject(dc, old);
    EndPaint(m_main, &paint);
}

void CStatusTool::OnDestroy()
{
    m_status.reset();
    if (m_wizard && IsWindow(m_wizard))
        DestroyWindow(m_wizard);
    m_wizard = nullptr;
    if (m_font)
        DeleteObject(m_font);
    if (m_background)
        DeleteObject(m_background);
    m_font = nullptr;
    m_background = nullptr;
    SetWindowLongPtrA(m_main, DWLP_USER, 0);
    m_main = nullptr;
    PostQuitMessage(0);
}

int RunStatusTool(HINSTANCE instance, LPCSTR commandLine)
{
    CInstanceMutex mutex("VORBREG");
    if (!mutex.IsFirstInstance())
        return 0;
    CStatusTool tool(instance, commandLine);
    if (!tool.Open())
        return 1;
    return tool.Run();
}

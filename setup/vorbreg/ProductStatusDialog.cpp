// The registration status tool's status dialog.
#include "vorbreg/ProductStatusDialog.h"

#include "common/RegistrationFiles.h"

#include <vorbregr.h>

namespace {

bool AllDigits(const std::string& text)
{
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return !text.empty();
}

}  // namespace

UINT CProductStatusDialog::StatusTextId(const std::string& status)
{
    if (status == "4" || status == "6")
        return IDS_VORBREG_NOT_REGISTERED;
    if (status == "5" || status == "7")
        return IDS_VORBREG_REGISTERED;
    if (status == "8")
        return IDS_VORBREG_PENDING;
    if (status == "9")
        return IDS_VORBREG_UNINSTALLED;
    return IDS_VORBREG_UNKNOWN;
}

std::string CProductStatusDialog::InstallDateText(const std::string& installDate)
{
    if (installDate.size() != 8 || !AllDigits(installDate))
        return installDate;
    SYSTEMTIME date{};
    date.wYear = static_cast<WORD>(std::stoi(installDate.substr(0, 4)));
    date.wMonth = static_cast<WORD>(std::stoi(installDate.substr(4, 2)));
    date.wDay = static_cast<WORD>(std::stoi(installDate.substr(6, 2)));
    char text[64] = "";
    if (GetDateFormat(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, text, sizeof text) == 0)
        return installDate;
    return text;
}

CProductStatusDialog::CProductStatusDialog(HMODULE resources, HWND owner, const std::string& list,
                                           const std::string& product)
    : m_resources(resources), m_list(list), m_product(product)
{
    m_dialog = CreateDialogParam(resources, MAKEINTRESOURCE(IDD_VORBREG_STATUS), owner, DialogProc,
                                 reinterpret_cast<LPARAM>(this));
    if (m_dialog)
        ShowWindow(m_dialog, SW_SHOW);
}

CProductStatusDialog::~CProductStatusDialog()
{
    if (m_dialog && IsWindow(m_dialog))
        DestroyWindow(m_dialog);
}

HWND CProductStatusDialog::Window() const
{
    return m_dialog && IsWindow(m_dialog) ? m_dialog : nullptr;
}

std::string CProductStatusDialog::Text(UINT id) const
{
    char text[1024] = "";
    LoadString(m_resources, id, text, sizeof text);
    return text;
}

INT_PTR CALLBACK CProductStatusDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CProductStatusDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        self = reinterpret_cast<CProductStatusDialog*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        std::string status = ReadProfileText(self->m_list, self->m_product, "STATUS");
        std::string date = ReadProfileText(self->m_list, self->m_product, "INSTALLDATE");
        std::string regnum = ReadProfileText(self->m_list, self->m_product, "REGNUM");
        SetDlgItemTextA(dialog, IDC_VORBREG_STATUS_TEXT, self->Text(StatusTextId(status)).c_str());
        SetDlgItemTextA(dialog, IDC_VORBREG_INSTALL_DATE,
                        date.empty() ? self->Text(IDS_VORBREG_NO_INSTALL_DATE).c_str() : InstallDateText(date).c_str());
        SetDlgItemTextA(dialog, IDC_VORBREG_REGNUM,
                        regnum.empty() ? self->Text(IDS_VORBREG_NO_REGNUM).c_str() : regnum.c_str());
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            DestroyWindow(dialog);
            return TRUE;
        }
        break;
    case WM_CLOSE:
        DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        if (self)
            self->m_dialog = nullptr;
        return FALSE;
    default:
        break;
    }
    return FALSE;
}

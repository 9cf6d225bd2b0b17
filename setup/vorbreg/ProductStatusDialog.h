// The registration status tool's status dialog: one product's status text, install date (the
// system's short date) and registration number, from the product list's section of the product.
#pragma once

#include <windows.h>

#include <string>

class CProductStatusDialog {
public:
    // The string id of the status text for a status value: "4" and "6" not registered, "5" and
    // "7" registered, "8" sent and not yet confirmed, "9" uninstalled, anything else unknown.
    static UINT StatusTextId(const std::string& status);
    // "yyyymmdd" as the system's short date; the text as it stands when it is no such date.
    static std::string InstallDateText(const std::string& installDate);

    // Opens the modeless dialog for the product's section `product` of `list`, owned by `owner`.
    CProductStatusDialog(HMODULE resources, HWND owner, const std::string& list, const std::string& product);
    ~CProductStatusDialog();
    CProductStatusDialog(const CProductStatusDialog&) = delete;
    CProductStatusDialog& operator=(const CProductStatusDialog&) = delete;

    // The dialog's window while it is open, else nullptr.
    HWND Window() const;

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    std::string Text(UINT id) const;

    HMODULE m_resources;
    std::string m_list;
    std::string m_product;
    HWND m_dialog = nullptr;
};

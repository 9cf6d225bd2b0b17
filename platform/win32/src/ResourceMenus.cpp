// Menus and accelerator tables from their resources.
#include <windows.h>

#if __has_include(<winuser.h>)

#include <host/MenuTemplate.h>

#include <vector>

namespace {

bool AppendItems(HMENU menu, const std::vector<host::MenuTemplateItem>& items)
{
    for (const host::MenuTemplateItem& item : items) {
        if (item.flags & MF_POPUP) {
            HMENU popup = CreatePopupMenu();
            if (!popup || !AppendItems(popup, item.children) ||
                !AppendMenu(menu, item.flags, reinterpret_cast<UINT_PTR>(popup), item.text.c_str()))
                return false;
        } else if (item.flags & MF_SEPARATOR) {
            if (!AppendMenu(menu, MF_SEPARATOR, 0, nullptr))
                return false;
        } else if (!AppendMenu(menu, item.flags, item.id, item.text.c_str())) {
            return false;
        }
    }
    return true;
}

HMENU MenuFromTemplate(const void* data, std::size_t size)
{
    auto items = host::ParseMenuTemplate(data, size);
    if (!items) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    HMENU menu = CreateMenu();
    if (menu && !AppendItems(menu, *items)) {
        DestroyMenu(menu);
        return nullptr;
    }
    return menu;
}

}  // namespace

HMENU WINAPI LoadMenu(HINSTANCE hInstance, LPCSTR lpMenuName)
{
    HRSRC menu = FindResource(hInstance, lpMenuName, RT_MENU);
    return menu ? MenuFromTemplate(LockResource(LoadResource(hInstance, menu)), SizeofResource(hInstance, menu)) : nullptr;
}

HMENU WINAPI LoadMenuIndirect(const MENUTEMPLATE* lpMenuTemplate)
{
    // The template carries no size of its own: it ends with its last item.
    return lpMenuTemplate ? MenuFromTemplate(lpMenuTemplate, static_cast<std::size_t>(1) << 24) : nullptr;
}

HACCEL WINAPI LoadAccelerators(HINSTANCE hInstance, LPCSTR lpTableName)
{
    HRSRC resource = FindResource(hInstance, lpTableName, RT_ACCELERATOR);
    if (!resource)
        return nullptr;
    auto data = static_cast<const BYTE*>(LockResource(LoadResource(hInstance, resource)));
    DWORD size = SizeofResource(hInstance, resource);
    std::vector<ACCEL> entries;
    for (DWORD at = 0; at + 8 <= size; at += 8) {
        const BYTE* e = data + at;
        entries.push_back(ACCEL{static_cast<BYTE>(e[0] & 0x7F), static_cast<WORD>(e[2] | (e[3] << 8)),
                                static_cast<WORD>(e[4] | (e[5] << 8))});
        if (e[0] & 0x80)
            break;
    }
    if (entries.empty()) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return CreateAcceleratorTable(entries.data(), static_cast<int>(entries.size()));
}

#endif

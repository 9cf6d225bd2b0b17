// Menu templates (as a MENU resource holds them) read into a plain structure for the window
// system's menus. Text is Windows-1252.
//
// Not part of the platform's interface: the menu code and tests use it.
#pragma once

#include <windef.h>

#include <optional>
#include <string>
#include <vector>

namespace host {

struct MenuTemplateItem {
    std::string text;
    UINT id = 0;        // 0 for pop-ups and separators
    UINT flags = 0;     // MF_ flags: MF_POPUP, MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_MENUBREAK,
                        // MF_MENUBARBREAK, MF_HELP; MF_SEPARATOR (0x800) for a separator
    std::vector<MenuTemplateItem> children;  // pop-ups
};

// Reads a template; nothing when it is malformed or runs past `size`.
std::optional<std::vector<MenuTemplateItem>> ParseMenuTemplate(const void* data, std::size_t size);

}  // namespace host

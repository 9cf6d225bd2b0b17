// Dialog templates (DLGTEMPLATE and DLGTEMPLATEEX, as a DIALOG or DIALOGEX resource holds
// them) read into a plain structure for the dialog manager. Text is Windows-1252.
//
// Not part of the platform's interface: the dialog manager and tests use it.
#pragma once

#include <windef.h>

#include <optional>
#include <string>
#include <vector>

namespace host {

// A field that holds a name or an ordinal (menu, class, control text of an icon).
struct TemplateName {
    WORD ordinal = 0;  // non-zero: the field was an ordinal
    std::string text;

    bool IsOrdinal() const { return ordinal != 0; }
    bool IsEmpty() const { return ordinal == 0 && text.empty(); }
};

struct DialogControlTemplate {
    std::string className;  // predefined classes by name: "Button", "Edit", "Static", "ListBox",
                            // "ScrollBar", "ComboBox"; others as written
    TemplateName text;
    DWORD id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    std::vector<BYTE> creationData;
};

struct DialogTemplate {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    TemplateName menu;
    TemplateName className;
    std::string caption;
    bool hasFont = false;  // DS_SETFONT (or DS_SHELLFONT)
    WORD pointSize = 0;
    WORD weight = 0;
    bool italic = false;
    BYTE charset = 0;
    std::string faceName;
    std::vector<DialogControlTemplate> controls;
};

// Reads a template; nothing when it is malformed or runs past `size`.
std::optional<DialogTemplate> ParseDialogTemplate(const void* data, std::size_t size);

// The dialog's base units in pixels (x: average character width, y: character height) from its
// font: the average width of the letters A to Z and a to z, rounded, and the font's height, as
// the dialog manager measures them. A template without a font uses the system font's (8, 16).
SIZE DialogBaseUnits(const DialogTemplate& dialog);

// Dialog units to pixels with the dialog font's base units (average character width and
// height), as MapDialogRect does: x * baseX / 4, y * baseY / 8.
RECT DialogUnitsToPixels(const RECT& units, int baseUnitX, int baseUnitY);

}  // namespace host

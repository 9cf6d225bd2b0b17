// A dialog template built in memory: a DLGTEMPLATE with a font (DS_SETFONT) followed by its
// DLGITEMTEMPLATEs, each DWORD aligned, ready for DialogBoxIndirectParam or
// CreateDialogIndirectParam. Positions and sizes are in dialog units; a dialog procedure that
// lays itself out in pixels may leave them 0.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace host {

class DialogTemplateBuilder {
public:
    DialogTemplateBuilder(DWORD style, short x, short y, short cx, short cy, const std::string& caption,
                          WORD pointSize = 8, const std::string& face = "MS Sans Serif")
    {
        Dword(style | DS_SETFONT);
        Dword(0);
        countAt_ = bytes_.size();
        Word(0);
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(0);  // no menu
        Word(0);  // the dialog class
        Text(caption);
        Word(pointSize);
        Text(face);
    }

    DialogTemplateBuilder& Control(const std::string& cls, const std::string& text, WORD id, DWORD style, short x, short y,
                                   short cx, short cy)
    {
        while (bytes_.size() % 4)
            bytes_.push_back(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(id);
        Text(cls);
        Text(text);
        Word(0);  // no creation data
        WORD n;
        std::memcpy(&n, bytes_.data() + countAt_, 2);
        ++n;
        std::memcpy(bytes_.data() + countAt_, &n, 2);
        return *this;
    }

    LPCDLGTEMPLATEA Get()
    {
        storage_.assign((bytes_.size() + 3) / 4, 0);
        std::memcpy(storage_.data(), bytes_.data(), bytes_.size());
        return reinterpret_cast<LPCDLGTEMPLATEA>(storage_.data());
    }

private:
    void Word(WORD w)
    {
        bytes_.push_back(static_cast<unsigned char>(w & 0xFF));
        bytes_.push_back(static_cast<unsigned char>(w >> 8));
    }
    void Dword(DWORD d)
    {
        Word(static_cast<WORD>(d & 0xFFFF));
        Word(static_cast<WORD>(d >> 16));
    }
    void Text(const std::string& s)
    {
        for (unsigned char c : s)
            Word(c);
        Word(0);
    }

    std::vector<unsigned char> bytes_;
    std::vector<DWORD> storage_;
    size_t countAt_ = 0;
};

}  // namespace host

// The window procedures of the standard controls and helpers they share. Not installed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace controls {

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ScrollBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK RichEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ProgressProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// WM_COMMAND notification to the parent: (id, code) and the control's handle.
void Notify(HWND hwnd, WORD code);
// WM_CTLCOLOR... to the parent; the brush it returns, or the default for that kind of control.
HBRUSH ControlColor(HWND hwnd, HDC hdc, UINT msg);
// The font set with WM_SETFONT (stored by the control), or the system font.
HFONT FontOf(HFONT set);

// Each control keeps its state behind the pointer in its window extra bytes.
template <class State>
State& StateOf(HWND hwnd)
{
    auto* s = reinterpret_cast<State*>(GetWindowLongPtrA(hwnd, 0));
    if (!s) {
        s = new State;
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(s));
    }
    return *s;
}

template <class State>
void DropState(HWND hwnd)
{
    delete reinterpret_cast<State*>(GetWindowLongPtrA(hwnd, 0));
    SetWindowLongPtrA(hwnd, 0, 0);
}

// Tab stops of an edit (EM_SETTABSTOPS) or a list box (LB_SETTABSTOPS), kept in dialog template
// units and turned into pixels for the font selected into a DC: a unit is a quarter of the
// font's average character width. One value means a stop every so many units; several are the
// stops themselves. The default is a stop every 32 units (eight average characters).
struct TabStops {
    std::vector<int> units{32};
    // count 0: every `emptyUnits`; 1: every *stops units; more: the list of stops.
    void Set(int count, const INT* stops, int emptyUnits);
    // In pixels, as TabbedTextOut takes them (origin at the start of the text).
    std::vector<INT> Pixels(HDC hdc) const;
};

// The window's text (WM_GETTEXT).
std::string TextOf(HWND hwnd);

}  // namespace controls

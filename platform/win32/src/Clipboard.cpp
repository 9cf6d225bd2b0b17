// The clipboard: what was set is kept in the order it was set; global memory blocks and GDI
// objects handed over belong to the clipboard until it is emptied.
//
// Across processes: when a program closes the clipboard after changing it (or renders a format
// it promised), its contents go to the store the user's processes share (ClipboardStore.h);
// another process reads them from there the next time it looks at the clipboard, synthesised
// formats included. A format promised by a program of another process is rendered by sending
// WM_RENDERFORMAT to its owner window; when the owner window goes, it is asked for everything it
// still owes (WM_RENDERALLFORMATS) and promises it does not keep are dropped.
#include "ClipboardStore.h"
#include "GdiInternal.h"

#include <errhandlingapi.h>
#include <heapapi.h>
#include <host/Clipboard.h>
#include <winclip.h>
#include <winerror.h>
#include <winuser.h>

#include <algorithm>
#include <cstring>
#include <strings.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Entry {
    UINT format;
    HANDLE data;
    bool synthesized;
};

struct Clipboard {
    bool open = false;
    HWND openBy = nullptr;
    HWND owner = nullptr;
    std::vector<Entry> entries;
    DWORD sequence = 1;
    std::function<void(HWND, UINT)> render;
    std::function<void(HWND)> destroy;
    std::uint32_t seenShared = 0;  // the shared clipboard's sequence last published or read
    bool foreignOwner = false;     // the owner is a window of another process
    bool changed = false;          // changed since it was opened: shared when it closes
};

Clipboard& Clip()
{
    static auto* c = new Clipboard;
    return *c;
}

bool IsGdiFormat(UINT f)
{
    return f == CF_BITMAP || f == CF_PALETTE || f == CF_DSPBITMAP || f == CF_ENHMETAFILE ||
           f == CF_DSPENHMETAFILE || (f >= CF_GDIOBJFIRST && f <= CF_GDIOBJLAST);
}

void Free(const Entry& e)
{
    if (!e.data)
        return;
    if (IsGdiFormat(e.format))
        DeleteObject(e.data);
    else if (e.format < CF_PRIVATEFIRST || e.format > CF_PRIVATELAST)
        GlobalFree(e.data);
}

Entry* Find(UINT f)
{
    for (auto& e : Clip().entries)
        if (e.format == f)
            return &e;
    return nullptr;
}

void FreeAll()
{
    for (auto& e : Clip().entries)
        Free(e);
    Clip().entries.clear();
}

bool RequireOpen()
{
    if (!Clip().open) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return false;
    }
    return true;
}

// The formats that can be made from what is on the clipboard, for a format that is not.
std::vector<UINT> Sources(UINT f)
{
    switch (f) {
    case CF_DIB: return {CF_BITMAP};
    case CF_BITMAP: return {CF_DIB};
    case CF_TEXT: return {CF_OEMTEXT, CF_UNICODETEXT};
    case CF_OEMTEXT: return {CF_TEXT, CF_UNICODETEXT};
    case CF_UNICODETEXT: return {CF_TEXT, CF_OEMTEXT};
    default: return {};
    }
}

HGLOBAL CopyBlock(const void* p, size_t n)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, n);
    if (!h)
        return nullptr;
    std::memcpy(GlobalLock(h), p, n);
    GlobalUnlock(h);
    return h;
}

const char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                            0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                            0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

HANDLE Synthesize(UINT f, const Entry& src)
{
    if ((f == CF_TEXT || f == CF_OEMTEXT) && (src.format == CF_TEXT || src.format == CF_OEMTEXT)) {
        const char* p = static_cast<const char*>(GlobalLock(src.data));
        if (!p)
            return nullptr;
        size_t n = strnlen(p, GlobalSize(src.data));
        std::string s(p, n);
        GlobalUnlock(src.data);
        return CopyBlock(s.c_str(), s.size() + 1);
    }
    if (f == CF_UNICODETEXT && (src.format == CF_TEXT || src.format == CF_OEMTEXT)) {
        const char* p = static_cast<const char*>(GlobalLock(src.data));
        if (!p)
            return nullptr;
        size_t n = strnlen(p, GlobalSize(src.data));
        std::u16string w;
        for (size_t i = 0; i < n; ++i) {
            unsigned char c = static_cast<unsigned char>(p[i]);
            w += (c >= 0x80 && c < 0xA0) ? kHigh[c - 0x80] : char16_t(c);
        }
        GlobalUnlock(src.data);
        return CopyBlock(w.c_str(), (w.size() + 1) * sizeof(char16_t));
    }
    if ((f == CF_TEXT || f == CF_OEMTEXT) && src.format == CF_UNICODETEXT) {
        const char16_t* p = static_cast<const char16_t*>(GlobalLock(src.data));
        if (!p)
            return nullptr;
        size_t max = GlobalSize(src.data) / sizeof(char16_t);
        std::string s;
        for (size_t i = 0; i < max && p[i]; ++i) {
            char16_t c = p[i];
            char b = '?';
            if (c < 0x80 || (c >= 0xA0 && c < 0x100))
                b = char(c);
            else
                for (int k = 0; k < 32; ++k)
                    if (kHigh[k] == c)
                        b = char(0x80 + k);
            s += b;
        }
        GlobalUnlock(src.data);
        return CopyBlock(s.c_str(), s.size() + 1);
    }
    if (f == CF_DIB && src.format == CF_BITMAP) {
        HDC screen = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
        BITMAP bm{};
        GetObject(src.data, sizeof bm, &bm);
        int bpp = bm.bmBitsPixel == 1 ? 1 : bm.bmBitsPixel <= 8 ? 8 : 24;
        int colors = bpp <= 8 ? 1 << bpp : 0;
        int stride = ((bm.bmWidth * bpp + 31) / 32) * 4;
        size_t header = sizeof(BITMAPINFOHEADER) + size_t(colors) * sizeof(RGBQUAD);
        size_t total = header + size_t(stride) * bm.bmHeight;
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, total);
        auto* bi = static_cast<BITMAPINFO*>(GlobalLock(h));
        bi->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), bm.bmWidth, bm.bmHeight, 1, WORD(bpp), BI_RGB,
                                         DWORD(stride * bm.bmHeight), 0, 0, DWORD(colors), 0};
        GetDIBits(screen, HBITMAP(src.data), 0, UINT(bm.bmHeight), reinterpret_cast<BYTE*>(bi) + header, bi,
                  DIB_RGB_COLORS);
        bi->bmiHeader.biClrUsed = DWORD(colors);
        GlobalUnlock(h);
        DeleteDC(screen);
        return h;
    }
    if (f == CF_BITMAP && src.format == CF_DIB) {
        auto* bi = static_cast<const BITMAPINFO*>(GlobalLock(src.data));
        if (!bi)
            return nullptr;
        gdi::DibView v;
        HBITMAP hbm = nullptr;
        if (gdi::ParseDib(bi, DIB_RGB_COLORS, nullptr, v) && v.headerBytes + v.imageBytes <= GlobalSize(src.data)) {
            HDC screen = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
            hbm = CreateDIBitmap(screen, &bi->bmiHeader, CBM_INIT, reinterpret_cast<const BYTE*>(bi) + v.headerBytes,
                                 bi, DIB_RGB_COLORS);
            DeleteDC(screen);
        }
        GlobalUnlock(src.data);
        return hbm;
    }
    return nullptr;
}


// ---- Sharing with the other processes ------------------------------------------------------------

// What an entry gives the other processes: its bytes (a bitmap as a packed DIB, a palette as its
// LOGPALETTE), a promise, or nothing (handles that only mean something here).
bool Export(const Entry& e, clipstore::Item& item)
{
    item.format = e.format;
    if (!e.data) {
        item.promised = true;
        return true;
    }
    if (e.format == CF_BITMAP) {
        HANDLE dib = Synthesize(CF_DIB, e);
        if (!dib)
            return false;
        const char* p = static_cast<const char*>(GlobalLock(dib));
        item.bytes.assign(p, GlobalSize(dib));
        GlobalUnlock(dib);
        GlobalFree(dib);
        return true;
    }
    if (e.format == CF_PALETTE) {
        UINT n = GetPaletteEntries(HPALETTE(e.data), 0, 0, nullptr);
        std::vector<PALETTEENTRY> colours(n);
        if (n > 0)
            GetPaletteEntries(HPALETTE(e.data), 0, n, colours.data());
        LOGPALETTE head{0x300, WORD(n), {}};
        item.bytes.assign(reinterpret_cast<const char*>(&head), offsetof(LOGPALETTE, palPalEntry));
        item.bytes.append(reinterpret_cast<const char*>(colours.data()), n * sizeof(PALETTEENTRY));
        return true;
    }
    if (IsGdiFormat(e.format) || (e.format >= CF_PRIVATEFIRST && e.format <= CF_PRIVATELAST))
        return false;
    const char* p = static_cast<const char*>(GlobalLock(e.data));
    if (!p)
        return false;
    item.bytes.assign(p, GlobalSize(e.data));
    GlobalUnlock(e.data);
    return true;
}

// The handle an item of another process becomes here.
HANDLE Import(const clipstore::Item& item)
{
    if (item.promised)
        return nullptr;
    if (item.format == CF_BITMAP) {
        HGLOBAL dib = CopyBlock(item.bytes.data(), item.bytes.size());
        if (!dib)
            return nullptr;
        Entry source{CF_DIB, dib, false};
        HANDLE bitmap = Synthesize(CF_BITMAP, source);
        GlobalFree(dib);
        return bitmap;
    }
    if (item.format == CF_PALETTE) {
        if (item.bytes.size() < offsetof(LOGPALETTE, palPalEntry))
            return nullptr;
        WORD n = 0;
        std::memcpy(&n, item.bytes.data() + offsetof(LOGPALETTE, palNumEntries), sizeof n);
        if (item.bytes.size() < offsetof(LOGPALETTE, palPalEntry) + size_t(n) * sizeof(PALETTEENTRY) || n == 0)
            return nullptr;
        std::vector<char> copy(item.bytes.begin(), item.bytes.end());
        return CreatePalette(reinterpret_cast<const LOGPALETTE*>(copy.data()));
    }
    return CopyBlock(item.bytes.data(), item.bytes.size());
}

// Gives this process's clipboard to the others.
void Publish()
{
    Clipboard& c = Clip();
    std::vector<clipstore::Item> items;
    for (const Entry& e : c.entries) {
        if (e.synthesized)
            continue;
        clipstore::Item item;
        if (Export(e, item))
            items.push_back(std::move(item));
    }
    c.seenShared = clipstore::Publish(c.foreignOwner ? nullptr : c.owner, items);
    c.changed = false;
}

// Takes what another process put on the shared clipboard since this one last looked.
void Refresh()
{
    Clipboard& c = Clip();
    clipstore::Snapshot snapshot;
    if (!clipstore::ReadForeign(c.seenShared, snapshot))
        return;
    FreeAll();
    for (const clipstore::Item& item : snapshot.items) {
        HANDLE h = Import(item);
        if (h || item.promised)
            c.entries.push_back(Entry{item.format, h, false});
    }
    c.owner = reinterpret_cast<HWND>(snapshot.owner);
    c.foreignOwner = true;
    c.seenShared = snapshot.sequence;
    ++c.sequence;
}

// Asks the owner to render a promised format: the test's handler, else WM_RENDERFORMAT to the
// owner window (in this process or another).
void AskOwner(std::unique_lock<std::recursive_mutex>& lk, UINT format)
{
    Clipboard& c = Clip();
    auto cb = c.render;
    HWND owner = c.owner;
    bool foreign = c.foreignOwner;
    lk.unlock();
    if (cb && !foreign)
        cb(owner, format);
    else if (owner && IsWindow(owner))
        SendMessageA(owner, WM_RENDERFORMAT, format, 0);
    lk.lock();
    if (!foreign)
        return;
    // Only the format asked for is taken from what the owner published: the handles this
    // process has handed out for the others stay valid while the clipboard is open.
    clipstore::Snapshot snapshot;
    if (!clipstore::ReadForeign(c.seenShared, snapshot))
        return;
    c.seenShared = snapshot.sequence;
    Entry* e = Find(format);
    if (!e || e->data)
        return;
    for (const clipstore::Item& item : snapshot.items)
        if (item.format == format && !item.promised) {
            e->data = Import(item);
            break;
        }
}

} // namespace

namespace host {

void SetClipboardRenderHandler(std::function<void(HWND, UINT)> handler)
{
    std::lock_guard lk(gdi::Lock());
    Clip().render = std::move(handler);
}

void SetClipboardDestroyHandler(std::function<void(HWND)> handler)
{
    std::lock_guard lk(gdi::Lock());
    Clip().destroy = std::move(handler);
}

void ResetClipboard()
{
    std::lock_guard lk(gdi::Lock());
    FreeAll();
    Clip().open = false;
    Clip().openBy = nullptr;
    Clip().owner = nullptr;
    Clip().foreignOwner = false;
    Clip().changed = false;
}

} // namespace host

BOOL WINAPI OpenClipboard(HWND hwnd)
{
    std::lock_guard lk(gdi::Lock());
    Clipboard& c = Clip();
    if (c.open && c.openBy != hwnd) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    c.open = true;
    c.openBy = hwnd;
    c.changed = false;
    Refresh();
    return TRUE;
}

BOOL WINAPI CloseClipboard()
{
    std::lock_guard lk(gdi::Lock());
    if (!RequireOpen())
        return FALSE;
    if (Clip().changed)
        Publish();
    Clip().open = false;
    Clip().openBy = nullptr;
    return TRUE;
}

BOOL WINAPI EmptyClipboard()
{
    std::unique_lock lk(gdi::Lock());
    if (!RequireOpen())
        return FALSE;
    Clipboard& c = Clip();
    if (c.owner && c.destroy && !c.foreignOwner) {
        // The owner is told without the lock held: it may live on another thread.
        auto cb = c.destroy;
        HWND owner = c.owner;
        lk.unlock();
        cb(owner);
        lk.lock();
    }
    FreeAll();
    c.owner = c.openBy;
    c.foreignOwner = false;
    c.changed = true;
    ++c.sequence;
    return TRUE;
}

HANDLE WINAPI SetClipboardData(UINT format, HANDLE data)
{
    std::lock_guard lk(gdi::Lock());
    Clipboard& c = Clip();
    // An owner rendering a promised format may set it while another program holds the clipboard.
    Entry* e = Find(format);
    bool rendering = e && !e->data && data;
    if (!rendering && !RequireOpen())
        return nullptr;
    if (format == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (e) {
        if (e->data != data)
            Free(*e);
        e->data = data;
        e->synthesized = false;
    } else {
        c.entries.push_back(Entry{format, data, false});
    }
    ++c.sequence;
    // A format rendered on request goes to the other processes at once (they wait for it).
    if (rendering && !c.open)
        Publish();
    else
        c.changed = true;
    return data;
}

HANDLE WINAPI GetClipboardData(UINT format)
{
    std::unique_lock lk(gdi::Lock());
    if (!RequireOpen())
        return nullptr;
    Clipboard& c = Clip();
    // Promised formats are rendered by their owner, asked without the lock held.
    auto canAsk = [&] { return c.owner != nullptr || (c.render && !c.foreignOwner); };
    Entry* e = Find(format);
    if (e && !e->data && canAsk()) {
        AskOwner(lk, format);
        e = Find(format);
    }
    if (e)
        return e->data;
    for (UINT s : Sources(format)) {
        Entry* src = Find(s);
        if (!src || src->synthesized)
            continue;
        if (!src->data && canAsk()) {
            AskOwner(lk, s);
            src = Find(s);
        }
        if (!src || !src->data)
            continue;
        HANDLE h = Synthesize(format, *src);
        if (!h)
            continue;
        c.entries.push_back(Entry{format, h, true});
        return h;
    }
    return nullptr;
}

BOOL WINAPI IsClipboardFormatAvailable(UINT format)
{
    std::lock_guard lk(gdi::Lock());
    if (!Clip().open)
        Refresh();
    if (Find(format))
        return TRUE;
    for (UINT s : Sources(format))
        if (Entry* e = Find(s); e && !e->synthesized)
            return TRUE;
    return FALSE;
}

UINT WINAPI EnumClipboardFormats(UINT format)
{
    std::lock_guard lk(gdi::Lock());
    if (!RequireOpen())
        return 0;
    // Formats in the order they were set, then the ones that could be made from them.
    std::vector<UINT> all;
    for (auto& e : Clip().entries)
        all.push_back(e.format);
    for (UINT f : {UINT(CF_TEXT), UINT(CF_OEMTEXT), UINT(CF_UNICODETEXT), UINT(CF_DIB), UINT(CF_BITMAP)})
        if (std::find(all.begin(), all.end(), f) == all.end() && IsClipboardFormatAvailable(f))
            all.push_back(f);
    SetLastError(ERROR_SUCCESS);
    if (format == 0)
        return all.empty() ? 0 : all.front();
    auto it = std::find(all.begin(), all.end(), format);
    if (it == all.end() || ++it == all.end())
        return 0;
    return *it;
}

int WINAPI CountClipboardFormats()
{
    std::lock_guard lk(gdi::Lock());
    if (!Clip().open)
        Refresh();
    int n = 0;
    for (auto& e : Clip().entries)
        n += e.synthesized ? 0 : 1;
    return n;
}

UINT WINAPI RegisterClipboardFormatA(LPCSTR name)
{
    std::lock_guard lk(gdi::Lock());
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    UINT format = clipstore::RegisterName(name);
    if (format == 0)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return format;
}

int WINAPI GetClipboardFormatNameA(UINT format, LPSTR out, int max)
{
    std::lock_guard lk(gdi::Lock());
    std::string n;
    if (!out || max <= 0 || !clipstore::NameOf(format, n))
        return 0;
    int len = std::min<int>(int(n.size()), max - 1);
    std::memcpy(out, n.data(), size_t(len));
    out[len] = 0;
    return len;
}

HWND WINAPI GetClipboardOwner()
{
    std::lock_guard lk(gdi::Lock());
    if (!Clip().open)
        Refresh();
    return Clip().owner;
}

HWND WINAPI GetOpenClipboardWindow()
{
    std::lock_guard lk(gdi::Lock());
    return Clip().open ? Clip().openBy : nullptr;
}

DWORD WINAPI GetClipboardSequenceNumber()
{
    std::lock_guard lk(gdi::Lock());
    if (!Clip().open)
        Refresh();
    return Clip().sequence;
}

// The window system calls this when a window is being destroyed: the clipboard's owner is asked
// to render every format it promised (WM_RENDERALLFORMATS); what it leaves unrendered is dropped,
// and the others see the result.
void ClipboardOwnerDestroying(HWND hwnd)
{
    std::unique_lock lk(gdi::Lock());
    Clipboard& c = Clip();
    if (!hwnd || c.owner != hwnd || c.foreignOwner)
        return;
    bool promised = std::any_of(c.entries.begin(), c.entries.end(), [](const Entry& e) { return !e.data; });
    if (promised) {
        lk.unlock();
        SendMessageA(hwnd, WM_RENDERALLFORMATS, 0, 0);
        lk.lock();
        c.entries.erase(std::remove_if(c.entries.begin(), c.entries.end(), [](const Entry& e) { return !e.data; }),
                        c.entries.end());
    }
    if (c.owner == hwnd) {
        c.owner = nullptr;
        if (promised && !c.open)
            Publish();
    }
}

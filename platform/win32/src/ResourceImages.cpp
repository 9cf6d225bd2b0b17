// Resources as objects of the GDI and the window system: bitmaps, icons and cursors, menus and
// accelerator tables.
#include <windows.h>

#if __has_include(<wingdi.h>) && __has_include(<winuser.h>)

#include <host/IconResources.h>
#include <host/Paths.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace {

// ---- icon objects ----

struct IconObject {
    BOOL icon = TRUE;
    DWORD hotX = 0, hotY = 0;
    int width = 0, height = 0;
    HBITMAP color = nullptr;  // nullptr for a monochrome icon drawn from its mask alone
    HBITMAP mask = nullptr;   // monochrome: 1 where the background shows through
    bool shared = false;
};

std::mutex& IconLock()
{
    static auto* lock = new std::mutex;
    return *lock;
}

std::set<IconObject*>& Icons()
{
    static auto* icons = new std::set<IconObject*>;
    return *icons;
}

IconObject* FindIcon(HICON handle)
{
    std::lock_guard<std::mutex> lock(IconLock());
    auto it = Icons().find(reinterpret_cast<IconObject*>(handle));
    return it == Icons().end() ? nullptr : *it;
}

HICON Register(IconObject* object)
{
    std::lock_guard<std::mutex> lock(IconLock());
    Icons().insert(object);
    return reinterpret_cast<HICON>(object);
}

// The display's device context for creating bitmaps of its format.
class ScreenDc {
public:
    ScreenDc() : m_dc(CreateDCA("DISPLAY", nullptr, nullptr, nullptr)) {}
    ~ScreenDc() { DeleteDC(m_dc); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    operator HDC() const { return m_dc; }

private:
    HDC m_dc;
};

std::size_t Stride(LONG width, int bits)
{
    return static_cast<std::size_t>((static_cast<std::int64_t>(width) * bits + 31) / 32) * 4;
}

// A packed DIB checked against its size: header, colour table and rows all inside it. The header
// and colour table are read by copying (resource data need not be aligned for them), into a
// block with room for a full table of 256 colours.
struct PackedDib {
    std::vector<std::uint32_t> header;  // BITMAPINFOHEADER and colour table, then zeros
    const BYTE* bits = nullptr;
    LONG width = 0, height = 0;  // height as the header says (negative: top-down)

    BITMAPINFO* Info() { return reinterpret_cast<BITMAPINFO*>(header.data()); }
};

// An icon image's header gives the height of both its images (colour and mask); only the
// colour rows are checked here.
bool ReadPackedDib(const BYTE* data, std::size_t size, PackedDib& out, bool iconImage = false)
{
    if (size < sizeof(BITMAPINFOHEADER))
        return false;
    BITMAPINFOHEADER header;
    std::memcpy(&header, data, sizeof header);
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > size || header.biWidth <= 0 ||
        header.biHeight == 0 || header.biPlanes != 1)
        return false;
    std::size_t colours = header.biClrUsed ? header.biClrUsed
                          : header.biBitCount <= 8 ? (std::size_t{1} << header.biBitCount)
                          : header.biCompression == BI_BITFIELDS ? 3
                                                                 : 0;
    std::size_t offset = header.biSize + 4 * colours;
    std::size_t rows = static_cast<std::size_t>(header.biHeight < 0 ? -static_cast<std::int64_t>(header.biHeight)
                                                                     : header.biHeight);
    if (iconImage)
        rows /= 2;
    const bool uncompressed = header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS;
    const std::size_t stride = Stride(header.biWidth, header.biBitCount);
    if (uncompressed && rows != 0 && stride > size / rows)
        return false;
    std::size_t need = uncompressed ? stride * rows : header.biSizeImage;
    if (offset > size || need > size - offset)
        return false;
    out.header.assign((std::max<std::size_t>(offset, header.biSize + 256 * sizeof(RGBQUAD)) + 3) / 4, 0);
    std::memcpy(out.header.data(), data, offset);
    out.bits = data + offset;
    out.width = header.biWidth;
    out.height = header.biHeight;
    return true;
}

// A bitmap of the display's format (monochrome with LR_MONOCHROME, a DIB section with
// LR_CREATEDIBSECTION) holding the DIB stretched to cx x cy (0: its own size).
HBITMAP BitmapFromDib(const BITMAPINFO* info, const void* bits, int cx, int cy, UINT flags)
{
    LONG width = info->bmiHeader.biWidth;
    LONG height = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
    int targetWidth = cx ? cx : width, targetHeight = cy ? cy : height;
    ScreenDc screen;
    HBITMAP bitmap = nullptr;
    if ((flags & LR_CREATEDIBSECTION) && !(flags & LR_MONOCHROME)) {
        std::vector<BYTE> header(info->bmiHeader.biSize + 256 * sizeof(RGBQUAD));
        std::memcpy(header.data(), info, std::min<std::size_t>(header.size(), info->bmiHeader.biSize + 256 * 4));
        auto* sectionInfo = reinterpret_cast<BITMAPINFO*>(header.data());
        sectionInfo->bmiHeader.biWidth = targetWidth;
        sectionInfo->bmiHeader.biHeight = info->bmiHeader.biHeight < 0 ? -targetHeight : targetHeight;
        sectionInfo->bmiHeader.biSizeImage = 0;
        void* sectionBits = nullptr;
        bitmap = CreateDIBSection(screen, sectionInfo, DIB_RGB_COLORS, &sectionBits, nullptr, 0);
    } else if (flags & LR_MONOCHROME) {
        bitmap = CreateBitmap(targetWidth, targetHeight, 1, 1, nullptr);
    } else {
        bitmap = CreateCompatibleBitmap(screen, targetWidth, targetHeight);
    }
    if (!bitmap)
        return nullptr;
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, targetWidth, targetHeight, 0, 0, width, height, bits, info, DIB_RGB_COLORS, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

HBITMAP BitmapFromPackedDib(const BYTE* data, std::size_t size, int cx, int cy, UINT flags)
{
    PackedDib dib;
    if (!ReadPackedDib(data, size, dib)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return BitmapFromDib(dib.Info(), dib.bits, cx, cy, flags);
}

// A monochrome DIB header with black (0) and white (1).
struct MonoInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
};

MonoInfo MakeMonoInfo(LONG width, LONG height)
{
    MonoInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.header.biCompression = BI_RGB;
    info.colours[1] = RGBQUAD{255, 255, 255, 0};
    return info;
}

int SystemSize(BOOL icon, bool vertical)
{
    return GetSystemMetrics(icon ? (vertical ? SM_CYICON : SM_CXICON) : (vertical ? SM_CYCURSOR : SM_CXCURSOR));
}

HICON IconFromImage(const BYTE* bits, std::size_t size, BOOL fIcon, int cxDesired, int cyDesired, UINT flags,
                    bool shared)
{
    auto object = std::make_unique<IconObject>();
    object->icon = fIcon;
    if (!fIcon) {
        if (size < 4) {
            SetLastError(ERROR_INVALID_DATA);
            return nullptr;
        }
        object->hotX = static_cast<DWORD>(bits[0] | (bits[1] << 8));
        object->hotY = static_cast<DWORD>(bits[2] | (bits[3] << 8));
        bits += 4;
        size -= 4;
    }
    PackedDib dib;
    if (!ReadPackedDib(bits, size, dib, true) || dib.height < 2 || dib.height % 2) {
        SetLastError(ERROR_INVALID_DATA);  // also PNG images, which this loader does not read
        return nullptr;
    }
    const LONG width = dib.width, height = dib.height / 2;
    BITMAPINFO* colourInfo = dib.Info();
    const int depth = colourInfo->bmiHeader.biBitCount;
    const std::size_t colourBytes = Stride(width, depth) * static_cast<std::size_t>(height);
    const std::size_t maskStride = Stride(width, 1);
    const BYTE* maskBits = dib.bits + colourBytes;
    // The mask follows the colour rows; a 32-bit image may leave it out and rely on its alpha.
    std::size_t available = size - static_cast<std::size_t>(dib.bits - bits);
    std::vector<BYTE> mask(maskStride * static_cast<std::size_t>(height), 0);
    std::vector<BYTE> colours(dib.bits, dib.bits + colourBytes);
    if (available >= colourBytes + mask.size())
        std::memcpy(mask.data(), maskBits, mask.size());
    if (depth == 32) {
        bool anyAlpha = false;
        for (std::size_t i = 3; i < colours.size(); i += 4)
            anyAlpha = anyAlpha || colours[i] != 0;
        if (anyAlpha) {
            for (LONG y = 0; y < height; ++y)
                for (LONG x = 0; x < width; ++x) {
                    BYTE* pixel = &colours[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x) * 4];
                    BYTE& maskByte = mask[static_cast<std::size_t>(y) * maskStride + x / 8];
                    BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
                    if (pixel[3] < 128)
                        maskByte |= bit;
                    else
                        maskByte &= static_cast<BYTE>(~bit);
                }
        }
    }
    // Where the background shows, the colour image must be black, so that drawing it with
    // XOR leaves the background as it was.
    if (depth >= 24) {
        std::size_t bytesPerPixel = static_cast<std::size_t>(depth / 8);
        for (LONG y = 0; y < height; ++y)
            for (LONG x = 0; x < width; ++x)
                if (mask[static_cast<std::size_t>(y) * maskStride + x / 8] & (0x80 >> (x % 8))) {
                    BYTE* pixel = &colours[static_cast<std::size_t>(y) * Stride(width, depth) +
                                           static_cast<std::size_t>(x) * bytesPerPixel];
                    std::memset(pixel, 0, bytesPerPixel);
                }
    }

    int cx = cxDesired ? cxDesired : (flags & LR_DEFAULTSIZE) ? SystemSize(fIcon, false) : width;
    int cy = cyDesired ? cyDesired : (flags & LR_DEFAULTSIZE) ? SystemSize(fIcon, true) : height;
    colourInfo->bmiHeader.biHeight = height;
    colourInfo->bmiHeader.biSizeImage = 0;
    object->width = cx;
    object->height = cy;
    object->color = BitmapFromDib(colourInfo, colours.data(), cx, cy, flags & LR_MONOCHROME);
    MonoInfo maskInfo = MakeMonoInfo(width, height);
    object->mask = BitmapFromDib(reinterpret_cast<BITMAPINFO*>(&maskInfo), mask.data(), cx, cy, LR_MONOCHROME);
    if (!object->color || !object->mask) {
        if (object->color)
            DeleteObject(object->color);
        if (object->mask)
            DeleteObject(object->mask);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    object->shared = shared;
    return Register(object.release());
}

HBITMAP CopyBitmap(HBITMAP source)
{
    BITMAP info{};
    if (!source || !GetObject(source, sizeof info, &info))
        return nullptr;
    ScreenDc screen;
    HBITMAP copy = info.bmBitsPixel == 1 ? CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr)
                                         : CreateCompatibleBitmap(screen, info.bmWidth, info.bmHeight);
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    HGDIOBJ oldFrom = SelectObject(from, source), oldTo = SelectObject(to, copy);
    BitBlt(to, 0, 0, info.bmWidth, info.bmHeight, from, 0, 0, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    return copy;
}

// ---- resources and files ----

std::string ReadPlatformFile(LPCSTR path)
{
    auto hostPath = host::ToHostPath(path);
    if (!hostPath)
        return {};
    std::ifstream in(*hostPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Found {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

Found FindData(HINSTANCE module, LPCSTR name, LPCSTR type)
{
    HRSRC resource = FindResource(module, name, type);
    if (!resource)
        return {};
    return Found{static_cast<const BYTE*>(LockResource(LoadResource(module, resource))), SizeofResource(module, resource)};
}

// LR_SHARED images by module, name, type and size.
using SharedKey = std::tuple<HINSTANCE, std::string, UINT, int, int>;
std::map<SharedKey, HANDLE>& SharedImages()
{
    static auto* images = new std::map<SharedKey, HANDLE>;
    return *images;
}

std::string NameKey(LPCSTR name)
{
    if (IS_INTRESOURCE(name)) {
        std::string key(1, '#');
        key += std::to_string(LOWORD(reinterpret_cast<ULONG_PTR>(name)));
        return key;
    }
    std::string key = name;
    for (char& c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

HANDLE LoadImageFromFile(LPCSTR name, UINT type, int cx, int cy, UINT flags)
{
    std::string text = ReadPlatformFile(name);
    // Bitmap headers are read in place: keep the file's bytes where the file header's 14 bytes
    // leave the info header on a 4-byte boundary.
    std::vector<std::uint32_t> aligned((text.size() + 2 + 3) / 4 + 1);
    auto bytes = reinterpret_cast<const BYTE*>(aligned.data()) + 2;
    std::memcpy(const_cast<BYTE*>(bytes), text.data(), text.size());
    std::string_view file(reinterpret_cast<const char*>(bytes), text.size());
    if (file.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    if (type == IMAGE_BITMAP) {
        if (file.size() < 14 || file[0] != 'B' || file[1] != 'M') {
            SetLastError(ERROR_INVALID_DATA);
            return nullptr;
        }
        return BitmapFromPackedDib(bytes + 14, file.size() - 14, cx, cy, flags);
    }
    // An .ico or .cur file: its directory is the group's, with offsets where the group has ids.
    BOOL icon = type == IMAGE_ICON;
    auto word = [&](std::size_t at) { return static_cast<WORD>(bytes[at] | (bytes[at + 1] << 8)); };
    auto dword = [&](std::size_t at) { return static_cast<DWORD>(word(at) | (static_cast<DWORD>(word(at + 2)) << 16)); };
    if (file.size() < 6 || word(0) != 0 || word(2) != (icon ? 1 : 2) || file.size() < 6 + 16u * word(4)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    int count = word(4);
    std::vector<BYTE> group(6 + 14 * static_cast<std::size_t>(count));
    std::memcpy(group.data(), bytes, 6);
    for (int i = 0; i < count; ++i) {
        std::size_t e = 6 + 16 * static_cast<std::size_t>(i), g = 6 + 14 * static_cast<std::size_t>(i);
        if (icon) {
            std::memcpy(&group[g], bytes + e, 12);
        } else {  // a cursor group has the size in words, the height doubled, depth in place of the hot spot
            DWORD offset = dword(e + 12);
            WORD depth = offset + 16 <= file.size() ? word(offset + 14) : 0;
            WORD w = bytes[e] ? bytes[e] : 256, h = bytes[e + 1] ? bytes[e + 1] : 256;
            group[g] = static_cast<BYTE>(w);
            group[g + 1] = static_cast<BYTE>(w >> 8);
            group[g + 2] = static_cast<BYTE>(2 * h);
            group[g + 3] = static_cast<BYTE>((2 * h) >> 8);
            group[g + 4] = 1;
            group[g + 6] = static_cast<BYTE>(depth);
        }
        group[g + 12] = static_cast<BYTE>(i + 1);  // the entry's number stands for its id
    }
    int pick = LookupIconIdFromDirectoryEx(group.data(), icon, cx ? cx : SystemSize(icon, false),
                                           cy ? cy : SystemSize(icon, true), flags);
    if (pick <= 0) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    std::size_t e = 6 + 16 * static_cast<std::size_t>(pick - 1);
    DWORD size = dword(e + 8), offset = dword(e + 12);
    if (offset > file.size() || size > file.size() - offset) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    std::vector<BYTE> image;
    if (!icon) {  // a cursor resource starts with its hot spot
        image = {bytes[e + 4], bytes[e + 5], bytes[e + 6], bytes[e + 7]};
    }
    image.insert(image.end(), bytes + offset, bytes + offset + size);
    return IconFromImage(image.data(), image.size(), icon, cx, cy, flags, false);
}

HANDLE LoadImageFromModule(HINSTANCE module, LPCSTR name, UINT type, int cx, int cy, UINT flags)
{
    if (type == IMAGE_BITMAP) {
        Found bitmap = FindData(module, name, RT_BITMAP);
        return bitmap.data ? BitmapFromPackedDib(bitmap.data, bitmap.size, cx, cy, flags) : nullptr;
    }
    BOOL icon = type == IMAGE_ICON;
    Found group = FindData(module, name, icon ? RT_GROUP_ICON : RT_GROUP_CURSOR);
    if (!group.data)
        return nullptr;
    // The directory's header and every entry it counts must lie inside the resource.
    if (group.size < 6 || group.size < 6 + 14 * static_cast<std::size_t>(group.data[4] | (group.data[5] << 8))) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    int pickX = cx ? cx : SystemSize(icon, false), pickY = cy ? cy : SystemSize(icon, true);
    int id = LookupIconIdFromDirectoryEx(const_cast<PBYTE>(group.data), icon, pickX, pickY, flags & LR_MONOCHROME);
    Found image = id ? FindData(module, MAKEINTRESOURCE(id), icon ? RT_ICON : RT_CURSOR) : Found{};
    if (!image.data) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return IconFromImage(image.data, image.size, icon, cx, cy, flags, (flags & LR_SHARED) != 0);
}

}  // namespace

HBITMAP WINAPI LoadBitmap(HINSTANCE hInstance, LPCSTR lpBitmapName)
{
    if (!hInstance) {  // the system's bitmaps (OBM_) are not provided
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return static_cast<HBITMAP>(LoadImage(hInstance, lpBitmapName, IMAGE_BITMAP, 0, 0, 0));
}

HANDLE WINAPI LoadImage(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad)
{
    if (!name || type > IMAGE_CURSOR || cx < 0 || cy < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (fuLoad & LR_LOADFROMFILE)
        return LoadImageFromFile(name, type, cx, cy, fuLoad);
    if (!hInst) {  // the system's icons and cursors
        if (type == IMAGE_ICON)
            return LoadIcon(nullptr, name);
        if (type == IMAGE_CURSOR)
            return LoadCursor(nullptr, name);
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    if (!(fuLoad & LR_SHARED))
        return LoadImageFromModule(hInst, name, type, cx, cy, fuLoad);
    SharedKey key{hInst, NameKey(name), type, cx, cy};
    {
        std::lock_guard<std::mutex> lock(IconLock());
        auto it = SharedImages().find(key);
        if (it != SharedImages().end())
            return it->second;
    }
    HANDLE image = LoadImageFromModule(hInst, name, type, cx, cy, fuLoad);
    if (image) {
        std::lock_guard<std::mutex> lock(IconLock());
        SharedImages().emplace(key, image);
    }
    return image;
}

HICON WINAPI CreateIconFromResourceEx(PBYTE presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer, int cxDesired,
                                      int cyDesired, UINT Flags)
{
    if (!presbits || (dwVer != 0x00030000 && dwVer != 0x00020000)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return IconFromImage(presbits, dwResSize, fIcon, cxDesired, cyDesired, Flags, (Flags & LR_SHARED) != 0);
}

HICON WINAPI CreateIconFromResource(PBYTE presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer)
{
    return CreateIconFromResourceEx(presbits, dwResSize, fIcon, dwVer, 0, 0, LR_DEFAULTSIZE);
}

HICON WINAPI CreateIconIndirect(PICONINFO piconinfo)
{
    BITMAP mask{};
    if (!piconinfo || !piconinfo->hbmMask || !GetObject(piconinfo->hbmMask, sizeof mask, &mask)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto object = std::make_unique<IconObject>();
    object->icon = piconinfo->fIcon;
    object->hotX = piconinfo->fIcon ? static_cast<DWORD>(mask.bmWidth / 2) : piconinfo->xHotspot;
    object->hotY = piconinfo->fIcon ? static_cast<DWORD>((piconinfo->hbmColor ? mask.bmHeight : mask.bmHeight / 2) / 2)
                                    : piconinfo->yHotspot;
    object->width = mask.bmWidth;
    object->height = piconinfo->hbmColor ? mask.bmHeight : mask.bmHeight / 2;
    object->mask = CopyBitmap(piconinfo->hbmMask);
    object->color = piconinfo->hbmColor ? CopyBitmap(piconinfo->hbmColor) : nullptr;
    return Register(object.release());
}

BOOL WINAPI GetIconInfo(HICON hIcon, PICONINFO piconinfo)
{
    IconObject* object = FindIcon(hIcon);
    if (!object || !piconinfo) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    piconinfo->fIcon = object->icon;
    piconinfo->xHotspot = object->icon ? static_cast<DWORD>(object->width / 2) : object->hotX;
    piconinfo->yHotspot = object->icon ? static_cast<DWORD>(object->height / 2) : object->hotY;
    piconinfo->hbmMask = CopyBitmap(object->mask);
    piconinfo->hbmColor = object->color ? CopyBitmap(object->color) : nullptr;
    return TRUE;
}

HICON WINAPI CopyIcon(HICON hIcon)
{
    IconObject* object = FindIcon(hIcon);
    if (!object) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto copy = std::make_unique<IconObject>(*object);
    copy->shared = false;
    copy->mask = CopyBitmap(object->mask);
    copy->color = object->color ? CopyBitmap(object->color) : nullptr;
    return Register(copy.release());
}

BOOL WINAPI DestroyIcon(HICON hIcon)
{
    IconObject* object = nullptr;
    {
        std::lock_guard<std::mutex> lock(IconLock());
        auto it = Icons().find(reinterpret_cast<IconObject*>(hIcon));
        if (it == Icons().end()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        if ((*it)->shared)
            return TRUE;  // shared icons belong to their module
        object = *it;
        Icons().erase(it);
    }
    DeleteObject(object->mask);
    if (object->color)
        DeleteObject(object->color);
    delete object;
    return TRUE;
}

BOOL WINAPI DestroyCursor(HCURSOR hCursor) { return DestroyIcon(hCursor); }

BOOL WINAPI DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT, HBRUSH hbrFlickerFreeDraw,
                       UINT diFlags)
{
    IconObject* object = FindIcon(hIcon);
    if (!object || !hdc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int width = cxWidth ? cxWidth : (diFlags & DI_DEFAULTSIZE) ? SystemSize(object->icon, false) : object->width;
    int height = cyWidth ? cyWidth : (diFlags & DI_DEFAULTSIZE) ? SystemSize(object->icon, true) : object->height;
    if (hbrFlickerFreeDraw) {
        RECT area{xLeft, yTop, xLeft + width, yTop + height};
        FillRect(hdc, &area, hbrFlickerFreeDraw);
    }
    HDC source = CreateCompatibleDC(hdc);
    // A monochrome source takes the destination's text colour for 0 and background for 1.
    COLORREF oldText = SetTextColor(hdc, RGB(0, 0, 0));
    COLORREF oldBack = SetBkColor(hdc, RGB(255, 255, 255));
    int oldMode = SetStretchBltMode(hdc, COLORONCOLOR);
    HGDIOBJ old = SelectObject(source, object->mask);
    bool withMask = (diFlags & DI_MASK) != 0;
    if (withMask)
        StretchBlt(hdc, xLeft, yTop, width, height, source, 0, 0, object->width, object->height,
                   (diFlags & DI_IMAGE) ? SRCAND : SRCCOPY);
    if ((diFlags & DI_IMAGE) && object->color) {
        SelectObject(source, object->color);
        StretchBlt(hdc, xLeft, yTop, width, height, source, 0, 0, object->width, object->height,
                   withMask ? SRCINVERT : SRCCOPY);
    }
    SelectObject(source, old);
    DeleteDC(source);
    SetStretchBltMode(hdc, oldMode);
    SetTextColor(hdc, oldText);
    SetBkColor(hdc, oldBack);
    return TRUE;
}

BOOL WINAPI DrawIcon(HDC hDC, int X, int Y, HICON hIcon)
{
    return DrawIconEx(hDC, X, Y, hIcon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

namespace host {

HICON LoadIconResource(HINSTANCE module, LPCSTR name, BOOL fIcon)
{
    return static_cast<HICON>(
        LoadImage(module, name, fIcon ? IMAGE_ICON : IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

}  // namespace host

#endif

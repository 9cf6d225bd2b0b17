// CDib: the program's one bitmap type, a packed device-independent bitmap (header, colour table,
// pixel rows) from a bitmap resource, a ".bmp" file, or a GIF image in a file or in memory, with
// the palette it yields and the ways the program draws it.
//
// Bitmap resource ids of 7000 and above come from the screen-class resource library, lower ids
// from the program itself. A bitmap either lies in a resource (resource-held) or in a heap block
// of its own (self-held); MakeWritable turns the first into the second.
#pragma once

#include <afxwin.h>

class CDib : public CObject {
    DECLARE_DYNAMIC(CDib)
public:
    CDib();
    explicit CDib(UINT nResourceId);
    CDib(HMODULE hModule, HRSRC hResource);
    // A GIF image held in memory (the bytes stay the caller's).
    CDib(const void* lpGifBytes, UINT nLength);
    // A GIF image that starts lOffset bytes into a file.
    CDib(LPCSTR lpszFileName, LONG lOffset);
    ~CDib() override;

    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // Loading. The resource loaders throw CResourceException when the bitmap is missing or its
    // block is not a bitmap; the file readers throw CFileException when the file cannot be
    // opened or read. A file that is not a bitmap shows "Not a bitmap file" and leaves the
    // bitmap empty; a GIF that cannot be read shows the reader's message and leaves it empty.
    void LoadFromResourceId(UINT nId);
    // The module a bitmap resource id lives in: the screen-class resource library from 7000 on
    // (NULL while none is loaded), the program below.
    static HMODULE ModuleOfResourceId(UINT nId);
    void LoadFromResource(HMODULE hModule, HRSRC hResource);
    void AttachPackedDib(void* lpBlock);
    void ReadBmpFile(LPCSTR lpszFileName);
    void ReadGifFile(LPCSTR lpszFileName, LONG lOffset);
    void ReadGifMemory(const void* lpBytes, UINT nLength);
    // The GIF reader (GifDecoder.cpp): reads the memory source from its start (offset -1) or the
    // file source from the offset; returns the new self-held block, or NULL.
    BYTE* ReadGif(LONG lOffset);

    // Access; an empty bitmap reads 0 everywhere.
    BOOL IsEmpty() const { return m_pInfoHeader == NULL; }
    LONG GetWidth() const;
    LONG GetHeight() const;
    // biClrUsed, or 2 to the bit count for bitmaps of 8 bits or fewer when biClrUsed is 0.
    DWORD GetColorCount() const;
    // biSizeImage, or the padded row length times the height when that is 0.
    DWORD GetImageSize() const;
    BITMAPINFOHEADER* GetInfoHeader() const { return m_pInfoHeader; }
    BITMAPINFO* GetBitmapInfo() const { return reinterpret_cast<BITMAPINFO*>(m_pBlock); }
    RGBQUAD* GetColorTable() const { return m_pColorTable; }
    BYTE* GetBits() const { return m_pBits; }

    // A new 256-entry palette (the caller owns it) from the colour table; entries beyond the
    // colour count are black.
    HPALETTE CreatePalette() const;
    // Copies a resource-held bitmap into memory of its own.
    void MakeWritable();
    // Every colour-table entry equal to crOld becomes crNew (PALETTEINDEX(n): the table's entry
    // n). Returns crOld.
    COLORREF ReplaceColor(COLORREF crOld, COLORREF crNew);
    // Copies a block of 8-bit pixels from another 8-bit bitmap; coordinates count from the top.
    // The block is clipped to both bitmaps.
    void CopyRectFrom(int nDstX, int nDstY, CDib* pSource, int nSrcX, int nSrcY, UINT nWidth, UINT nHeight);

    // Drawing, all through StretchDIBits with SRCCOPY.
    // nUsage 1: the colour table holds palette indexes (DIB_PAL_COLORS); anything else RGB.
    void Draw(CDC* pDC, int x, int y, int nUsage = 0) const;
    void DrawStretched(CDC* pDC, int x, int y, int cx, int cy) const;
    // Destination and source rectangles: left, top and their widths and heights.
    void DrawRect(CDC* pDC, const RECT* pDst, const RECT* pSrc) const;
    // box: x, y, width, height.
    void DrawInBox(CDC* pDC, const int box[4]) const;
    void DrawInRect(CDC* pDC, const RECT* pRect) const;
    // At natural size; pixels of the transparent colour leave the target as it was.
    void DrawTransparent(CDC* pDC, int x, int y, COLORREF crTransparent) const;

private:
    // Back to empty, freeing what the bitmap holds.
    void Free();
    // The number of rows (a top-down bitmap resource has a negative height).
    LONG Rows() const;
    void StretchTo(CDC* pDC, int x, int y, int cx, int cy, int xSrc, int ySrc, int cxSrc, int cySrc,
                   UINT nUsage) const;

    DWORD m_dwReserved1 = 0;
    BYTE* m_pBlock = NULL;
    BITMAPINFOHEADER* m_pInfoHeader = NULL;
    RGBQUAD* m_pColorTable = NULL;
    BYTE* m_pBits = NULL;
    DWORD m_dwReserved2 = 0;
    // The loaded resource when the block lies in one; NULL for a self-held block.
    HGLOBAL m_hResource = NULL;
    // The sources of a GIF, held only while it is read.
    CFile* m_pGifFile = NULL;
    CMemFile* m_pGifMemFile = NULL;
};

// Checks a packed DIB of nSize bytes: a BITMAPINFOHEADER of at least 40 bytes, a plane count
// of 1, a bit count of 1, 4, 8, 16, 24 or 32 without compression, a sensible width and height, at
// most 256 colours, and the colour table and every row inside the block. The drawing code and
// MakeWritable rely on these.
BOOL IsValidPackedDib(const void* lpBlock, size_t nSize);

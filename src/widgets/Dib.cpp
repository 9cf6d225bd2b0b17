#include "widgets/Dib.h"

#include "base/AppServices.h"
#include "base/PaletteSelector.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CDib, CObject)

namespace {

// Bitmap resources from this id on live in the screen-class resource library.
const UINT kFirstLibraryBitmap = 7000;
// Limits of what the readers accept: no picture of the program comes near them, and a header
// that claims more is damaged.
const LONG kMaxDimension = 32767;
const unsigned long long kMaxImageBytes = 256ull * 1024 * 1024;

// Where the parts of a packed DIB lie, worked out from its header.
struct DibLayout {
    DWORD headerSize = 0;
    DWORD colors = 0;
    size_t tableBytes = 0;
    size_t rowLength = 0;
    LONG rows = 0;
    bool topDown = false;
    size_t imageSize = 0;  // rowLength x rows
};

DWORD ColorCountOf(const BITMAPINFOHEADER& bih)
{
    if (bih.biClrUsed != 0)
        return bih.biClrUsed;
    return bih.biBitCount < 9 ? (DWORD(1) << bih.biBitCount) : 0;
}

// Reads the header at p (headerBytes available for header and colour table); false when it is
// no bitmap this program can draw.
bool ReadLayout(const BYTE* p, size_t headerBytes, DibLayout& layout)
{
    if (headerBytes < sizeof(BITMAPINFOHEADER))
        return false;
    BITMAPINFOHEADER bih;
    std::memcpy(&bih, p, sizeof bih);
    if (bih.biSize < sizeof(BITMAPINFOHEADER) || bih.biSize > headerBytes || bih.biPlanes != 1 ||
        bih.biCompression != BI_RGB)
        return false;
    switch (bih.biBitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32:
        break;
    default:
        return false;
    }
    if (bih.biWidth <= 0 || bih.biWidth > kMaxDimension || bih.biHeight == 0 || bih.biHeight < -kMaxDimension ||
        bih.biHeight > kMaxDimension)
        return false;
    layout.headerSize = bih.biSize;
    layout.colors = ColorCountOf(bih);
    if (layout.colors > 256)
        return false;
    layout.tableBytes = size_t(4) * layout.colors;
    if (layout.headerSize + layout.tableBytes > headerBytes)
        return false;
    layout.rowLength = ((size_t(bih.biWidth) * bih.biBitCount + 31) & ~size_t(31)) / 8;
    layout.topDown = bih.biHeight < 0;
    layout.rows = layout.topDown ? -bih.biHeight : bih.biHeight;
    unsigned long long image = (unsigned long long)layout.rowLength * (unsigned long long)layout.rows;
    if (image > kMaxImageBytes)
        return false;
    layout.imageSize = size_t(image);
    return true;
}

}  // namespace

BOOL IsValidPackedDib(const void* lpBlock, size_t nSize)
{
    if (lpBlock == NULL)
        return FALSE;
    DibLayout layout;
    const BYTE* p = static_cast<const BYTE*>(lpBlock);
    if (!ReadLayout(p, nSize, layout))
        return FALSE;
    // The stated image size (what GetImageSize reports and MakeWritable copies) must cover the
    // rows and lie in the block.
    BITMAPINFOHEADER bih;
    std::memcpy(&bih, p, sizeof bih);
    size_t stated = bih.biSizeImage != 0 ? bih.biSizeImage : layout.imageSize;
    if (stated < layout.imageSize)
        return FALSE;
    return layout.headerSize + layout.tableBytes + stated <= nSize;
}

CDib::CDib() = default;

CDib::CDib(UINT nResourceId)
{
    LoadFromResourceId(nResourceId);
}

CDib::CDib(HMODULE hModule, HRSRC hResource)
{
    LoadFromResource(hModule, hResource);
}

CDib::CDib(const void* lpGifBytes, UINT nLength)
{
    ReadGifMemory(lpGifBytes, nLength);
}

CDib::CDib(LPCSTR lpszFileName, LONG lOffset)
{
    ReadGifFile(lpszFileName, lOffset);
}

CDib::~CDib()
{
    Free();
    delete m_pGifMemFile;
    m_pGifMemFile = NULL;
    delete m_pGifFile;
    m_pGifFile = NULL;
}

void CDib::Free()
{
    if (m_hResource != NULL)
        ::FreeResource(m_hResource);
    else
        std::free(m_pBlock);
    m_hResource = NULL;
    m_pBlock = NULL;
    m_pInfoHeader = NULL;
    m_pColorTable = NULL;
    m_pBits = NULL;
}

HMODULE CDib::ModuleOfResourceId(UINT nId)
{
    return nId >= kFirstLibraryBitmap ? AppServices().env.hResourceLibrary : AfxGetInstanceHandle();
}

void CDib::LoadFromResourceId(UINT nId)
{
    HMODULE hModule = ModuleOfResourceId(nId);
    HRSRC hResource = hModule != NULL ? ::FindResource(hModule, MAKEINTRESOURCE(nId), RT_BITMAP) : NULL;
    if (hResource == NULL)
        AfxThrowResourceException();
    LoadFromResource(hModule, hResource);
}

void CDib::LoadFromResource(HMODULE hModule, HRSRC hResource)
{
    Free();
    try {
        m_hResource = ::LoadResource(hModule, hResource);
        void* pBlock = m_hResource != NULL ? ::LockResource(m_hResource) : NULL;
        if (pBlock == NULL || !IsValidPackedDib(pBlock, ::SizeofResource(hModule, hResource)))
            AfxThrowResourceException();
        AttachPackedDib(pBlock);
    } catch (CException*) {
        if (m_hResource != NULL)
            ::FreeResource(m_hResource);
        m_hResource = NULL;
        m_pBlock = NULL;
        m_pInfoHeader = NULL;
        m_pColorTable = NULL;
        m_pBits = NULL;
        throw;
    }
}

void CDib::AttachPackedDib(void* lpBlock)
{
    m_pBlock = static_cast<BYTE*>(lpBlock);
    m_pInfoHeader = reinterpret_cast<BITMAPINFOHEADER*>(m_pBlock);
    m_pColorTable = reinterpret_cast<RGBQUAD*>(m_pBlock + m_pInfoHeader->biSize);
    m_pBits = m_pBlock + m_pInfoHeader->biSize + 4 * GetColorCount();
}

void CDib::ReadBmpFile(LPCSTR lpszFileName)
{
    Free();
    CFile file;
    CFileException error;
    if (!file.Open(lpszFileName, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, lpszFileName);

    BITMAPFILEHEADER bfh;
    UINT nRead = file.Read(&bfh, sizeof bfh);
    if (nRead == 0)
        AfxThrowFileException(CFileException::endOfFile, -1, lpszFileName);
    auto notABitmap = [] { AfxMessageBox("Not a bitmap file", MB_OK); };
    if (nRead < sizeof bfh || bfh.bfType != 0x4D42) {
        notABitmap();
        return;
    }

    // The rest of the file, then a packed block made from it: header and colour table, and the
    // rows from where the file header says they start, bottom-up.
    DWORD dwLength = file.GetLength();
    if (dwLength <= sizeof bfh) {
        notABitmap();
        return;
    }
    size_t nRest = dwLength - sizeof bfh;
    BYTE* pFile = static_cast<BYTE*>(std::malloc(nRest));
    if (pFile == NULL)
        AfxThrowMemoryException();
    UINT nGot = 0;
    try {
        nGot = file.Read(pFile, static_cast<UINT>(nRest));
    } catch (CException*) {
        std::free(pFile);
        throw;
    }
    if (nGot == 0) {
        std::free(pFile);
        AfxThrowFileException(CFileException::endOfFile, -1, lpszFileName);
    }
    file.Close();

    DibLayout layout;
    size_t nBitsAt = 0;
    bool ok = ReadLayout(pFile, nGot, layout);
    if (ok) {
        // The bits start where the file header says (counted from the file's start; 0 means
        // right after the colour table), never inside the header or the colour table.
        const size_t nTableEnd = layout.headerSize + layout.tableBytes;
        if (bfh.bfOffBits == 0)
            nBitsAt = nTableEnd;
        else if (bfh.bfOffBits >= sizeof bfh)
            nBitsAt = bfh.bfOffBits - sizeof bfh;
        ok = bfh.bfOffBits == 0 || (bfh.bfOffBits >= sizeof bfh && nBitsAt >= nTableEnd);
        ok = ok && nBitsAt <= nGot && layout.imageSize <= nGot - nBitsAt;
    }
    BYTE* pBlock = NULL;
    if (ok) {
        size_t nTableEnd = layout.headerSize + layout.tableBytes;
        pBlock = static_cast<BYTE*>(std::malloc(nTableEnd + layout.imageSize));
        if (pBlock == NULL) {
            std::free(pFile);
            AfxThrowMemoryException();
        }
        std::memcpy(pBlock, pFile, nTableEnd);
        for (LONG row = 0; row < layout.rows; ++row) {
            LONG from = layout.topDown ? layout.rows - 1 - row : row;
            std::memcpy(pBlock + nTableEnd + size_t(row) * layout.rowLength,
                        pFile + nBitsAt + size_t(from) * layout.rowLength, layout.rowLength);
        }
        BITMAPINFOHEADER* pHeader = reinterpret_cast<BITMAPINFOHEADER*>(pBlock);
        pHeader->biHeight = layout.rows;
        pHeader->biSizeImage = static_cast<DWORD>(layout.imageSize);
        pHeader->biClrUsed = layout.colors;
    }
    std::free(pFile);
    if (!ok) {
        notABitmap();
        return;
    }
    AttachPackedDib(pBlock);
}

void CDib::ReadGifFile(LPCSTR lpszFileName, LONG lOffset)
{
    Free();
    m_pGifFile = new CFile;
    CFileException error;
    if (!m_pGifFile->Open(lpszFileName, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary, &error)) {
        delete m_pGifFile;
        m_pGifFile = NULL;
        AfxThrowFileException(error.m_cause, error.m_lOsError, lpszFileName);
    }
    BYTE* pBlock = ReadGif(lOffset);  // a user exception passes on; the reader has let the file go
    if (m_pGifFile != NULL) {
        m_pGifFile->Abort();
        delete m_pGifFile;
        m_pGifFile = NULL;
    }
    if (pBlock == NULL)
        Free();
}

void CDib::ReadGifMemory(const void* lpBytes, UINT nLength)
{
    Free();
    m_pGifMemFile = new CMemFile(static_cast<BYTE*>(const_cast<void*>(lpBytes)), nLength, 0);
    BYTE* pBlock = NULL;
    try {
        pBlock = ReadGif(-1);
    } catch (CException*) {
        Free();
        m_pGifMemFile->Detach();
        delete m_pGifMemFile;
        m_pGifMemFile = NULL;
        throw;
    }
    if (pBlock == NULL)
        Free();
    m_pGifMemFile->Detach();
    delete m_pGifMemFile;
    m_pGifMemFile = NULL;
}

LONG CDib::GetWidth() const
{
    return m_pInfoHeader != NULL ? m_pInfoHeader->biWidth : 0;
}

LONG CDib::GetHeight() const
{
    return m_pInfoHeader != NULL ? m_pInfoHeader->biHeight : 0;
}

LONG CDib::Rows() const
{
    LONG height = GetHeight();
    return height < 0 ? -height : height;
}

DWORD CDib::GetColorCount() const
{
    return m_pInfoHeader != NULL ? ColorCountOf(*m_pInfoHeader) : 0;
}

DWORD CDib::GetImageSize() const
{
    if (m_pInfoHeader == NULL)
        return 0;
    if (m_pInfoHeader->biSizeImage != 0)
        return m_pInfoHeader->biSizeImage;
    return static_cast<DWORD>(((DWORD(m_pInfoHeader->biWidth) * m_pInfoHeader->biBitCount + 31) & ~DWORD(31)) / 8 *
                              DWORD(Rows()));
}

HPALETTE CDib::CreatePalette() const
{
    struct {
        WORD palVersion;
        WORD palNumEntries;
        PALETTEENTRY entries[256];
    } pal{};
    pal.palVersion = 0x300;
    pal.palNumEntries = 256;
    DWORD nColors = std::min<DWORD>(GetColorCount(), 256);
    for (DWORD i = 0; i < nColors; ++i)
        pal.entries[i] = PALETTEENTRY{m_pColorTable[i].rgbRed, m_pColorTable[i].rgbGreen, m_pColorTable[i].rgbBlue, 0};
    return ::CreatePalette(reinterpret_cast<const LOGPALETTE*>(&pal));
}

void CDib::MakeWritable()
{
    if (m_hResource == NULL || m_pInfoHeader == NULL)
        return;
    DWORD nTable = 4 * GetColorCount();
    size_t nBytes = size_t(m_pInfoHeader->biSize) + nTable + GetImageSize();
    BYTE* pCopy = static_cast<BYTE*>(std::malloc(nBytes));
    if (pCopy == NULL)
        AfxThrowMemoryException();
    std::memcpy(pCopy, m_pBlock, nBytes);
    ::FreeResource(m_hResource);
    m_hResource = NULL;
    AttachPackedDib(pCopy);
}

COLORREF CDib::ReplaceColor(COLORREF crOld, COLORREF crNew)
{
    if (m_pInfoHeader == NULL)
        return crOld;
    MakeWritable();
    DWORD nColors = GetColorCount();
    RGBQUAD replacement{GetBValue(crNew), GetGValue(crNew), GetRValue(crNew), 0};
    if ((crNew >> 24) == 0x01) {
        // A palette index names an entry of this bitmap's own table; one beyond it replaces
        // nothing.
        DWORD index = crNew & 0xFFFF;
        if (index >= nColors)
            return crOld;
        replacement = m_pColorTable[index];
    }
    for (DWORD i = 0; i < nColors; ++i) {
        RGBQUAD& q = m_pColorTable[i];
        if (q.rgbRed == GetRValue(crOld) && q.rgbGreen == GetGValue(crOld) && q.rgbBlue == GetBValue(crOld))
            q = replacement;
    }
    return crOld;
}

void CDib::CopyRectFrom(int nDstX, int nDstY, CDib* pSource, int nSrcX, int nSrcY, UINT nWidth, UINT nHeight)
{
    if (pSource == NULL || m_pInfoHeader == NULL || pSource->m_pInfoHeader == NULL || m_pInfoHeader->biBitCount != 8 ||
        pSource->m_pInfoHeader->biBitCount != 8 || GetHeight() <= 0 || pSource->GetHeight() <= 0)
        return;
    MakeWritable();
    // Clip the block to both bitmaps.
    long long x0 = 0, y0 = 0, x1 = nWidth, y1 = nHeight;
    x0 = std::max<long long>({x0, -(long long)nDstX, -(long long)nSrcX});
    y0 = std::max<long long>({y0, -(long long)nDstY, -(long long)nSrcY});
    x1 = std::min<long long>({x1, (long long)GetWidth() - nDstX, (long long)pSource->GetWidth() - nSrcX});
    y1 = std::min<long long>({y1, (long long)GetHeight() - nDstY, (long long)pSource->GetHeight() - nSrcY});
    if (x0 >= x1 || y0 >= y1)
        return;
    const size_t nDstRow = ((size_t(GetWidth()) * 8 + 31) & ~size_t(31)) / 8;
    const size_t nSrcRow = ((size_t(pSource->GetWidth()) * 8 + 31) & ~size_t(31)) / 8;
    for (long long r = y0; r < y1; ++r) {
        size_t dstRow = size_t(GetHeight() - 1 - (nDstY + r));
        size_t srcRow = size_t(pSource->GetHeight() - 1 - (nSrcY + r));
        std::memmove(m_pBits + dstRow * nDstRow + size_t(nDstX + x0), pSource->m_pBits + srcRow * nSrcRow + size_t(nSrcX + x0),
                     size_t(x1 - x0));
    }
}

void CDib::StretchTo(CDC* pDC, int x, int y, int cx, int cy, int xSrc, int ySrc, int cxSrc, int cySrc,
                     UINT nUsage) const
{
    if (pDC == NULL || m_pInfoHeader == NULL)
        return;
    ::StretchDIBits(pDC->GetSafeHdc(), x, y, cx, cy, xSrc, ySrc, cxSrc, cySrc, m_pBits, GetBitmapInfo(), nUsage,
                    SRCCOPY);
}

void CDib::Draw(CDC* pDC, int x, int y, int nUsage) const
{
    int cx = GetWidth(), cy = Rows();
    StretchTo(pDC, x, y, cx, cy, 0, 0, cx, cy, nUsage == 1 ? DIB_PAL_COLORS : DIB_RGB_COLORS);
}

void CDib::DrawStretched(CDC* pDC, int x, int y, int cx, int cy) const
{
    StretchTo(pDC, x, y, cx, cy, 0, 0, GetWidth(), Rows(), DIB_RGB_COLORS);
}

void CDib::DrawRect(CDC* pDC, const RECT* pDst, const RECT* pSrc) const
{
    if (pDst == NULL || pSrc == NULL)
        return;
    StretchTo(pDC, pDst->left, pDst->top, pDst->right - pDst->left, pDst->bottom - pDst->top, pSrc->left, pSrc->top,
              pSrc->right - pSrc->left, pSrc->bottom - pSrc->top, DIB_RGB_COLORS);
}

void CDib::DrawInBox(CDC* pDC, const int box[4]) const
{
    if (box == NULL)
        return;
    StretchTo(pDC, box[0], box[1], box[2], box[3], 0, 0, GetWidth(), Rows(), DIB_RGB_COLORS);
}

void CDib::DrawInRect(CDC* pDC, const RECT* pRect) const
{
    if (pRect == NULL)
        return;
    StretchTo(pDC, pRect->left, pRect->top, pRect->right - pRect->left, pRect->bottom - pRect->top, 0, 0, GetWidth(),
              Rows(), DIB_RGB_COLORS);
}

void CDib::DrawTransparent(CDC* pDC, int x, int y, COLORREF crTransparent) const
{
    if (pDC == NULL || m_pInfoHeader == NULL)
        return;
    const int w = GetWidth(), h = Rows();
    CBitmap mask;
    if (!mask.CreateBitmap(w, h, 1, 1, NULL))
        return;
    CDC imageDC;
    CBitmap image;
    if (!imageDC.CreateCompatibleDC(pDC) || !image.CreateCompatibleBitmap(pDC, w, h))
        return;
    CBitmap* pOldImage = imageDC.SelectObject(&image);
    {
        CPalettePaintDC palette(&imageDC, TRUE);
        Draw(&imageDC, 0, 0, 0);

        // The mask: white where the image has the transparent colour, black elsewhere.
        CDC maskDC;
        if (maskDC.CreateCompatibleDC(pDC)) {
            CBitmap* pOldMask = maskDC.SelectObject(&mask);
            imageDC.SetBkColor(crTransparent);
            maskDC.BitBlt(0, 0, w, h, &imageDC, 0, 0, SRCCOPY);

            // Target ^ image, cleared where the image is opaque, ^ image again: the target
            // where transparent, the image elsewhere.
            CDC workDC;
            CBitmap work;
            if (workDC.CreateCompatibleDC(pDC) && work.CreateCompatibleBitmap(pDC, w, h)) {
                CBitmap* pOldWork = workDC.SelectObject(&work);
                workDC.BitBlt(0, 0, w, h, pDC, x, y, SRCCOPY);
                workDC.BitBlt(0, 0, w, h, &imageDC, 0, 0, SRCINVERT);
                workDC.BitBlt(0, 0, w, h, &maskDC, 0, 0, SRCAND);
                workDC.BitBlt(0, 0, w, h, &imageDC, 0, 0, SRCINVERT);
                pDC->BitBlt(x, y, w, h, &workDC, 0, 0, SRCCOPY);
                workDC.SelectObject(pOldWork);
            }
            maskDC.SelectObject(pOldMask);
        }
    }
    imageDC.SelectObject(pOldImage);
}

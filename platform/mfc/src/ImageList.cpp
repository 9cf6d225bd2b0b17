// CImageList: owns its HIMAGELIST; FromHandle wraps lists it does not own in temporary objects.
#include <afxcmn.h>

#include "HandleMap.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

namespace {

mfc::HandleMap& Map()
{
    thread_local mfc::HandleMap map;
    return map;
}

}  // namespace

CImageList::~CImageList() { DeleteImageList(); }

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
{
    return Create(MAKEINTRESOURCE(nBitmapID), cx, nGrow, crMask);
}

BOOL CImageList::Create(LPCSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask)
{
    HBITMAP bitmap = ::LoadBitmap(AfxGetResourceHandle(), lpszBitmapID);
    if (!bitmap)
        return FALSE;
    BITMAP info{};
    ::GetObject(bitmap, sizeof info, &info);
    BOOL ok = cx > 0 && Create(cx, info.bmHeight, ILC_COLOR | ILC_MASK, info.bmWidth / cx, nGrow) &&
              ImageList_AddMasked(m_hImageList, bitmap, crMask) >= 0;
    ::DeleteObject(bitmap);
    if (!ok)
        DeleteImageList();
    return ok;
}

CImageList* PASCAL CImageList::FromHandle(HIMAGELIST hImageList)
{
    if (!hImageList)
        return nullptr;
    if (CImageList* permanent = FromHandlePermanent(hImageList))
        return permanent;
    return Map().Temp<CImageList>(
        hImageList, [](CImageList& l, void* h) { l.m_hImageList = static_cast<HIMAGELIST>(h); },
        [](CImageList& l) { l.m_hImageList = nullptr; });
}

CImageList* PASCAL CImageList::FromHandlePermanent(HIMAGELIST hImageList)
{
    return static_cast<CImageList*>(Map().Permanent(hImageList));
}

void PASCAL CImageList::DeleteTempMap() { Map().DeleteTemps(); }

BOOL CImageList::Attach(HIMAGELIST hImageList)
{
    if (!hImageList)
        return FALSE;
    ASSERT(m_hImageList == nullptr);
    m_hImageList = hImageList;
    Map().Add(hImageList, this);
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST h = m_hImageList;
    if (h)
        Map().Remove(h, this);
    m_hImageList = nullptr;
    return h;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    return ImageList_Destroy(Detach());
}

int CImageList::GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
COLORREF CImageList::SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }
COLORREF CImageList::GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }
BOOL CImageList::GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const
{
    return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
}

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask)
{
    return ImageList_Add(m_hImageList, pbmImage ? static_cast<HBITMAP>(pbmImage->GetSafeHandle()) : nullptr,
                         pbmMask ? static_cast<HBITMAP>(pbmMask->GetSafeHandle()) : nullptr);
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask)
{
    return ImageList_AddMasked(m_hImageList, pbmImage ? static_cast<HBITMAP>(pbmImage->GetSafeHandle()) : nullptr, crMask);
}

int CImageList::Add(HICON hIcon) { return ImageList_AddIcon(m_hImageList, hIcon); }
BOOL CImageList::Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask)
{
    return ImageList_Replace(m_hImageList, nImage, pbmImage ? static_cast<HBITMAP>(pbmImage->GetSafeHandle()) : nullptr,
                             pbmMask ? static_cast<HBITMAP>(pbmMask->GetSafeHandle()) : nullptr);
}

int CImageList::Replace(int nImage, HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }
HICON CImageList::ExtractIcon(int nImage) { return ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL); }

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle)
{
    return pDC && ImageList_Draw(m_hImageList, nImage, pDC->GetSafeHdc(), pt.x, pt.y, nStyle);
}

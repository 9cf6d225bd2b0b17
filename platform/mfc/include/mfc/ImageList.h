// CImageList: an image list (HIMAGELIST) owned by an object; the list is destroyed with it
// unless it was detached.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <mfc/Object.h>

class CBitmap;
class CDC;

class CImageList : public CObject {
    DECLARE_DYNCREATE(CImageList)
public:
    CImageList() = default;
    ~CImageList() override;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // The images of a bitmap resource, cx wide each; pixels of crMask are transparent.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Create(LPCSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask);

    operator HIMAGELIST() const { return m_hImageList; }
    // Also answers NULL when called on a null object, as callers of the class library expect.
    HIMAGELIST GetSafeHandle() const
    {
        const CImageList* self = this;
        __asm__("" : "+r"(self));
        return self == nullptr ? nullptr : m_hImageList;
    }
    static CImageList* PASCAL FromHandle(HIMAGELIST hImageList);
    static CImageList* PASCAL FromHandlePermanent(HIMAGELIST hImageList);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    int GetImageCount() const;
    COLORREF SetBkColor(COLORREF cr);
    COLORREF GetBkColor() const;
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const;

    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HICON hIcon);
    BOOL Remove(int nImage);
    BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
    int Replace(int nImage, HICON hIcon);
    HICON ExtractIcon(int nImage);
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
};

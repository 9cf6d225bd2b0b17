// CGlobeDib: a bitmap resource of the program itself (never the screen-class library) turned
// once into a device bitmap in a palette of its own colours, for the globe view.
#pragma once

#include "widgets/Dib.h"

#include <afxwin.h>

class CGlobeDib : public CObject {
public:
    // Throws CResourceException when the bitmap is missing or is not one.
    explicit CGlobeDib(UINT nResourceId);
    ~CGlobeDib() override;

    CGlobeDib(const CGlobeDib&) = delete;
    CGlobeDib& operator=(const CGlobeDib&) = delete;

    LONG GetWidth() const { return m_dib.GetWidth(); }
    LONG GetHeight() const { return m_dib.GetHeight(); }
    // The device bitmap (NULL when it could not be made) and its palette.
    HBITMAP GetBitmap() const { return m_hBitmap; }
    CPalette* GetPalette() const { return m_pPalette; }
    UINT GetResourceId() const { return m_nResourceId; }

private:
    CDib m_dib;
    UINT m_nResourceId;
    HBITMAP m_hBitmap = NULL;
    CPalette* m_pPalette = NULL;
};

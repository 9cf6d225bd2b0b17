#include "explore/Globe.h"

#include "widgets/GlobeDib.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

IMPLEMENT_DYNCREATE(CGlobe, CObject)

namespace {

const double kPi = 3.14159265359;
const double kTwoPi = 6.28318530718;

void ShowFailure(LPCSTR lpszText)
{
    AfxMessageBox(lpszText, MB_OK | MB_ICONEXCLAMATION);
}

// The angle of (x, y) for the longitude table: straight up or down on the axis x = 0.
double AxisAngle(int y)
{
    return y < 1 ? -kPi / 2 : kPi / 2;
}

int Clamp(int n, int nLow, int nHigh)
{
    return std::min(std::max(n, nLow), nHigh);
}

// The disc's radius for a view of the size: half the smaller side rounded toward zero, at most
// the tables' reach.
int RadiusOf(int nWidth, int nHeight)
{
    const int cx = (nWidth - 1) / 2;
    const int cy = (nHeight - 1) / 2;
    return std::min({cx, cy, static_cast<int>(CGlobe::kMaxRadius)});
}

// The offset clamped into the disc of radius R, as the render reaches it.
void ClampIntoDisc(int nRadius, int& dx, int& dy)
{
    dy = Clamp(dy, -(nRadius - 1), nRadius - 1);
    const int half = static_cast<int>(std::sqrt(static_cast<double>(nRadius * nRadius - dy * dy)) - 0.5);
    dx = Clamp(dx, -half, half);
}

// A memory DC holding a bitmap for as long as it lives.
class CSelectedBitmap {
public:
    explicit CSelectedBitmap(HBITMAP hBitmap) : m_hdc(::CreateCompatibleDC(NULL))
    {
        if (m_hdc != NULL)
            m_hOld = ::SelectObject(m_hdc, hBitmap);
    }
    ~CSelectedBitmap()
    {
        if (m_hdc == NULL)
            return;
        if (m_hOld != NULL)
            ::SelectObject(m_hdc, m_hOld);
        ::DeleteDC(m_hdc);
    }
    CSelectedBitmap(const CSelectedBitmap&) = delete;
    CSelectedBitmap& operator=(const CSelectedBitmap&) = delete;

    BOOL IsReady() const { return m_hdc != NULL && m_hOld != NULL; }
    HDC GetHDC() const { return m_hdc; }

private:
    HDC m_hdc;
    HGDIOBJ m_hOld = NULL;
};

// The tables as the render reads them: plain pointers held in locals (the pixel writes, being
// bytes, could otherwise alias the table members and force a reload per pixel). The render stays
// within every table only because the radius is at most 255; debug builds check each look-up.
struct CTableView {
    const WORD* pSqrt;
    const WORD* pLongitude;
    const WORD* pLatitude;

    WORD Sqrt(int nIndex) const
    {
        ASSERT(nIndex >= 0 && nIndex < CGlobe::kSqrtEntries);
        return pSqrt[nIndex];
    }
    WORD Longitude(int nRow, int nColumn) const
    {
        ASSERT(nRow >= 0 && nRow < CGlobe::kTableSide && nColumn >= 0 && nColumn < CGlobe::kTableSide);
        return pLongitude[nRow * CGlobe::kTableSide + nColumn];
    }
    WORD Latitude(int nRow, int nColumn) const
    {
        ASSERT(nRow >= 0 && nRow < CGlobe::kTableSide && nColumn >= 0 && nColumn < CGlobe::kLatitudeColumns);
        return pLatitude[nRow * CGlobe::kLatitudeColumns + nColumn];
    }
};

}  // namespace

CGlobe::CGlobe() = default;

CGlobe::~CGlobe()
{
    FreeView();
    FreeMap();
}

CPalette* CGlobe::GetPalette()
{
    if (m_pMediaPal == NULL)
        ShowFailure("CGlobe::GetPalette, pMediaPal is NULL.");
    return m_pMediaPal;
}

CPalette* CGlobe::GetMapPalette() const
{
    return m_pMapDib != NULL ? m_pMapDib->GetPalette() : NULL;
}

void CGlobe::FreeMap()
{
    m_pMapDib.reset();
    m_mapData.clear();
    m_mapData.shrink_to_fit();
    m_convertedMap.clear();
    m_convertedMap.shrink_to_fit();
    m_nMapWidth = m_nMapHeight = m_nMapStride = m_nMapBitsPixel = 0;
    m_nConvertedStride = 0;
}

void CGlobe::FreeView()
{
    m_viewData.clear();
    m_viewData.shrink_to_fit();
    m_viewBitmap.DeleteObject();
    m_convertedMap.clear();
    m_convertedMap.shrink_to_fit();
    m_nConvertedStride = 0;
    m_rcView.SetRectEmpty();
    m_nViewWidth = m_nViewHeight = m_nViewStride = m_nViewBitsPixel = 0;
}

BOOL CGlobe::LoadMap(UINT nResourceId)
{
    FreeMap();
    try {
        m_pMapDib = std::make_unique<CGlobeDib>(nResourceId);
    } catch (CException* e) {
        e->Delete();
        m_pMapDib.reset();
    } catch (const std::bad_alloc&) {
        m_pMapDib.reset();
    }
    if (m_pMapDib == NULL) {
        CString strMessage;
        strMessage.Format("CGlobe::LoadMap, CGlbeDIB(aResourceID) failed, aResourceID = %d.\n",
                          static_cast<int>(nResourceId));
        ShowFailure(strMessage);
        return FALSE;
    }

    BITMAP bm{};
    HBITMAP hBMTemp = m_pMapDib->GetBitmap();
    if (hBMTemp == NULL || ::GetObject(hBMTemp, sizeof(BITMAP), &bm) == 0 ||
        (bm.bmBitsPixel != 8 && bm.bmBitsPixel != 16 && bm.bmBitsPixel != 24 && bm.bmBitsPixel != 32)) {
        FreeMap();
        ShowFailure("CGlobe::LoadMap, ::GetObject(hBMTemp, sizeof(BITMAP), &bm), #1, failed.");
        return FALSE;
    }
    m_nMapWidth = static_cast<int>(m_pMapDib->GetWidth());
    m_nMapHeight = static_cast<int>(m_pMapDib->GetHeight());
    m_nMapBitsPixel = bm.bmBitsPixel;
    // The rows as the device bitmap hands them out (its own row length, not one worked out here).
    m_nMapStride = static_cast<int>(bm.bmWidthBytes);
    // The tables hold map columns and rows in 16 bits.
    if (m_nMapWidth != bm.bmWidth || m_nMapHeight != bm.bmHeight || m_nMapWidth < 1 || m_nMapHeight < 1 ||
        m_nMapWidth > 0xFFFF || m_nMapHeight > 0xFFFF || m_nMapStride < m_nMapWidth * (m_nMapBitsPixel / 8)) {
        FreeMap();
        ShowFailure("CGlobe::LoadMap, ::GetObject(hBMTemp, sizeof(BITMAP), &bm), #1, failed.");
        return FALSE;
    }
    const LONG mapSize = static_cast<LONG>(m_nMapStride) * m_nMapHeight;
    try {
        m_mapData.assign(static_cast<size_t>(mapSize), 0);
    } catch (const std::bad_alloc&) {
        FreeMap();
        ShowFailure("CGlobe::LoadMap, mMapDataPtr = new BYTE[] failed.");
        return FALSE;
    }
    if (::GetBitmapBits(m_pMapDib->GetBitmap(), mapSize, m_mapData.data()) != mapSize) {
        FreeMap();
        ShowFailure("CGlobe::LoadMap, ::GetBitmapBits(mMapDibPtr->GetBitmapHandle(), mapSize, mMapDataPtr);, #2, "
                    "failed.");
        return FALSE;
    }

    BuildTables();
    PrepareRenderMap();
    return TRUE;
}

void CGlobe::BuildTables()
{
    m_sqrtTable.assign(kSqrtEntries, 0);
    for (int i = 1; i < kSqrtEntries; ++i)
        m_sqrtTable[static_cast<size_t>(i)] = static_cast<WORD>(std::sqrt(static_cast<double>(i)) - 0.5);

    const double kx = m_nMapWidth / kTwoPi;
    const double ky = m_nMapHeight / kPi;
    m_longitudeTable.assign(static_cast<size_t>(kTableSide) * kTableSide, 0);
    m_latitudeTable.assign(static_cast<size_t>(kTableSide) * kLatitudeColumns, 0);
    for (int y = -kMaxRadius; y <= kMaxRadius; ++y) {
        const size_t row = static_cast<size_t>(y + kMaxRadius);
        for (int x = -kMaxRadius; x <= kMaxRadius; ++x) {
            const double a = x == 0 ? AxisAngle(y) : std::atan2(static_cast<double>(y), static_cast<double>(x));
            const int column = static_cast<int>(kx * a) + m_nMapWidth / 2;
            m_longitudeTable[row * kTableSide + static_cast<size_t>(x + kMaxRadius)] =
                static_cast<WORD>(Clamp(column, 0, m_nMapWidth - 1));
        }
        for (int x = 0; x <= kMaxRadius; ++x) {
            const double b = x == 0 ? AxisAngle(y) : std::atan(static_cast<double>(y) / x);
            const int mapRow = static_cast<int>(ky * b) + m_nMapHeight / 2;
            m_latitudeTable[row * kLatitudeColumns + static_cast<size_t>(x)] =
                static_cast<WORD>(Clamp(mapRow, 0, m_nMapHeight - 1));
        }
    }
}

BOOL CGlobe::CreateViewBitmap(CDC* pDC, const CRect& rect, COLORREF crBackground)
{
    FreeView();
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return FALSE;

    // A DC whose bitmaps are not 8, 16, 24 or 32 bits deep (a memory DC still holding its
    // monochrome bitmap) gets a view compatible with the screen, which the render can fill.
    HBITMAP hView = pDC != NULL && pDC->GetSafeHdc() != NULL
                        ? ::CreateCompatibleBitmap(pDC->GetSafeHdc(), rect.Width(), rect.Height())
                        : NULL;
    BITMAP bmMade{};
    if (hView != NULL && ::GetObject(hView, sizeof(BITMAP), &bmMade) != 0 && bmMade.bmBitsPixel < 8) {
        ::DeleteObject(hView);
        HDC hdcScreen = ::GetDC(NULL);
        hView = hdcScreen != NULL ? ::CreateCompatibleBitmap(hdcScreen, rect.Width(), rect.Height()) : NULL;
        if (hdcScreen != NULL)
            ::ReleaseDC(NULL, hdcScreen);
    }
    if (hView == NULL || !m_viewBitmap.Attach(hView)) {
        if (hView != NULL)
            ::DeleteObject(hView);
        FreeView();
        ShowFailure("CGlobe::CreateViewBitmap, mViewBitmap.CreateCompatibleBitmap() failed.");
        return FALSE;
    }

    BITMAP bm{};
    if (::GetObject(static_cast<HBITMAP>(m_viewBitmap.GetSafeHandle()), sizeof(BITMAP), &bm) == 0 ||
        bm.bmWidth != rect.Width() || bm.bmHeight != rect.Height() ||
        (bm.bmBitsPixel != 8 && bm.bmBitsPixel != 16 && bm.bmBitsPixel != 24 && bm.bmBitsPixel != 32)) {
        FreeView();
        ShowFailure("CGlobe::CreateViewBitmap, ::GetObject((HBITMAP)mViewBitmap, sizeof(BITMAP), &bm) failed.");
        return FALSE;
    }
    m_rcView = rect;
    m_nViewWidth = bm.bmWidth;
    m_nViewHeight = bm.bmHeight;
    m_nViewStride = static_cast<int>(bm.bmWidthBytes);
    m_nViewBitsPixel = bm.bmBitsPixel;
    const size_t viewSize = static_cast<size_t>(m_nViewStride) * static_cast<size_t>(m_nViewHeight);
    try {
        m_viewData.assign(viewSize, 0);
    } catch (const std::bad_alloc&) {
        FreeView();
        ShowFailure("CGlobe::CreateViewBitmap, mViewDataPtr = NULL.");
        return FALSE;
    }
    m_crBackground = crBackground;

    // The background through a memory DC: a palette-relative colour finds its entry there.
    {
        CSelectedBitmap view(static_cast<HBITMAP>(m_viewBitmap.GetSafeHandle()));
        if (view.IsReady()) {
            HBRUSH hBrush = ::CreateSolidBrush(crBackground);
            RECT rcAll = {0, 0, m_nViewWidth, m_nViewHeight};
            ::FillRect(view.GetHDC(), &rcAll, hBrush);
            ::DeleteObject(hBrush);
        }
    }
    ::GetBitmapBits(static_cast<HBITMAP>(m_viewBitmap.GetSafeHandle()), static_cast<LONG>(viewSize), m_viewData.data());

    PrepareRenderMap();
    return TRUE;
}

void CGlobe::PrepareRenderMap()
{
    m_convertedMap.clear();
    m_convertedMap.shrink_to_fit();
    m_nConvertedStride = 0;
    if (!HasMap() || !HasView() || m_nMapBitsPixel == m_nViewBitsPixel)
        return;

    // The map drawn once into a bitmap of the view's own format (made like the view, from a DC
    // that holds it), then read as the render will read it.
    HBITMAP hConverted = NULL;
    {
        CSelectedBitmap view(static_cast<HBITMAP>(m_viewBitmap.GetSafeHandle()));
        if (view.IsReady())
            hConverted = ::CreateCompatibleBitmap(view.GetHDC(), m_nMapWidth, m_nMapHeight);
    }
    BITMAP bm{};
    if (hConverted == NULL || ::GetObject(hConverted, sizeof(BITMAP), &bm) == 0 ||
        bm.bmBitsPixel != m_nViewBitsPixel || bm.bmWidth != m_nMapWidth || bm.bmHeight != m_nMapHeight) {
        if (hConverted != NULL)
            ::DeleteObject(hConverted);
        return;
    }
    {
        CSelectedBitmap source(m_pMapDib->GetBitmap());
        CSelectedBitmap target(hConverted);
        if (source.IsReady() && target.IsReady()) {
            HPALETTE hPalette = m_pMapDib->GetPalette() != NULL
                                    ? static_cast<HPALETTE>(m_pMapDib->GetPalette()->GetSafeHandle())
                                    : NULL;
            HPALETTE hOldSource = NULL, hOldTarget = NULL;
            if (hPalette != NULL) {
                hOldSource = ::SelectPalette(source.GetHDC(), hPalette, TRUE);
                hOldTarget = ::SelectPalette(target.GetHDC(), hPalette, TRUE);
                ::RealizePalette(target.GetHDC());
            }
            ::BitBlt(target.GetHDC(), 0, 0, m_nMapWidth, m_nMapHeight, source.GetHDC(), 0, 0, SRCCOPY);
            if (hOldSource != NULL)
                ::SelectPalette(source.GetHDC(), hOldSource, TRUE);
            if (hOldTarget != NULL)
                ::SelectPalette(target.GetHDC(), hOldTarget, TRUE);
        }
    }
    const size_t size = static_cast<size_t>(bm.bmWidthBytes) * static_cast<size_t>(m_nMapHeight);
    try {
        m_convertedMap.assign(size, 0);
    } catch (const std::bad_alloc&) {
        m_convertedMap.clear();
    }
    if (!m_convertedMap.empty() &&
        ::GetBitmapBits(hConverted, static_cast<LONG>(size), m_convertedMap.data()) == static_cast<LONG>(size))
        m_nConvertedStride = static_cast<int>(bm.bmWidthBytes);
    else
        m_convertedMap.clear();
    ::DeleteObject(hConverted);
}

void CGlobe::SetRotation(int nTiltDegrees, int nTurnDegrees)
{
    m_dTilt = nTiltDegrees * kPi / 180;
    m_dTurn = nTurnDegrees * kPi / 180;
}

int CGlobe::GetRadius() const
{
    if (!HasView())
        return 0;
    const int nRadius = RadiusOf(m_nViewWidth, m_nViewHeight);
    return nRadius < 2 ? 0 : nRadius;
}

void CGlobe::Render()
{
    if (!HasMap() || !HasView())
        return;
    // The pixels read must be in the view's format: without a converted copy, nothing is drawn.
    if (m_nMapBitsPixel != m_nViewBitsPixel && m_convertedMap.empty())
        return;
    const int cx = (m_nViewWidth - 1) / 2;
    const int cy = (m_nViewHeight - 1) / 2;
    const int nRadius = GetRadius();
    if (nRadius < 2)
        return;
    switch (m_nViewBitsPixel) {
    case 8: RenderDisc<1>(cx, cy, nRadius); break;
    case 16: RenderDisc<2>(cx, cy, nRadius); break;
    case 24: RenderDisc<3>(cx, cy, nRadius); break;
    case 32: RenderDisc<4>(cx, cy, nRadius); break;
    default: return;
    }
    ::SetBitmapBits(static_cast<HBITMAP>(m_viewBitmap.GetSafeHandle()), static_cast<DWORD>(m_viewData.size()),
                    m_viewData.data());
}

template <int BytesPerPixel>
void CGlobe::RenderDisc(int cx, int cy, int nRadius)
{
    const CTableView tables{m_sqrtTable.data(), m_longitudeTable.data(), m_latitudeTable.data()};
    const BYTE* pMap = m_convertedMap.empty() ? m_mapData.data() : m_convertedMap.data();
    const size_t mapStride = static_cast<size_t>(m_convertedMap.empty() ? m_nMapStride : m_nConvertedStride);
    BYTE* pView = m_viewData.data();
    const size_t viewStride = static_cast<size_t>(m_nViewStride);

    const int cT = static_cast<int>(std::cos(m_dTilt) * 256);
    const int sT = static_cast<int>(std::sin(m_dTilt) * 256);
    const int cL = static_cast<int>(std::cos(m_dTurn) * 256);
    const int sL = static_cast<int>(std::sin(m_dTurn) * 256);
    const int rr = nRadius * nRadius;

    for (int j = nRadius - 1; j >= -(nRadius - 1); --j) {
        const int rowSquare = rr - j * j;
        const int half = tables.Sqrt(rowSquare);
        BYTE* pOut = pView + static_cast<size_t>(j + cy) * viewStride + static_cast<size_t>(cx - half) * BytesPerPixel;
        const int jT = j * cT;
        const int jS = j * sT;
        for (int i = -half; i <= half; ++i) {
            const int z = tables.Sqrt(rowSquare - i * i);
            const int t = (jS + z * cT) >> 8;
            const int X = (t * cL - i * sL) >> 8;
            const int Y = (t * sL + i * cL) >> 8;
            const int u = tables.Longitude(Y + kMaxRadius, X + kMaxRadius);
            const int v = tables.Latitude(((jT - z * sT) >> 8) + kMaxRadius, tables.Sqrt(t * t + i * i));
            const BYTE* pIn = pMap + static_cast<size_t>(v) * mapStride + static_cast<size_t>(u) * BytesPerPixel;
            std::memcpy(pOut, pIn, BytesPerPixel);
            pOut += BytesPerPixel;
        }
    }
}

void CGlobe::Draw(CDC* pDC)
{
    if (pDC == NULL || pDC->GetSafeHdc() == NULL || !HasMap() || !HasView())
        return;
    CSelectedBitmap view(static_cast<HBITMAP>(m_viewBitmap.GetSafeHandle()));
    if (!view.IsReady())
        return;
    CPalette* pOldPalette = NULL;
    if (m_pMapDib->GetPalette() != NULL)
        pOldPalette = pDC->SelectPalette(m_pMapDib->GetPalette(), TRUE);
    ::BitBlt(pDC->GetSafeHdc(), m_rcView.left, m_rcView.top, m_nViewWidth, m_nViewHeight, view.GetHDC(), 0, 0,
             SRCCOPY);
    if (pOldPalette != NULL)
        pDC->SelectPalette(pOldPalette, TRUE);
}

double CGlobe::PointToLongitude(int dx, int dy) const
{
    const int nRadius = RadiusOf(m_nViewWidth, m_nViewHeight);
    if (nRadius <= 1)
        return 0.0;
    ClampIntoDisc(nRadius, dx, dy);
    const double depth = std::sqrt(std::max(0.0, static_cast<double>(nRadius * nRadius - dx * dx - dy * dy)));
    const double a = depth * std::cos(m_dTilt) + dy * std::sin(m_dTilt);
    const double X = a * std::cos(m_dTurn) - dx * std::sin(m_dTurn);
    const double Y = a * std::sin(m_dTurn) + dx * std::cos(m_dTurn);
    const double angle = X == 0.0 ? (Y < 0.0 ? -kPi / 2 : kPi / 2) : std::atan2(Y, X);
    return angle * 180 / kPi;
}

double CGlobe::PointToLatitude(int dx, int dy) const
{
    const int nRadius = RadiusOf(m_nViewWidth, m_nViewHeight);
    if (nRadius <= 1)
        return 0.0;
    ClampIntoDisc(nRadius, dx, dy);
    const double depth = std::sqrt(std::max(0.0, static_cast<double>(nRadius * nRadius - dx * dx - dy * dy)));
    const double a = depth * std::cos(m_dTilt) + dy * std::sin(m_dTilt);
    const double h = std::sqrt(a * a + static_cast<double>(dx) * dx);
    const double b = dy * std::cos(m_dTilt) - depth * std::sin(m_dTilt);
    const double angle = h == 0.0 ? (b <= 0.0 ? -kPi / 2 : kPi / 2) : std::atan(b / h);
    return -(angle * 180 / kPi);
}

BOOL CGlobe::LatLongToPoint(int nLatitude, int nLongitude, CPoint& ptOffset) const
{
    const int cx = (m_nViewWidth - 1) / 2;
    const int cy = (m_nViewHeight - 1) / 2;
    if (std::min(cx, cy) < 2)
        return FALSE;
    const double R = std::min({cx, cy, static_cast<int>(kMaxRadius)});
    const double lat = nLatitude * kPi / 180;
    const double lon = nLongitude * kPi / 180;
    const double p = R * std::cos(lat) * std::cos(lon);
    const double q = R * std::cos(lat) * std::sin(lon);
    const double s = R * std::sin(lat);
    const double x1 = q * std::sin(m_dTurn) + p * std::cos(m_dTurn);
    const double y1 = q * std::cos(m_dTurn) - p * std::sin(m_dTurn);
    const double depth = x1 * std::cos(m_dTilt) + s * std::sin(m_dTilt);
    const double w = s * std::cos(m_dTilt) - x1 * std::sin(m_dTilt);
    if (depth < 0)
        return FALSE;
    ptOffset = CPoint(static_cast<int>(y1), static_cast<int>(-w));
    return TRUE;
}

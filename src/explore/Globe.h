// CGlobe: an unshaded orthographic view of the earth drawn from a flat world map (an
// equirectangular bitmap: columns are longitude from -180 at the left edge, rows latitude from
// +90 at the top), for any tilt and turn, fast enough to turn one degree at a time.
//
// The map is a program bitmap of 256 colours (a CGlobeDib: a device bitmap realised with the map's
// own palette); the view is a device bitmap compatible with the DC it is made for. Rendering works
// in the device's own pixels (8, 16, 24 or 32 bits): a pixel of the disc is a copy of a map pixel
// picked by integer multiplies, shifts and three table look-ups, the trigonometry done once per
// frame and the tables once per map. The disc's radius is half the view's smaller side, at most
// 255 pixels; the tables hold exactly that range.
//
// Tilt turns the globe about its horizontal axis (positive: the view centre moves north), turn
// about the polar axis (positive: the view centre moves east); with tilt T and turn L the view
// centre shows latitude T, longitude L.
//
// Failures show their message and leave the globe without a map or without a view: rendering and
// drawing then do nothing.
#pragma once

#include <afxwin.h>

#include <memory>
#include <vector>

class CGlobeDib;

class CGlobe : public CObject {
    DECLARE_DYNCREATE(CGlobe)
public:
    enum {
        kMaxRadius = 255,                       // the largest disc the tables serve
        kTableSide = 2 * kMaxRadius + 1,        // 511: rows (and longitude columns) of the tables
        kLatitudeColumns = kMaxRadius + 1,      // 256
        kSqrtEntries = 65536,
        kMinViewSide = 5                        // a smaller view draws nothing
    };

    CGlobe();
    ~CGlobe() override;

    CGlobe(const CGlobe&) = delete;
    CGlobe& operator=(const CGlobe&) = delete;

    // Loads the map from the program's bitmap resource and builds the tables. FALSE (after its
    // message) when the map could not be loaded; the globe then has no map.
    BOOL LoadMap(UINT nResourceId);
    // Makes the view bitmap for the rectangle (its position in the window) on the DC, cleared to
    // the background colour. FALSE (after its message) on failure; an empty rectangle gives no
    // view and no message.
    BOOL CreateViewBitmap(CDC* pDC, const CRect& rect, COLORREF crBackground);
    void SetRotation(int nTiltDegrees, int nTurnDegrees);
    // Draws the globe into the view buffer and copies it into the view bitmap.
    void Render();
    // Copies the view bitmap to the DC at the view rectangle, with the map's palette selected as
    // a background palette.
    void Draw(CDC* pDC);

    // The palette of the view the globe is shown in, given by its owner (not owned).
    void SetPalette(CPalette* pPalette) { m_pMediaPal = pPalette; }
    // The owner's palette; without one, says so in a message box and gives NULL.
    CPalette* GetPalette();

    // Offsets from the view centre (pixels, y down) to degrees; a point outside the disc is taken
    // at the disc's edge.
    double PointToLongitude(int dx, int dy) const;
    double PointToLatitude(int dx, int dy) const;
    // Degrees to the offset from the view centre; FALSE when the point is on the far side (or the
    // view is too small for a disc).
    BOOL LatLongToPoint(int nLatitude, int nLongitude, CPoint& ptOffset) const;

    BOOL HasMap() const { return m_pMapDib != NULL && !m_mapData.empty(); }
    BOOL HasView() const { return m_viewBitmap.GetSafeHandle() != NULL && !m_viewData.empty(); }
    const CRect& GetViewRect() const { return m_rcView; }
    CBitmap* GetViewBitmap() { return &m_viewBitmap; }
    int GetViewBitsPerPixel() const { return m_nViewBitsPixel; }
    // The disc's radius in the current view (0 when none would be drawn).
    int GetRadius() const;
    // The map's own palette (NULL without a map).
    CPalette* GetMapPalette() const;

private:
    void FreeMap();
    void FreeView();
    void BuildTables();
    // Makes the pixels the render reads: the map copy itself when it has the view's depth, else
    // the map converted once into the view's format.
    void PrepareRenderMap();
    template <int BytesPerPixel> void RenderDisc(int cx, int cy, int nRadius);

    // The map.
    std::unique_ptr<CGlobeDib> m_pMapDib;
    int m_nMapWidth = 0;
    int m_nMapHeight = 0;
    int m_nMapStride = 0;
    int m_nMapBitsPixel = 0;
    std::vector<BYTE> m_mapData;
    // The map in the view's format when the depths differ (else empty), and its stride.
    std::vector<BYTE> m_convertedMap;
    int m_nConvertedStride = 0;

    // The view.
    CBitmap m_viewBitmap;
    std::vector<BYTE> m_viewData;
    CRect m_rcView;
    int m_nViewWidth = 0;
    int m_nViewHeight = 0;
    int m_nViewStride = 0;
    int m_nViewBitsPixel = 0;
    COLORREF m_crBackground = 0;

    // Radians.
    double m_dTilt = 0.0;
    double m_dTurn = 0.0;

    // The tables: square roots (entry i: integer part of sqrt(i) - 0.5), map columns by (y, x) in
    // -255..255 and map rows by (y in -255..255, x in 0..255).
    std::vector<WORD> m_sqrtTable;
    std::vector<WORD> m_longitudeTable;
    std::vector<WORD> m_latitudeTable;

    CPalette* m_pMediaPal = NULL;
};

#include <afx.h>

#include <gtest/gtest.h>

namespace {

void ExpectRect(const RECT& r, LONG l, LONG t, LONG rr, LONG b)
{
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, rr);
    EXPECT_EQ(r.bottom, b);
}

LONG Area(LPCRECT r) { return (r->right - r->left) * (r->bottom - r->top); }

}  // namespace

TEST(Geometry, PointAndSizeArithmetic)
{
    CPoint p(10, 20);
    CSize s(3, 4);
    EXPECT_TRUE(p + s == CPoint(13, 24));
    EXPECT_TRUE(p - s == CPoint(7, 16));
    EXPECT_TRUE(p - CPoint(4, 5) == CSize(6, 15));  // the distance of two points is a size
    EXPECT_TRUE(-p == CPoint(-10, -20));
    EXPECT_TRUE(s + p == CPoint(13, 24));
    EXPECT_TRUE(-s == CSize(-3, -4));
    p += s;
    p -= CPoint(1, 1);
    EXPECT_TRUE(p == CPoint(12, 23));
    EXPECT_TRUE(p != CPoint(12, 24));
    p.Offset(-2, -3);
    EXPECT_TRUE(p == CPoint(10, 20));
    CPoint fromLParam(static_cast<LPARAM>(MAKELONG(-5, 7)));
    EXPECT_TRUE(fromLParam == CPoint(-5, 7));
    CSize fromDword(static_cast<DWORD>(MAKELONG(100, -2)));
    EXPECT_TRUE(fromDword == CSize(100, -2));
}

TEST(Geometry, RectMembers)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.Height(), 50);
    EXPECT_TRUE(r.Size() == CSize(100, 50));
    EXPECT_TRUE(r.CenterPoint() == CPoint(60, 45));
    EXPECT_TRUE(r.TopLeft() == CPoint(10, 20));
    r.BottomRight() = CPoint(50, 60);  // the corner is the rectangle's own storage
    ExpectRect(r, 10, 20, 50, 60);
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(50, 30)));  // right edge is outside
    EXPECT_FALSE(r.PtInRect(CPoint(30, 60)));  // bottom edge is outside
    EXPECT_FALSE(r.IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
    EXPECT_TRUE(CRect(9, 5, 5, 9).IsRectEmpty());
    EXPECT_FALSE(CRect(9, 5, 5, 9).IsRectNull());
    EXPECT_TRUE(CRect().IsRectNull());

    LPRECT lp = r;
    lp->left = 0;
    LPCRECT lpc = static_cast<const CRect&>(r);
    EXPECT_EQ(lpc->left, 0);

    r.InflateRect(1, 2);
    ExpectRect(r, -1, 18, 51, 62);
    r.DeflateRect(1, 2, 3, 4);
    ExpectRect(r, 0, 20, 48, 58);
    r.OffsetRect(CSize(2, -20));
    ExpectRect(r, 2, 0, 50, 38);
    CRect flipped(50, 40, 10, 20);
    flipped.NormalizeRect();
    ExpectRect(flipped, 10, 20, 50, 40);
    EXPECT_TRUE(CRect(CPoint(1, 2), CSize(3, 4)) == CRect(1, 2, 4, 6));
}

TEST(Geometry, RectSetOperations)
{
    struct Case {
        RECT a, b;
        RECT intersect;
        BOOL intersects;
        RECT unite;
        RECT subtract;
    } cases[] = {
        // overlapping corner
        {{0, 0, 10, 10}, {5, 5, 15, 15}, {5, 5, 10, 10}, TRUE, {0, 0, 15, 15}, {0, 0, 10, 10}},
        // disjoint
        {{0, 0, 10, 10}, {20, 0, 30, 10}, {0, 0, 0, 0}, FALSE, {0, 0, 30, 10}, {0, 0, 10, 10}},
        // touching edges do not intersect
        {{0, 0, 10, 10}, {10, 0, 20, 10}, {0, 0, 0, 0}, FALSE, {0, 0, 20, 10}, {0, 0, 10, 10}},
        // b covers the top band of a: the rest is a rectangle
        {{0, 0, 10, 10}, {-5, -5, 15, 4}, {0, 0, 10, 4}, TRUE, {-5, -5, 15, 10}, {0, 4, 10, 10}},
        // b covers the right band
        {{0, 0, 10, 10}, {6, -1, 20, 11}, {6, 0, 10, 10}, TRUE, {0, -1, 20, 11}, {0, 0, 6, 10}},
        // b covers a completely
        {{2, 2, 4, 4}, {0, 0, 10, 10}, {2, 2, 4, 4}, TRUE, {0, 0, 10, 10}, {0, 0, 0, 0}},
        // b in the middle of a: no rectangle remains, a stays
        {{0, 0, 10, 10}, {3, 3, 6, 6}, {3, 3, 6, 6}, TRUE, {0, 0, 10, 10}, {0, 0, 10, 10}},
        // empty b counts for nothing
        {{0, 0, 10, 10}, {50, 50, 50, 60}, {0, 0, 0, 0}, FALSE, {0, 0, 10, 10}, {0, 0, 10, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.b.left << "," << c.b.top << "," << c.b.right << "," << c.b.bottom);
        CRect r;
        EXPECT_EQ(r.IntersectRect(&c.a, &c.b), c.intersects);
        EXPECT_TRUE(r == c.intersect);
        EXPECT_TRUE((CRect(c.a) & c.b) == c.intersect);
        EXPECT_TRUE(r.UnionRect(&c.a, &c.b));
        EXPECT_TRUE(r == c.unite);
        EXPECT_TRUE((CRect(c.a) | c.b) == c.unite);
        EXPECT_EQ(r.SubtractRect(&c.a, &c.b), Area(&c.subtract) > 0);
        EXPECT_TRUE(r == c.subtract);
    }
    CRect r;
    RECT e1 = {1, 1, 1, 1}, e2 = {5, 5, 2, 2};
    EXPECT_FALSE(r.UnionRect(&e1, &e2));
    EXPECT_TRUE(r.IsRectNull());
}

TEST(Geometry, RectOperators)
{
    CRect r(0, 0, 10, 10);
    EXPECT_TRUE(r + CPoint(1, 2) == CRect(1, 2, 11, 12));
    EXPECT_TRUE(r - CSize(1, 2) == CRect(-1, -2, 9, 8));
    RECT border = {1, 2, 3, 4};
    EXPECT_TRUE(r + &border == CRect(-1, -2, 13, 14));
    EXPECT_TRUE(r - &border == CRect(1, 2, 7, 6));
    EXPECT_TRUE(CPoint(5, 5) + &border == CRect(6, 7, 8, 9));
    r += CPoint(5, 5);
    r -= CSize(1, 1);
    EXPECT_TRUE(r == CRect(4, 4, 14, 14));
    r &= CRect(0, 0, 8, 8);
    EXPECT_TRUE(r == CRect(4, 4, 8, 8));
    r |= CRect(0, 0, 1, 1);
    EXPECT_TRUE(r == CRect(0, 0, 8, 8));
    r += &border;
    EXPECT_TRUE(r == CRect(-1, -2, 11, 12));
    r -= &border;
    EXPECT_TRUE(r == CRect(0, 0, 8, 8));
    EXPECT_TRUE(r != CRect(0, 0, 8, 9));
    RECT plain = {1, 2, 3, 4};
    r = plain;
    EXPECT_TRUE(r.EqualRect(&plain));
}

#include "base/HitList.h"

#include <gtest/gtest.h>

namespace {

TEST(HitPosition, PackingCutsEachFieldToItsWidth)
{
    struct Case {
        UINT section, offset, length;
        UINT wantSection, wantOffset, wantLength;
        DWORD wantValue;
    } cases[] = {
        {0, 0, 0, 0, 0, 0, 0},
        {300, 200000, 200, 44, 68928, 72, 44u | (68928u << 8) | (72u << 25)},
        {255, 131071, 127, 255, 131071, 127, 0xFFFFFFFFu},
        {201, 5, 1, 201, 5, 1, 201u | (5u << 8) | (1u << 25)},
    };
    for (const Case& c : cases) {
        CHitPosition pos(c.section, c.offset, c.length);
        EXPECT_EQ(c.wantSection, pos.GetSection());
        EXPECT_EQ(c.wantOffset, pos.GetOffset());
        EXPECT_EQ(c.wantLength, pos.GetLength());
        EXPECT_EQ(c.wantValue, pos.GetValue());
    }
}

TEST(HitPosition, SettersTouchOnlyTheirField)
{
    CHitPosition pos(7, 1000, 12);
    pos.SetOffset(200000);  // cut to 68,928
    EXPECT_EQ(7u, pos.GetSection());
    EXPECT_EQ(68928u, pos.GetOffset());
    EXPECT_EQ(12u, pos.GetLength());
    pos.SetSection(0x1FF);
    EXPECT_EQ(0xFFu, pos.GetSection());
    EXPECT_EQ(68928u, pos.GetOffset());
    pos.SetLength(128);
    EXPECT_EQ(0u, pos.GetLength());
    EXPECT_EQ(0xFFu, pos.GetSection());
    EXPECT_EQ(68928u, pos.GetOffset());

    CHitPosition raw;
    raw.SetValue(0x12345678);
    CHitPosition copy(raw);
    EXPECT_EQ(0x12345678u, copy.GetValue());
    CHitPosition& self = copy;
    copy = self;
    EXPECT_EQ(0x12345678u, copy.GetValue());
}

TEST(HitList, CursorWalk)
{
    CHitList list;
    EXPECT_EQ(nullptr, list.GetFirst());
    EXPECT_EQ(nullptr, list.GetNext());
    EXPECT_EQ(nullptr, list.GetAt(0));

    list.AddHit(CHitPosition(1, 10, 3));
    list.AddHit(CHitPosition(2, 20, 4));
    list.AddHit(CHitPosition(3, 30, 5));
    CHitPosition* p = list.GetFirst();
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(1u, p->GetSection());
    ASSERT_NE(nullptr, p = list.GetNext());
    EXPECT_EQ(2u, p->GetSection());
    ASSERT_NE(nullptr, p = list.GetNext());
    EXPECT_EQ(3u, p->GetSection());
    EXPECT_EQ(nullptr, list.GetNext());
    EXPECT_EQ(nullptr, list.GetNext());

    // GetFirst starts over; the index look-up ignores the cursor.
    EXPECT_EQ(1u, list.GetFirst()->GetSection());
    EXPECT_EQ(nullptr, list.GetAt(3));
    ASSERT_NE(nullptr, list.GetAt(2));
    EXPECT_EQ(30u, list.GetAt(2)->GetOffset());
    EXPECT_EQ(nullptr, list.GetAt(static_cast<UINT>(-1)));
    EXPECT_EQ(2u, list.GetNext()->GetSection());
}

TEST(HitList, GrowsPastManyBlocks)
{
    CHitList list;
    for (UINT i = 0; i < 95; ++i)
        list.AddHit(CHitPosition(i, i * 100, i % 128));
    EXPECT_EQ(95, list.GetCount());
    UINT n = 0;
    for (CHitPosition* p = list.GetFirst(); p != nullptr; p = list.GetNext(), ++n)
        EXPECT_EQ(n * 100, p->GetOffset());
    EXPECT_EQ(95u, n);
}

TEST(HitList, CopyToReplacesAndRemoveAllEmpties)
{
    CHitList source, dest;
    source.AddHit(CHitPosition(1, 1, 1));
    source.AddHit(CHitPosition(2, 2, 2));
    dest.AddHit(CHitPosition(9, 9, 9));
    dest.AddHit(CHitPosition(8, 8, 8));
    dest.AddHit(CHitPosition(7, 7, 7));
    source.CopyTo(&dest);
    ASSERT_EQ(2, dest.GetCount());
    EXPECT_EQ(1u, dest.GetAt(0)->GetSection());
    EXPECT_EQ(2u, dest.GetAt(1)->GetSection());
    EXPECT_EQ(2, source.GetCount());

    dest.RemoveAll();
    EXPECT_EQ(0, dest.GetCount());
    EXPECT_EQ(nullptr, dest.GetFirst());
    dest.AddHit(CHitPosition(4, 4, 4));
    EXPECT_EQ(4u, dest.GetFirst()->GetSection());
    EXPECT_STREQ("CHitList", dest.GetRuntimeClass()->m_lpszClassName);
}

}  // namespace

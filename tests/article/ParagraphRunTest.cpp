// Paragraph run views over hand-made run records of both layouts.
#include "article/ParagraphRun.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

struct Section {
    std::vector<BYTE> runs;
    std::vector<BYTE> text;
    ARTICLE_SECTION_CURSOR cursor{};

    void NewRun(int kind, int flags, int style, int level, int length, DWORD extra)
    {
        BYTE run[10] = {static_cast<BYTE>((kind << 4) | flags), static_cast<BYTE>(style),
                        static_cast<BYTE>(level), static_cast<BYTE>(level >> 8),
                        static_cast<BYTE>(length), static_cast<BYTE>(length >> 8),
                        static_cast<BYTE>(extra), static_cast<BYTE>(extra >> 8),
                        static_cast<BYTE>(extra >> 16), static_cast<BYTE>(extra >> 24)};
        runs.insert(runs.end(), run, run + 10);
    }
    void OldRun(int flagWord, DWORD length, DWORD extra)
    {
        BYTE run[10] = {static_cast<BYTE>(flagWord), static_cast<BYTE>(flagWord >> 8),
                        static_cast<BYTE>(length), static_cast<BYTE>(length >> 8),
                        static_cast<BYTE>(length >> 16), static_cast<BYTE>(length >> 24),
                        static_cast<BYTE>(extra), static_cast<BYTE>(extra >> 8),
                        static_cast<BYTE>(extra >> 16), static_cast<BYTE>(extra >> 24)};
        runs.insert(runs.end(), run, run + 10);
    }
    CParagraphRun Run(int index, int year)
    {
        cursor.pRuns = runs.data();
        cursor.pText = text.data();
        CParagraphRun run(&cursor, runs.data(), index);
        run.SetFormatYear(year);
        return run;
    }
};

TEST(ParagraphRunTest, NewLayoutFields)
{
    Section s;
    s.text.assign(16, 'x');
    s.NewRun(0, 0x0F, 3, 7, 3, 0);        // text, all flags
    s.NewRun(3, 0x08, 0, 0, 5, 12345);    // no text: its length does not count
    s.NewRun(2, 0x01, 9, 4, 2, 0);        // heading kind 2
    s.NewRun(1, 0x00, 0, 1, 1, 0);        // heading kind 1
    s.NewRun(5, 0x02, 4, 0, 0, 0);        // special kind

    CParagraphRun r0 = s.Run(0, 1999);
    EXPECT_EQ(r0.GetTextAddress(), s.text.data()) << "run 0 starts at the section's first text byte";
    EXPECT_TRUE(r0.HasAllFlags());
    EXPECT_FALSE(r0.IsFlag3Clear());
    EXPECT_EQ(r0.GetStyle(), 3);
    EXPECT_EQ(r0.GetLevelValue(), 7);
    EXPECT_EQ(r0.GetTextLength(), 3u);
    EXPECT_FALSE(r0.IsHeading());

    CParagraphRun r1 = s.Run(1, 1999);
    EXPECT_TRUE(r1.HasNoText());
    EXPECT_TRUE(r1.HasExtraValue());
    EXPECT_EQ(r1.GetExtraValue(), 12345u);
    EXPECT_FALSE(r1.GetFlag0());
    EXPECT_FALSE(r1.IsFlag3Clear());

    CParagraphRun r2 = s.Run(2, 1999);
    EXPECT_EQ(r2.GetTextAddress(), s.text.data() + 3) << "the run without text does not shift the next one";
    EXPECT_TRUE(r2.IsHeading());
    EXPECT_EQ(r2.GetHeadingLevel(), 1);
    EXPECT_TRUE(r2.GetFlag0());
    EXPECT_FALSE(r2.HasExtraValue());

    CParagraphRun r3 = s.Run(3, 1999);
    EXPECT_TRUE(r3.IsHeading());
    EXPECT_EQ(r3.GetHeadingLevel(), 0);
    EXPECT_EQ(r3.GetTextAddress(), s.text.data() + 5);

    CParagraphRun r4 = s.Run(4, 1999);
    EXPECT_TRUE(r4.IsSpecialKind());
    EXPECT_EQ(r4.GetKind(), 5);
    EXPECT_TRUE(r4.GetFlag1());
    EXPECT_FALSE(r4.IsHeading());
}

TEST(ParagraphRunTest, OldLayoutFields)
{
    Section s;
    s.text.assign(0x10010, 'x');
    s.OldRun(0x0300 | 0x40 | 0x80 | 0x04, 0x10002, 0);  // heading level 1, style 3, flag 2
    s.OldRun(0x10 | 0x20, 9, 77);                      // no text, extra value
    s.OldRun(0x0F, 4, 0);                              // all flags

    CParagraphRun r0 = s.Run(0, 1997);
    EXPECT_TRUE(r0.IsHeading());
    EXPECT_EQ(r0.GetHeadingLevel(), 1);
    EXPECT_EQ(r0.GetStyle(), 3);
    EXPECT_TRUE(r0.GetFlag2());
    EXPECT_EQ(r0.GetTextLength(), 0x10002u) << "a 32-bit length";
    EXPECT_EQ(r0.GetLevelValue(), 1) << "whatever the record holds";
    EXPECT_EQ(r0.GetKind(), 0);
    EXPECT_FALSE(r0.IsSpecialKind());
    EXPECT_FALSE(r0.HasNoText());

    CParagraphRun r1 = s.Run(1, 1997);
    EXPECT_TRUE(r1.HasNoText());
    EXPECT_TRUE(r1.HasExtraValue());
    EXPECT_EQ(r1.GetExtraValue(), 77u);
    EXPECT_EQ(r1.GetLevelValue(), 1);

    CParagraphRun r2 = s.Run(2, 1997);
    EXPECT_EQ(r2.GetTextAddress(), s.text.data() + 0x10002);
    EXPECT_TRUE(r2.HasAllFlags());
    EXPECT_FALSE(r2.HasExtraValue()) << "the flag word says, not the value";
}

}  // namespace

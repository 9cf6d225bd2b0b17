// The rich-text reader: formatting runs, escapes, skipped destinations and damaged input.
#include <host/RtfReader.h>

#include <gtest/gtest.h>

#include <string>

using host::ReadRtf;
using host::RtfDocument;
using host::RtfStatus;

namespace {

const char kProlog[] =
    "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}{\\f1\\froman\\fcharset2 Symbol;}"
    "{\\f2\\froman Times New Roman;}{\\f3\\fswiss\\fprq2 Arial;}}{\\colortbl\\red0\\green0\\blue0;}\\deflang1033";

// The runs as "text|face|size|flags|colour" lines, for whole-document comparisons.
std::string Describe(const RtfDocument& d)
{
    std::string out;
    for (const host::RtfRun& r : d.runs) {
        out += d.text.substr(r.start, r.length) + "|" + r.format.face + "|" + std::to_string(r.format.halfPoints) + "|";
        out += r.format.bold ? "b" : "";
        out += r.format.italic ? "i" : "";
        out += r.format.underline ? "u" : "";
        char color[16];
        snprintf(color, sizeof color, "%06X", r.format.color);
        out += std::string("|") + (r.format.autoColor ? "auto" : color) + "\n";
    }
    return out;
}

TEST(RtfReaderTest, MonthChronologyGivesBoldHeadingsInArial)
{
    std::string rtf = std::string(kProlog) +
                      "\\pard\\plain\\f3\\fs20\\b JULY 3\\plain\\f3\\fs20 \\par First entry.\\par \\par "
                      "Second entry.\\par \\par \\pard\\plain\\f3\\fs20 \\par }";
    RtfDocument d = ReadRtf(rtf);
    EXPECT_EQ(d.status, RtfStatus::Ok);
    EXPECT_EQ(d.text, "JULY 3\r\nFirst entry.\r\n\r\nSecond entry.\r\n\r\n\r\n");
    EXPECT_EQ(Describe(d), "JULY 3|Arial|20|b|auto\n"
                           "\r\nFirst entry.\r\n\r\nSecond entry.\r\n\r\n\r\n|Arial|20||auto\n");
    EXPECT_EQ(d.defaultTab, 720);
    EXPECT_EQ(d.language, 1033);
}

struct Case {
    const char* name;
    const char* body;  // after the prolog; the closing brace is added
    const char* text;
    const char* runs;  // Describe(), or nullptr to skip
};

TEST(RtfReaderTest, FormattingAndEscapes)
{
    const Case cases[] = {
        {"sizes and styles", "\\f2\\fs36 Big\\fs16\\i small\\i0\\ul u\\ulnone n", "Bigsmallun",
         "Big|Times New Roman|36||auto\nsmall|Times New Roman|16|i|auto\nu|Times New Roman|16|u|auto\nn|Times New Roman|16||auto\n"},
        {"the symbol font by its number", "\\f1 p\\f2 q", "pq", "p|Symbol|24||auto\nq|Times New Roman|24||auto\n"},
        {"plain resets to the default font", "\\f3\\b x\\plain y", "xy", "x|Arial|24|b|auto\ny|MS Sans Serif|24||auto\n"},
        {"colour from the table", "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue255;}\\cf1 r\\cf2 g\\cf0 a\\cf9 z",
         "rgaz", "r|MS Sans Serif|24||0000FF\ng|MS Sans Serif|24||FF8000\naz|MS Sans Serif|24||auto\n"},
        {"hex escapes are Windows-1252 bytes", "caf\\'e9 \\'93q\\'94 \\'zz\\'4", "caf\xe9 \x93q\x94 zz", nullptr},
        {"escaped braces and backslash", "a\\{b\\}c\\\\d", "a{b}c\\d", nullptr},
        {"tab, line and special symbols", "a\\tab b\\line c\\~d\\-e\\_f\\emdash", "a\tb\r\nc\xa0" "de-f\x97", nullptr},
        {"nested groups restore the format", "a{\\b b{\\i c}d}e", "abcde",
         "a|MS Sans Serif|24||auto\nb|MS Sans Serif|24|b|auto\nc|MS Sans Serif|24|bi|auto\nd|MS Sans Serif|24|b|auto\ne|MS Sans Serif|24||auto\n"},
        {"unknown words are skipped, their text kept", "\\qc\\sa200\\unknownword12 text\\u8212?", "text?", nullptr},
        {"raw line breaks mean nothing", "a\r\nb\nc", "abc", nullptr},
        {"backslash-newline is a paragraph", "a\\\nb", "a\r\nb", nullptr},
    };
    for (const Case& c : cases) {
        RtfDocument d = ReadRtf(std::string(kProlog) + c.body + "}");
        EXPECT_EQ(d.status, RtfStatus::Ok) << c.name;
        EXPECT_EQ(d.text, c.text) << c.name;
        if (c.runs) {
            EXPECT_EQ(Describe(d), c.runs) << c.name;
        }
    }
}

TEST(RtfReaderTest, DestinationsAreSkippedWhole)
{
    const Case cases[] = {
        {"embedded object with data", "a{\\object\\objemb{\\*\\objclass Package}{\\*\\objdata 0105000002000000}{\\result b}}c",
         "ac", nullptr},
        {"field with a link", "see {\\field{\\*\\fldinst HYPERLINK \"http://127.0.0.1/x\"}{\\fldrslt here}} now",
         "see  now", nullptr},
        {"picture with binary bytes that look like braces", "a{\\pict\\wmetafile8\\bin6 }}{{\\x}b", "ab", nullptr},
        {"starred destination with nested groups", "a{\\*\\unknown x{y{z}}\\par}b", "ab", nullptr},
        {"info and stylesheet", "{\\info{\\title T}{\\author A}}{\\stylesheet{\\s0 Normal;}}body", "body", nullptr},
        {"font table name with panose", "{\\fonttbl{\\f7\\fnil{\\*\\panose 0000}Wing Face;}}\\f7 w", "w", "w|Wing Face|24||auto\n"},
    };
    for (const Case& c : cases) {
        RtfDocument d = ReadRtf(std::string(kProlog) + c.body + "}");
        EXPECT_EQ(d.status, RtfStatus::Ok) << c.name;
        EXPECT_EQ(d.text, c.text) << c.name;
        if (c.runs) {
            EXPECT_EQ(Describe(d), c.runs) << c.name;
        }
    }
}

TEST(RtfReaderTest, DamagedInputKeepsWhatWasRead)
{
    struct Damaged {
        const char* name;
        std::string data;
        RtfStatus status;
        std::string text;
    };
    std::string deep = std::string(kProlog) + "a";
    for (int i = 0; i < 200; ++i)
        deep += "{x";
    const Damaged cases[] = {
        {"missing closing brace", std::string(kProlog) + "abc\\par de", RtfStatus::Unbalanced, "abc\r\nde"},
        {"ends inside a control word", std::string(kProlog) + "ab\\", RtfStatus::Unbalanced, "ab"},
        {"ends inside a hex escape", std::string(kProlog) + "ab\\'4", RtfStatus::Unbalanced, "ab"},
        {"ends inside the font table", "{\\rtf1{\\fonttbl{\\f0 Ari", RtfStatus::Unbalanced, ""},
        {"extra closing brace ends the document", std::string(kProlog) + "ab}}cd}", RtfStatus::Ok, "ab"},
        {"nesting deeper than the bound", deep, RtfStatus::TooDeep, "a" + std::string(host::kRtfMaxDepth - 1, 'x')},
        {"binary length past the end", std::string(kProlog) + "ab\\bin999999 {}", RtfStatus::Unbalanced, "ab"},
        {"not rich text", "plain words", RtfStatus::NotRtf, ""},
        {"empty", "", RtfStatus::NotRtf, ""},
    };
    for (const Damaged& c : cases) {
        RtfDocument d = ReadRtf(c.data);
        EXPECT_EQ(d.status, c.status) << c.name;
        EXPECT_EQ(d.text, c.text) << c.name;
    }
}

TEST(RtfReaderTest, OverflowingNumbersAreBounded)
{
    RtfDocument d = ReadRtf(std::string(kProlog) +
                            "\\fs99999999999999999999 a\\fs-5 b\\f123456789012345 c\\cf4294967297 d"
                            "\\b99999999999999999999 e\\bin-7 f\\deftab-3 }");
    EXPECT_EQ(d.status, RtfStatus::Ok);
    EXPECT_EQ(d.text, "abcdef");
    EXPECT_EQ(Describe(d), "abcd|MS Sans Serif|3276||auto\nef|MS Sans Serif|3276|b|auto\n");
    EXPECT_EQ(d.defaultTab, 720);
}

TEST(RtfReaderTest, TextStopsAtItsBound)
{
    std::string rtf = std::string(kProlog) + std::string(100, 'x') + "}";
    RtfDocument d = ReadRtf(rtf, 40);
    EXPECT_EQ(d.status, RtfStatus::TooLong);
    EXPECT_EQ(d.text, std::string(40, 'x'));
    ASSERT_EQ(d.runs.size(), 1u);
    EXPECT_EQ(d.runs[0].length, 40u);
}

}  // namespace

// The numeric and filtered edits: the digits of the year field stepping with carry and borrow,
// what each kind of edit takes and what it beeps at, Enter, and the length kept while typing.
#include "widgets/DateCtrl.h"
#include "widgets/IntEdit.h"
#include "widgets/VLEdit.h"

#include "DialogPiecesSupport.h"

#include <memory>
#include <string>
#include <vector>

namespace {

class NumericEditsTest : public DialogPiecesTest {
protected:
    template <class Edit>
    void Make(Edit& edit)
    {
        ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(10, 10, 150, 34), &form, 300));
        edit.SetFocus();
        ui::PumpUntilIdle();
    }
    static void Type(const char* text)
    {
        host::TypeText(text);
        ui::PumpUntilIdle();
    }
    static void Press(UINT vk)
    {
        host::PressKey(vk);
        ui::PumpUntilIdle();
    }
    // The commands the form was sent that no control's notice made (those carry the control).
    std::vector<FormMessage> Commands() const
    {
        std::vector<FormMessage> out;
        for (const FormMessage& m : form.received)
            if (m.message == WM_COMMAND && m.lParam == 0)
                out.push_back(m);
        return out;
    }
};

TEST_F(NumericEditsTest, YearDigitsStepWithCarryAndBorrow)
{
    struct Case {
        UINT start;
        bool up;
        int pos;
        const char* after;
    } cases[] = {
        {1999, true, 3, "2000"}, {2000, false, 3, "1999"}, {9999, true, 3, "0000"}, {0, false, 3, "9999"},
        {1234, true, 1, "1334"}, {1909, true, 2, "1919"}, {1990, false, 3, "1989"}, {1000, false, 1, "0900"},
        {9, true, 0, "1009"},    {9000, true, 0, "0000"}, {1999, true, 7, "1999"}, {1999, false, -1, "1999"},
    };
    CDateCtrl year;
    Make(year);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << (c.up ? " up at " : " down at ") << c.pos);
        year.SetValue(c.start);
        if (c.up)
            year.IncrementDigit(c.pos);
        else
            year.DecrementDigit(c.pos);
        EXPECT_STREQ(c.after, TextOf(year));
        EXPECT_EQ(std::atoi(c.after), year.GetValue());
        // The caret ends after the text, nothing selected.
        int start = -1, end = -1;
        year.GetSel(start, end);
        EXPECT_EQ(4, start);
        EXPECT_EQ(4, end);
    }
    // A character that is no digit reads as 0 and steps like one.
    year.SetWindowText("19x9");
    EXPECT_EQ(0, year.GetDigit(2));
    year.IncrementDigit(2);
    EXPECT_STREQ("1919", TextOf(year));
}

TEST_F(NumericEditsTest, EachKindFiltersItsOwnCharacters)
{
    struct Case {
        int kind;  // 0 whole number, 1 year, 2 word field
        const char* typed;
        const char* shown;
        size_t beeps;
    } cases[] = {
        {0, "+12", "+12", 0}, {0, "1+2", "12", 1},  {0, "-5", "5", 1},    {0, "a1 .", "1", 3},
        {0, "++", "+", 1},    {1, "+12", "12", 1},  {1, "19x9", "199", 1}, {1, "2000", "2000", 0},
        {1, "-", "", 1},      {2, "a-+9 q(", "a-+9 q(", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " typing " << c.typed);
        std::unique_ptr<CEdit> edit;
        if (c.kind == 0)
            edit = std::make_unique<CIntEdit>(0, 10);
        else if (c.kind == 1)
            edit = std::make_unique<CDateCtrl>();
        else
            edit = std::make_unique<CVLEdit>();
        Make(*edit);
        host::ResetUiScript();
        Type(c.typed);
        EXPECT_STREQ(c.shown, TextOf(*edit));
        EXPECT_EQ(c.beeps, host::MessageBeeps().size());
        for (UINT beep : host::MessageBeeps())
            EXPECT_EQ(0u, beep);
        edit->DestroyWindow();
    }
}

TEST_F(NumericEditsTest, EnterGoesToTheParentAsItsCommand)
{
    CDateCtrl year;
    Make(year);
    Type("1998");
    Press(VK_RETURN);
    EXPECT_STREQ("1998", TextOf(year)) << "Enter is no character of the field";
    EXPECT_EQ((std::vector<FormMessage>{{WM_COMMAND, DATECTRL_ENTER, 0, 0}}), Commands());
    year.DestroyWindow();

    form.received.clear();
    CVLEdit word;
    Make(word);
    Type("lava");
    Press(VK_RETURN);
    EXPECT_STREQ("lava", TextOf(word));
    EXPECT_EQ((std::vector<FormMessage>{{WM_COMMAND, IDOK, 0, 0}}), Commands());
    word.DestroyWindow();

    // The whole-number field has no use for Enter: it beeps.
    form.received.clear();
    host::ResetUiScript();
    CIntEdit number(0, 5);
    Make(number);
    Press(VK_RETURN);
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(1u, host::MessageBeeps().size());
}

TEST_F(NumericEditsTest, LengthAndValueFollowTheText)
{
    CIntEdit number(7, 5);
    Make(number);
    EXPECT_EQ(7u, number.GetKind());
    // Backspace in an empty field leaves the length at 0.
    Press(VK_BACK);
    EXPECT_EQ(0, number.GetLength());
    EXPECT_FALSE(number.HasValue());

    Type("+0");
    EXPECT_EQ(2, number.GetLength());
    EXPECT_EQ(static_cast<UINT>('0'), number.GetLastChar());
    EXPECT_FALSE(number.HasValue()) << "a value below 1";
    Press(VK_BACK);
    Press(VK_BACK);
    Press(VK_BACK);
    EXPECT_EQ(0, number.GetLength());

    // The limit holds: the sixth digit is refused and the length stays in step with the text.
    number.SetLimit(5);
    Type("123456");
    EXPECT_STREQ("12345", TextOf(number));
    EXPECT_EQ(5, number.GetLength());
    EXPECT_EQ(12345, number.GetValue());
    EXPECT_TRUE(number.HasValue());

    number.SetValue(0);
    EXPECT_STREQ("", TextOf(number));
    EXPECT_EQ(0, number.GetLength());
    number.SetValue(-42);
    EXPECT_STREQ("-42", TextOf(number));
    EXPECT_EQ(3, number.GetLength());
    EXPECT_EQ(-42, number.GetValue());
    EXPECT_FALSE(number.HasValue());

    CDateCtrl year;
    Make(year);
    EXPECT_FALSE(year.IsValid());
    year.SetValue(7u);
    EXPECT_STREQ("0007", TextOf(year));
    EXPECT_TRUE(year.IsValid());
    EXPECT_EQ(3u, year.GetFieldKind());
    EXPECT_EQ(4u, year.GetLimit());
}

}  // namespace

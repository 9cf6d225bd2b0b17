// The program's two drop-down controls: the arrow showing and hiding the list with NM_CLICK to
// the parent each time, the chosen row becoming the field's text, and the keys that the
// editable kind hands to its panel.
#include "widgets/CustomComboBox.h"
#include "widgets/CustomComboDropList.h"

#include "DialogPiecesSupport.h"

#include <commctrl.h>

#include <algorithm>

namespace {

const UINT kComboId = 310;

class CustomComboTest : public DialogPiecesTest {
protected:
    // The arrow's middle in the control's client coordinates.
    static CPoint Arrow(CCustomComboBase& combo)
    {
        CRect client;
        combo.GetClientRect(&client);
        return CPoint(client.right - combo.GetArrowWidth() / 2, client.Height() / 2);
    }
    size_t Count(UINT message, WPARAM wParam) const
    {
        return static_cast<size_t>(std::count_if(form.received.begin(), form.received.end(), [&](const FormMessage& m) {
            return m.message == message && m.wParam == wParam;
        }));
    }
    std::vector<FormMessage> Notices() const
    {
        std::vector<FormMessage> out;
        for (const FormMessage& m : form.received)
            if (m.message == WM_NOTIFY)
                out.push_back(m);
        return out;
    }
};

TEST_F(CustomComboTest, TheArrowTogglesTheListAndTellsTheParentEachTime)
{
    CCustomComboBox combo;
    ASSERT_TRUE(combo.Create(0, CRect(20, 20, 220, 200), &form, kComboId));
    for (const char* row : {"Alpha", "Beta", "Gamma"})
        combo.GetList().AddString(row);
    EXPECT_EQ(1, combo.SetCurSel(1));
    CRect field, list;
    combo.GetWindowRect(&field);
    combo.GetList().GetWindowRect(&list);
    EXPECT_EQ(20, field.Height());
    EXPECT_EQ(field.bottom, list.top) << "the list hangs below the field";
    EXPECT_EQ(field.Width() - combo.GetArrowWidth(), list.Width());
    EXPECT_EQ(3 * combo.LineHeight(), list.Height()) << "the list fits its rows";
    EXPECT_FALSE(combo.IsListShown());

    const CPoint arrow = Arrow(combo);
    const FormMessage click{WM_NOTIFY, kComboId, reinterpret_cast<LPARAM>(combo.GetSafeHwnd()), static_cast<UINT>(NM_CLICK)};
    ClickAt(combo, arrow.x, arrow.y);
    EXPECT_TRUE(combo.IsListShown());
    ClickAt(combo, arrow.x, arrow.y);
    EXPECT_FALSE(combo.IsListShown());
    EXPECT_EQ((std::vector<FormMessage>{click, click}), Notices());

    // A click on the text does not drop the list.
    ClickAt(combo, 10, 10);
    EXPECT_FALSE(combo.IsListShown());
    EXPECT_EQ(2u, Notices().size());
}

TEST_F(CustomComboTest, AChosenRowBecomesTheShownTextAndMinusOneEmptiesIt)
{
    CCustomComboBox combo;
    ASSERT_TRUE(combo.Create(0, CRect(20, 20, 220, 200), &form, kComboId));
    for (const char* row : {"Alpha", "Beta", "Gamma"})
        combo.GetList().AddString(row);
    combo.SetCurSel(0);

    EXPECT_EQ(1, combo.ShowItemText(2));
    EXPECT_STREQ("Gamma", combo.GetShownText());
    EXPECT_EQ(2, combo.GetSelectedRow());

    // Choosing in the dropped list: the row's text, and the list goes away.
    const CPoint arrow = Arrow(combo);
    ClickAt(combo, arrow.x, arrow.y);
    ASSERT_TRUE(combo.IsListShown());
    CRect row;
    combo.GetList().GetItemRect(1, &row);
    ClickAt(combo.GetList(), row.left + 5, (row.top + row.bottom) / 2);
    EXPECT_STREQ("Beta", combo.GetShownText());
    EXPECT_EQ(1, combo.GetSelectedRow());
    EXPECT_FALSE(combo.IsListShown());

    // Row -1 empties the field; a shown list hides.
    ClickAt(combo, arrow.x, arrow.y);
    EXPECT_EQ(-1, combo.ShowItemText(-1));
    EXPECT_STREQ("", combo.GetShownText());
    EXPECT_EQ(-1, combo.GetSelectedRow());
    EXPECT_FALSE(combo.IsListShown());

    // Hiding the control hides its list; moving it takes the list along.
    ClickAt(combo, arrow.x, arrow.y);
    combo.ShowWindow(SW_HIDE);
    EXPECT_FALSE(combo.IsListShown());
    combo.ShowWindow(SW_SHOW);
    combo.MoveWindow(40, 60, 200, 20);
    CRect field, list;
    combo.GetWindowRect(&field);
    combo.GetList().GetWindowRect(&list);
    EXPECT_EQ(field.bottom, list.top);
    EXPECT_EQ(field.left, list.left);
}

TEST_F(CustomComboTest, TheEditablePartHandsPanelKeysOnAndTypesTheRest)
{
    CCustomComboDropList combo;
    ASSERT_TRUE(combo.Create(0, CRect(20, 20, 260, 200), &form, kComboId));
    combo.GetEdit().SetFocus();
    ui::PumpUntilIdle();

    struct Key {
        UINT vk;
        bool toPanel;
    } keys[] = {
        {VK_TAB, true},   {VK_RETURN, true}, {VK_ESCAPE, true}, {VK_PRIOR, true}, {VK_NEXT, true},
        {VK_END, true},   {VK_HOME, true},   {VK_UP, true},     {VK_DOWN, true},  {VK_F2, true},
        {VK_LEFT, false}, {VK_RIGHT, false}, {VK_DELETE, false}, {VK_F3, false},  {'Q', false},
    };
    for (const Key& key : keys) {
        SCOPED_TRACE(testing::Message() << "key " << key.vk);
        form.received.clear();
        host::PressKey(key.vk);
        ui::PumpUntilIdle();
        EXPECT_EQ(key.toPanel ? 1u : 0u, Count(WM_KEYDOWN, key.vk));
        EXPECT_EQ(key.toPanel ? 1u : 0u, Count(WM_KEYUP, key.vk));
    }

    // Characters are typed into the edit part; Enter, Escape and Tab reach the panel instead.
    combo.GetEdit().SetWindowText("");
    form.received.clear();
    host::TypeText("q(");
    ui::PumpUntilIdle();
    EXPECT_STREQ("q(", combo.GetEditText());
    EXPECT_EQ(0u, Count(WM_CHAR, 'q'));
    EXPECT_EQ(0u, Count(WM_CHAR, '('));
    for (UINT ch : {VK_RETURN, VK_ESCAPE}) {
        form.received.clear();
        host::PressKey(ch);
        ui::PumpUntilIdle();
        EXPECT_GE(Count(WM_CHAR, ch), 1u) << ch;
    }
    EXPECT_STREQ("q(", combo.GetEditText());
}

TEST_F(CustomComboTest, ChoosingARowOfTheDropListFillsTheEditWithAllSelected)
{
    CCustomComboDropList combo;
    ASSERT_TRUE(combo.Create(0, CRect(20, 20, 260, 200), &form, kComboId));
    for (const char* row : {"volcano", "volcanology", "vole"})
        combo.AddString(row);
    EXPECT_EQ(3, combo.GetRowCount());
    combo.SetEditText("vol");
    combo.SetEditText("");
    EXPECT_STREQ("vol", combo.GetEditText()) << "an empty text changes nothing";

    const CPoint arrow = Arrow(combo);
    ClickAt(combo, arrow.x, arrow.y);
    ASSERT_TRUE(combo.IsListShown());
    EXPECT_EQ(1u, Notices().size());
    CRect row;
    combo.GetList().GetItemRect(1, &row);
    ClickAt(combo.GetList(), row.left + 40, (row.top + row.bottom) / 2);
    EXPECT_STREQ("volcanology", combo.GetEditText());
    EXPECT_STREQ("volcanology", combo.GetShownText());
    EXPECT_FALSE(combo.IsListShown());
    EXPECT_EQ(combo.GetEdit().GetSafeHwnd(), ::GetFocus());
    int start = -1, end = -1;
    combo.GetEdit().GetSel(start, end);
    EXPECT_EQ(0, start);
    EXPECT_EQ(11, end);

    // The edit holds at most 40 characters; a click in it selects it all.
    combo.GetEdit().SetWindowText("");
    host::TypeText(std::string(45, 'x').c_str());
    ui::PumpUntilIdle();
    EXPECT_EQ(40, combo.GetEditText().GetLength());
    combo.SetEditSel(3, 3);
    ClickAt(combo.GetEdit(), 20, 8);
    combo.GetEdit().GetSel(start, end);
    EXPECT_EQ(0, start);
    EXPECT_EQ(40, end);
}

}  // namespace

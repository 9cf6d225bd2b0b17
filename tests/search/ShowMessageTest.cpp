// The search message box: the text unchanged in a plain OK box, modal until the reader closes it.
#include "base/ShowMessage.h"

#include <afxwin.h>

#include <UiTest.h>

namespace {

class ShowMessageTest : public ui::UiTest {};

TEST_F(ShowMessageTest, ShowsTheTextUnchangedAndReturnsWhenTheBoxIsClosed)
{
    const char* texts[] = {
        ">>> Error opening keyword master index file",
        "",
        "Illegal switch \"/x\".  Use \"/t\"\nfor tables only searching, or\n\"/d{search number}\" for domain\nsearching.",
    };
    for (const char* pszText : texts) {
        host::ResetUiScript();
        bool bBoxUp = false;
        host::AnswerMessageBoxWith("", [&](const host::MessageBoxRecord& box) {
            bBoxUp = true;
            EXPECT_EQ(pszText, box.text);
            return IDOK;
        });
        ShowMessage(pszText);
        EXPECT_TRUE(bBoxUp) << "returned before the box was closed";
        std::vector<host::MessageBoxRecord> boxes = host::MessageBoxLog();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(pszText, boxes[0].text);
        EXPECT_EQ(static_cast<UINT>(MB_OK), boxes[0].type) << "no icon of its own";
        EXPECT_EQ(nullptr, boxes[0].owner);
    }
}

TEST_F(ShowMessageTest, GoesThroughTheApplicationsMessageBox)
{
    CWinApp app("Encyclopedia");
    host::AnswerNextMessageBox(IDOK);
    ShowMessage(">>> Out of memory in Keyword Search");
    std::vector<host::MessageBoxRecord> boxes = host::MessageBoxLog();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(">>> Out of memory in Keyword Search", boxes[0].text);
    EXPECT_EQ("Encyclopedia", boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK), boxes[0].type & MB_TYPEMASK);
}

}  // namespace

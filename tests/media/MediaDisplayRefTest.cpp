// The media viewer's state: the item and the media items of the list it came from, with links
// followed through the references and the pictures' headers.
#include "MediaTestSupport.h"

#include "base/ReferenceList.h"
#include "base/VLMessages.h"
#include "media/MediaDisplayRef.h"

#include <memory>

namespace media_test {
namespace {

class MediaDisplayRefTest : public MediaTest {};

CReference* Item(LONG nNumber, LONG nKind, LPCSTR lpszTitle, LONG nLink = 0, LONG nBlock = 0)
{
    CReference* pRef = PlacedReference(nNumber, nKind, 1, nBlock);
    pRef->SetTitle(lpszTitle);
    pRef->SetPictureLink(nLink);
    return pRef;
}

TEST_F(MediaDisplayRefTest, MediaItemsOfTheListAreCopiedByTheirLinks)
{
    GrfRecordSource linked = RichPicture();
    linked.linkValue = 1001004;
    GrfRecordSource unlinked = RichPicture();
    const std::vector<LONG> blocks =
        WriteArchive({discbuilder::WriteGrfRecord(linked), discbuilder::WriteGrfRecord(unlinked)});
    // The linked items are placed by number: the content index gives their kinds.
    InstallRomLink({{1001003, 1, 3, 1, 1, 0, 1}, {1001004, 1, 3, 1, 1, 0, 1}});

    CReferenceList list;
    list.Append(Item(1001, REFKIND_ARTICLE, "an article"));
    list.Append(Item(1001001, REFKIND_PICTURE, "plain picture"));
    list.Append(Item(3000001, REFKIND_MAP, "a map"));
    list.Append(Item(1001002, REFKIND_PICTURE, "linked by number", 1001003));
    list.Append(Item(1001005, REFKIND_PICTURE, "linked in its header", -1, blocks[0]));
    list.Append(Item(1001006, REFKIND_PICTURE, "header without link", -1, blocks[1]));
    list.Append(Item(4020001, REFKIND_VIDEO, "a video"));

    std::unique_ptr<CReference> shown(Item(1001001, REFKIND_PICTURE, "plain picture"));
    CMediaDisplayRef state(shown.get(), &list, 0);
    EXPECT_EQ(static_cast<UINT>(IDW_MEDIA), state.m_nWindowID);
    EXPECT_STREQ("Media", state.m_strTitle);
    ASSERT_NE(nullptr, state.GetReference());
    EXPECT_NE(shown.get(), state.GetReference()) << "a clone";
    CReferenceList* pCopied = state.GetMediaList();
    ASSERT_NE(nullptr, pCopied);
    const struct {
        LONG number;
        const char* title;
    } expected[] = {
        {1001001, "plain picture"},      {1001003, "linked by number"}, {1001004, "linked in its header"},
        {1001006, "header without link"}, {4020001, "a video"},
    };
    ASSERT_EQ(5, pCopied->GetCount());
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(expected[i].number, pCopied->GetAtIndex(i)->GetNumber()) << i;
        EXPECT_STREQ(expected[i].title, pCopied->GetAtIndex(i)->GetTitle()) << i;
    }
    EXPECT_EQ(-1, list.GetAtIndex(4)->GetPictureFlag()) << "the caller's list keeps its links";

    // Copies: the history's own clones, with the media list and the caller's value.
    std::unique_ptr<CVLStateObj> clone(state.Clone());
    auto* pClone = dynamic_cast<CMediaDisplayRef*>(clone.get());
    ASSERT_NE(nullptr, pClone);
    ASSERT_NE(nullptr, pClone->GetMediaList());
    EXPECT_EQ(5, pClone->GetMediaList()->GetCount());
    EXPECT_NE(pCopied, pClone->GetMediaList());
    EXPECT_EQ(1001001, pClone->GetReference()->GetNumber());
    pClone->SetTitle("Renamed");
    state = *pClone;
    EXPECT_STREQ("Renamed", state.m_strTitle);
    EXPECT_EQ(5, state.GetMediaList()->GetCount());
}

TEST_F(MediaDisplayRefTest, ListOfOneMediaItemAmongOthersAndAStateWithoutReference)
{
    CReferenceList list;
    list.Append(Item(1001, REFKIND_ARTICLE, "article"));
    list.Append(Item(1001001, REFKIND_PICTURE, "picture"));
    list.Append(Item(3000001, REFKIND_MAP, "map"));
    CMediaDisplayRef state(NULL, &list, 1);
    ASSERT_NE(nullptr, state.GetMediaList());
    EXPECT_EQ(1, state.GetMediaList()->GetCount());
    EXPECT_EQ(1, state.GetCallerValue());
    EXPECT_EQ(nullptr, state.GetReference());
    EXPECT_EQ(1, state.GetDisc());
    EXPECT_EQ(1, state.GetDataDirType());

    std::unique_ptr<CReference> second(Item(1001002, REFKIND_PICTURE, "second"));
    second->SetDisc(2);
    state.SetReference(second.get());
    EXPECT_EQ(2, state.GetDisc());
    EXPECT_EQ(11, state.GetDataDirType());

    CMediaDisplayRef noList(second.get(), NULL, 0);
    EXPECT_EQ(nullptr, noList.GetMediaList());
    CMediaDisplayRef copy(noList);
    EXPECT_EQ(nullptr, copy.GetMediaList());
    EXPECT_EQ(1001002, copy.GetReference()->GetNumber());
}

}  // namespace
}  // namespace media_test

// Frames made from their resources: menu, accelerator table, icon and title.
#include <afxwin.h>

#include <UiTest.h>

#include "frame_resource.h"

#include <gtest/gtest.h>

namespace {

class CAtlasFrame : public CFrameWnd {
public:
    int pings = 0;
    bool* deleted = nullptr;
    ~CAtlasFrame() override
    {
        if (deleted)
            *deleted = true;
    }
    afx_msg void OnPing() { ++pings; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CAtlasFrame, CFrameWnd)
ON_COMMAND(ID_ATLAS_PING, OnPing)
END_MESSAGE_MAP()

class FrameResourceTest : public ui::UiTest {
protected:
    void TearDown() override
    {
        ui::UiTest::TearDown();
        CWnd::DeleteTempMap();
        CMenu::DeleteTempMap();
    }
    // Dispatches the queue the way the message loop does, giving the frame its pre-translation.
    static void Pump(CWnd* frame)
    {
        MSG msg;
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (frame->PreTranslateMessage(&msg))
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
};

CString WindowText(CWnd* wnd)
{
    CString text;
    wnd->GetWindowText(text);
    return text;
}

}  // namespace

TEST_F(FrameResourceTest, LoadFrameTakesMenuAcceleratorsIconAndTitle)
{
    auto* frame = new CAtlasFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_ATLAS));
    EXPECT_EQ(WindowText(frame), "Atlas") << "the first part of the frame's string";
    EXPECT_EQ(frame->GetTitle(), "Atlas");
    CMenu* bar = frame->GetMenu();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetMenuItemCount(), 2u);
    EXPECT_EQ(bar->GetMenuItemID(1), static_cast<UINT>(ID_ATLAS_HELP));
    EXPECT_EQ(frame->m_hMenuDefault, bar->m_hMenu);
    EXPECT_NE(::GetClassLongPtrA(frame->m_hWnd, GCLP_HICON), 0u) << "the frame's icon";
    ASSERT_NE(frame->GetDefaultAccelerator(), nullptr);
    EXPECT_FALSE(frame->LoadAccelTable(MAKEINTRESOURCE(IDR_ATLAS))) << "a frame keeps its first table";

    // Ctrl+P reaches the command handler through the accelerator table.
    frame->ShowWindow(SW_SHOW);
    frame->SetFocus();
    Pump(frame);
    host::KeyDown(VK_CONTROL);
    host::PressKey('P');
    host::KeyUp(VK_CONTROL);
    Pump(frame);
    EXPECT_EQ(frame->pings, 1);
    // P alone is no accelerator.
    host::PressKey('P');
    Pump(frame);
    EXPECT_EQ(frame->pings, 1);
    frame->DestroyWindow();
}

TEST_F(FrameResourceTest, FramesWithoutIconOrAcceleratorsAndMissingMenus)
{
    auto* bare = new CAtlasFrame;
    ASSERT_TRUE(bare->LoadFrame(IDR_BARE));
    EXPECT_EQ(WindowText(bare), "Bare frame") << "a string without parts is the title";
    ASSERT_NE(bare->GetMenu(), nullptr);
    EXPECT_EQ(bare->GetMenu()->GetMenuItemCount(), 1u);
    EXPECT_EQ(bare->GetDefaultAccelerator(), nullptr);
    EXPECT_EQ(::GetClassLongPtrA(bare->m_hWnd, GCLP_HICON), 0u);
    bare->DestroyWindow();

    // Create names its menu by resource.
    auto* created = new CAtlasFrame;
    ASSERT_TRUE(created->Create(NULL, "Made", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, NULL,
                                MAKEINTRESOURCE(IDR_ATLAS)));
    ASSERT_NE(created->GetMenu(), nullptr);
    EXPECT_EQ(created->GetMenu()->GetMenuItemCount(), 2u);
    EXPECT_EQ(created->GetDefaultAccelerator(), nullptr) << "Create loads no accelerators";
    created->DestroyWindow();

    // A menu that is not there: no frame, and the frame object is gone.
    bool deleted = false;
    auto* missing = new CAtlasFrame;
    missing->deleted = &deleted;
    EXPECT_FALSE(missing->LoadFrame(IDR_MISSING));
    EXPECT_TRUE(deleted);
    EXPECT_EQ(host::CountWindows(), 0);
}

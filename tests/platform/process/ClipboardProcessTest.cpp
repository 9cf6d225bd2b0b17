// The clipboard across processes: what the peer program puts there is read here, with the
// formats made from it, and the other way round; a format promised by the peer is rendered by it
// on request, or when its window goes, and dropped when its process ends without rendering.
#include "PeerSupport.h"

#include <windows.h>

#include <host/Clipboard.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

namespace {

// Starts the peer that promises CF_TEXT; its window once it owns the clipboard, else null.
HWND StartPromise(Started& peer, const char* what)
{
    std::string title = std::string(what) + " " + std::to_string(GetCurrentProcessId());
    Start(peer, "\"" + PeerStem() + "\" clip-promise \"" + title + "\"");
    HWND owner = nullptr;
    if (!peer.ok || !Eventually([&] {
            owner = FindWindowA(nullptr, title.c_str());
            return owner != nullptr && GetClipboardOwner() == owner;
        }))
        return nullptr;
    return owner;
}

bool RunPeer(const std::string& arguments, DWORD* exitCode = nullptr)
{
    Started peer;
    Start(peer, "\"" + PeerStem() + "\" " + arguments);
    if (!peer.ok || WaitForSingleObject(peer.pi.hProcess, 20000) != WAIT_OBJECT_0)
        return false;
    if (exitCode)
        *exitCode = ExitCodeOf(peer.pi.hProcess);
    return true;
}

std::string Text(UINT format = CF_TEXT)
{
    HANDLE h = GetClipboardData(format);
    if (!h)
        return "(none)";
    std::string text = static_cast<const char*>(GlobalLock(h));
    GlobalUnlock(h);
    return text;
}

TEST(ClipboardProcessTest, WhatAnotherProcessPutsThereIsReadWithItsMadeFormats)
{
    DWORD code = 99;
    ASSERT_TRUE(RunPeer("clip-put \"Caf\xE9 \x80 5\"", &code));
    ASSERT_EQ(code, 0u);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(Text(), "Caf\xE9 \x80 5");
    HANDLE wide = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(std::u16string(static_cast<const char16_t*>(GlobalLock(wide))), u"Caf\u00E9 \u20AC 5");
    GlobalUnlock(wide);

    auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm{};
    GetObject(bitmap, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 2);
    EXPECT_EQ(bm.bmHeight, 2);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc, 0, 1), RGB(0, 0, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_NE(GetClipboardData(CF_DIB), nullptr);

    auto palette = static_cast<HPALETTE>(GetClipboardData(CF_PALETTE));
    ASSERT_NE(palette, nullptr);
    PALETTEENTRY colours[4]{};
    ASSERT_EQ(GetPaletteEntries(palette, 0, 4, colours), 4u);
    EXPECT_EQ(colours[0].peRed, 10);
    EXPECT_EQ(colours[3].peBlue, 220);
    CloseClipboard();
}

TEST(ClipboardProcessTest, WhatThisProcessPutsThereAnotherReads)
{
    TempDir dir;
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 32);
    std::strcpy(static_cast<char*>(GlobalLock(block)), "copied in the test");
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    ASSERT_TRUE(CloseClipboard());
    std::string file = (dir.path() / "got.txt").string();
    DWORD code = 99;
    ASSERT_TRUE(RunPeer("clip-get \"" + file + "\"", &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(dir.Read("got.txt"), "copied in the test");
    // Registered formats have one number in every process.
    EXPECT_EQ(RegisterClipboardFormatA("Veltra Test Format"), RegisterClipboardFormatA("veltra test format"));
}

TEST(ClipboardProcessTest, PromisedFormatsAreRenderedByTheirOwner)
{
    // On request.
    {
        Started peer;
        HWND owner = StartPromise(peer, "Promise");
        ASSERT_NE(owner, nullptr);
        EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
        ASSERT_TRUE(OpenClipboard(nullptr));
        EXPECT_EQ(Text(), "rendered on request");
        EXPECT_EQ(Text(CF_OEMTEXT), "rendered on request");
        CloseClipboard();
        PostMessageA(owner, WM_CLOSE, 0, 0);
        ASSERT_EQ(WaitForSingleObject(peer.pi.hProcess, 20000), WAIT_OBJECT_0);
    }
    // When the owner's window goes.
    {
        Started peer;
        HWND owner = StartPromise(peer, "Going");
        ASSERT_NE(owner, nullptr);
        PostMessageA(owner, WM_CLOSE, 0, 0);
        ASSERT_EQ(WaitForSingleObject(peer.pi.hProcess, 20000), WAIT_OBJECT_0);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EXPECT_EQ(Text(), "rendered as the owner went");
        CloseClipboard();
    }
    // A promise its process can no longer keep is gone.
    {
        Started peer;
        ASSERT_NE(StartPromise(peer, "Killed"), nullptr);
        TerminateProcess(peer.pi.hProcess, 1);
        ASSERT_EQ(WaitForSingleObject(peer.pi.hProcess, 20000), WAIT_OBJECT_0);
        // Asked here, nobody answers (and nothing hangs); a process that looks afresh does not
        // see the promise at all.
        ASSERT_TRUE(OpenClipboard(nullptr));
        EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
        CloseClipboard();
        TempDir dir;
        DWORD code = 99;
        ASSERT_TRUE(RunPeer("clip-get \"" + (dir.path() / "none.txt").string() + "\"", &code));
        EXPECT_EQ(code, 2u);
    }
}

}  // namespace

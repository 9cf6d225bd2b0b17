// Fixture of the bitmap tests: a headless window system, an application object, drive T: on a
// fresh host folder, and checks of a CDib's pixels and colours against a known picture.
#pragma once

#include "widgets/Dib.h"

#include "base/AppServices.h"

#include <host/Drives.h>
#include <host/Paths.h>

#include "PictureFiles.h"

#include <TempDir.h>
#include <UiTest.h>

#include <filesystem>
#include <string>
#include <vector>

class BitmapTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        ui::UiTest::SetUp();
        std::filesystem::create_directories(dir.path() / "t");
        host::MapDrive('T', (dir.path() / "t").string(), DRIVE_FIXED, "TESTDRIVE");
        ResetAppServices();
    }
    void TearDown() override
    {
        ResetAppServices();
        host::ResetDrives();
        ui::UiTest::TearDown();
    }

    // Writes bytes below drive T: and returns the platform path.
    std::string WriteT(const std::string& name, const pictures::Bytes& bytes) const
    {
        dir.Write("t/" + name, std::string(bytes.begin(), bytes.end()));
        return "T:\\" + name;
    }

    // The texts of the message boxes shown so far.
    static std::vector<std::string> BoxTexts()
    {
        std::vector<std::string> texts;
        for (const host::MessageBoxRecord& box : host::MessageBoxLog())
            texts.push_back(box.text);
        return texts;
    }

    CWinApp app{"vl00i1se"};
    TempDir dir;
};

// The pixel at (x, y) from the top of an 8-bit bottom-up CDib.
inline BYTE PixelAt(const CDib& dib, int x, int y)
{
    size_t row = (size_t(dib.GetWidth()) + 3) & ~size_t(3);
    return dib.GetBits()[size_t(dib.GetHeight() - 1 - y) * row + size_t(x)];
}

// The CDib holds the picture (8 bits a pixel) with these colours first in a 256-entry table.
inline void ExpectPicture(const CDib& dib, const pictures::Indexed& picture, const std::vector<pictures::Rgb>& colors)
{
    ASSERT_FALSE(dib.IsEmpty());
    ASSERT_EQ(picture.width, dib.GetWidth());
    ASSERT_EQ(picture.height, dib.GetHeight());
    ASSERT_EQ(8, dib.GetInfoHeader()->biBitCount);
    ASSERT_EQ(256u, dib.GetColorCount());
    int wrong = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (PixelAt(dib, x, y) != picture.At(x, y) && ++wrong <= 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << "): " << int(PixelAt(dib, x, y)) << " instead of "
                              << int(picture.At(x, y));
    EXPECT_EQ(0, wrong) << "pixels differ";
    for (size_t i = 0; i < 256; ++i) {
        pictures::Rgb want = i < colors.size() ? colors[i] : pictures::Rgb{0, 0, 0};
        const RGBQUAD& q = dib.GetColorTable()[i];
        EXPECT_TRUE(q.rgbRed == want.r && q.rgbGreen == want.g && q.rgbBlue == want.b && q.rgbReserved == 0)
            << "colour " << i;
    }
}

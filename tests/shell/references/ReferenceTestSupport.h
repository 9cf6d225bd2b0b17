// Fixture of the reference tests: a drive T: on a fresh host folder whose "data" folder stands for
// the disc's data folder ([Files] "DataDir"), an application object with its profile there, a
// search engine whose ROM_LINK table comes from a file the disc builder writes, and a reference
// factory, both installed as the application's. Message boxes are scripted; the framework's error
// reports are collected.
#pragma once

#include "search/SearchEngine.h"
#include "base/AppServices.h"
#include "base/ReferenceFactory.h"

#include <RomLinkWriter.h>

#include <host/Drives.h>

#include <TempDir.h>
#include <UiTest.h>

#include "../ShellUiTest.h"

#include <afxwin.h>

#include <filesystem>
#include <string>
#include <vector>

class ReferenceTest : public ShellUiTest {
protected:
    void SetUp() override
    {
        ShellUiTest::SetUp();
        AppServices().owned.pReferenceFactory = &factory;
        Reports().clear();
        m_oldReportHandler = AfxSetReportErrorHandler(&CaptureReport);
    }
    void TearDown() override
    {
        AfxSetReportErrorHandler(m_oldReportHandler);
        ShellUiTest::TearDown();
    }

    // Host path of T:\data\ROM_LINK.DAT.
    std::filesystem::path RomLinkHostPath() const { return dir.path() / "t" / "data" / "ROM_LINK.DAT"; }
    void WriteRomLinkText(const std::string& text) const { dir.Write("t/data/ROM_LINK.DAT", text); }

    // The sample table: the six default records and a few items of every range.
    static std::vector<discbuilder::RomLinkEntry> SampleEntries()
    {
        return {
            {1, 0, 0, 0, 1, 10, 2},              // default: articles
            {12345, 3, 0, 0, 1, 40, 5},          // an article of category 3
            {20000, 9, 0, 1, 1, 8388607, 127},   // the largest block and count the readers agree on
            {1012345, 1, 3, 1, 1, 50, 1},        // a picture with its picture flag
            {2000461, 2, 3, 0, 1, 60, 1},        // default: pictures
            {3000732, 4, 6, 1, 1, 70, 3},        // default: maps
            {4010010, 5, 1, 0, 1, 0, 1},         // default: animations
            {4020017, 6, 2, 0, 2, 0, 1},         // a video on disc 2
            {4020019, 7, 2, 0, 1, 0, 1},         // default: everything above
            {4030001, 8, 5, 0, 1, 0, 1},         // a simulation
            {4040006, 1, 7, 0, 1, 0, 1},         // the sixth default: a scene
            {4050002, 0, 9, 0, 1, 0, 1},         // a bubble
            {6000003, 0, 4, 0, 1, 0, 1},         // a sound
        };
    }

    // Writes the entries with the disc builder, loads them and installs the engine.
    void LoadEngine(const std::vector<discbuilder::RomLinkEntry>& entries = SampleEntries())
    {
        discbuilder::WriteRomLinkFile(dir.path() / "t" / "data", entries);
        ASSERT_TRUE(engine.LoadTable());
        AppServices().owned.pSearchEngine = &engine;
    }

    static std::vector<std::string> BoxTexts()
    {
        std::vector<std::string> texts;
        for (const host::MessageBoxRecord& box : host::MessageBoxLog())
            texts.push_back(box.text);
        return texts;
    }
    static std::vector<std::string>& Reports()
    {
        static std::vector<std::string> reports;
        return reports;
    }

    CSearchEngine engine;
    CReferenceFactory factory;

private:
    static int AFXAPI CaptureReport(LPCSTR lpszText, UINT)
    {
        Reports().emplace_back(lpszText);
        return IDOK;
    }

    AFX_REPORT_ERROR_HANDLER m_oldReportHandler = NULL;
};

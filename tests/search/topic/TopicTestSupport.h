// Fixture of the topic and word engines' tests: drive T: with disc 1's data folder T:\data, where
// the disc builder writes the subject index, the keyword index, TITLELNK.DAT and ROM_LINK.DAT of
// the test's articles; a search engine whose ROM_LINK table is loaded stands as the application's.
#pragma once

#include "search/SearchEngine.h"
#include "search/SubjectIndex.h"

#include "base/AppServices.h"

#include <RomLinkWriter.h>
#include <SubjectIndexWriter.h>

#include "../keyword/KeywordTestSupport.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

class TopicTest : public KeywordTest {
protected:
    void TearDown() override
    {
        CloseSubjectIndex();
        AppServices().owned.pSearchEngine = NULL;
        m_engine.Cleanup();
        KeywordTest::TearDown();
    }

    // Writes the subject index of the headings; the files built.
    const discbuilder::SubjectIndexFiles& WriteSubjects(const std::vector<discbuilder::SubjectHeading>& headings)
    {
        m_subjects = discbuilder::BuildSubjectIndex(headings);
        discbuilder::WriteSubjectIndex(m_subjects, DataFolder());
        return m_subjects;
    }

    // ROM_LINK.DAT placing the RINs as articles (block = RIN mod 1000), the table loaded and the
    // engine made the application's.
    void LoadRomLink(const std::vector<std::int32_t>& rins)
    {
        std::vector<discbuilder::RomLinkEntry> entries;
        for (std::int32_t rin : rins)
            entries.push_back({rin, 1, 0, 0, 1, static_cast<std::uint32_t>(rin % 1000), 1});
        discbuilder::AddMissingRomLinkDefaults(entries);
        discbuilder::WriteRomLinkFile(DataFolder(), entries);
        ASSERT_TRUE(m_engine.LoadTable());
        AppServices().owned.pSearchEngine = &m_engine;
    }

    std::vector<SubjectResultInfo> Results(const std::string& query)
    {
        SearchSubjectIndex(query.c_str());
        std::vector<SubjectResultInfo> results;
        for (int i = 0; i < GetSubjectResultCount(); ++i) {
            SubjectResultInfo info;
            EXPECT_TRUE(GetSubjectResultInfo(i, info));
            results.push_back(info);
        }
        return results;
    }

    static std::vector<std::string> Displays(const std::vector<SubjectResultInfo>& results)
    {
        std::vector<std::string> texts;
        for (const SubjectResultInfo& r : results)
            texts.push_back(static_cast<LPCSTR>(r.strDisplay));
        return texts;
    }

    // The message boxes an action shows (each answered).
    static std::vector<std::string> BoxesOf(const std::function<void()>& action)
    {
        host::ResetUiScript();
        for (int i = 0; i < 16; ++i)
            host::AnswerNextMessageBox(IDOK);
        action();
        std::vector<std::string> texts;
        for (const host::MessageBoxRecord& box : host::MessageBoxLog())
            texts.push_back(box.text);
        host::ResetUiScript();
        return texts;
    }

    std::string ReadData(const std::string& name) const
    {
        std::ifstream in(DataFolder() / name, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    void WriteData(const std::string& name, const std::string& bytes) const
    {
        std::ofstream out(DataFolder() / name, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

    CSearchEngine m_engine;
    discbuilder::SubjectIndexFiles m_subjects;
};

// A heading with n sub-entries naming the RIN.
inline discbuilder::SubjectHeading Heading(const std::string& display, int entries = 1, std::uint8_t flags = 0x40,
                                           std::uint32_t rin = 1001)
{
    discbuilder::SubjectHeading heading;
    heading.display = display;
    heading.flags = flags;
    for (int i = 0; i < entries; ++i)
        heading.entries.push_back({rin, static_cast<std::uint32_t>(i), 0, display + " " + std::to_string(i)});
    return heading;
}

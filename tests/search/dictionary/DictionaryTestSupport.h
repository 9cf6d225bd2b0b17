// Fixture of the dictionary tests: drive T: with disc 1's data folder T:\data, where the disc
// builder writes a dictionary of the test's entries; helpers that make entries and read the
// definitions file back.
#pragma once

#include "search/DictionaryDoc.h"
#include "search/DictionarySearchEngine.h"

#include <discbuilder/DictionaryWriter.h>

#include "../../shell/ShellUiTest.h"

#include <host/UiScript.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

class DictionaryTest : public ShellUiTest {
protected:
    std::filesystem::path DataFolder() const { return dir.path() / "t" / "data"; }

    // Writes the dictionary of the entries into the data folder; the files built.
    const discbuilder::DictionaryFiles& WriteDictionary(const std::vector<discbuilder::DictionaryEntry>& entries)
    {
        m_files = discbuilder::BuildDictionary(entries);
        discbuilder::WriteDictionary(m_files, DataFolder());
        return m_files;
    }
    // A dictionary of one entry per headword, each with a definition naming it.
    const discbuilder::DictionaryFiles& WriteWords(const std::vector<std::string>& headwords, int linesEach = 1)
    {
        std::vector<discbuilder::DictionaryEntry> entries;
        for (const std::string& word : headwords) {
            std::vector<std::string> lines;
            for (int i = 0; i < linesEach; ++i)
                lines.push_back("Definition " + std::to_string(i + 1) + " of " + word + ".");
            entries.push_back(discbuilder::MakeDictionaryEntry(word, "n.", lines));
        }
        return WriteDictionary(entries);
    }
    // Overwrites a file of the data folder with bytes.
    void WriteDataFile(const std::string& name, const std::string& bytes) const
    {
        std::ofstream out(DataFolder() / name, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    // The headword of the entry at a definitions-file offset.
    std::string HeadwordAt(std::uint32_t offset) const
    {
        for (std::size_t i = 0; i < m_files.entryOffsets.size(); ++i)
            if (m_files.entryOffsets[i] == offset)
                return m_files.entries[i].headword;
        return "<no entry at " + std::to_string(offset) + ">";
    }
    // Looks the word up; the headword of the entry found.
    std::string LookUpHeadword(CDictionarySearchEngine& engine, const char* word) const
    {
        return HeadwordAt(engine.LookUp(word));
    }

    discbuilder::DictionaryFiles m_files;
};

#include "SampleDisc.h"

#include "SourceText.h"

#include "SampleMovies.h"

#include "ArticleRecordWriter.h"
#include "ArticleSource.h"
#include "ContentDatabaseSource.h"
#include "ContentDatabaseWriter.h"
#include "DictionaryWriter.h"
#include "ErasWriter.h"
#include "KeywordIndexWriter.h"
#include "ListFileWriter.h"
#include "PictureItemSource.h"
#include "PictureSource.h"
#include "ProductRecordWriter.h"
#include "RomLinkWriter.h"
#include "JustLookingItems.h"
#include "SampleAtlas.h"
#include "SampleBubbles.h"
#include "SubjectIndexWriter.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace discbuilder {

namespace {

// Copies the text files (of that extension) of a sample folder into the disc's data folder, with
// the disc's line ends (CR LF) and its code page (the sources are UTF-8; the disc's text is
// Windows-1252). Returns the files written.
std::vector<std::filesystem::path> CopyTextFiles(const std::filesystem::path& from, const std::filesystem::path& to,
                                                 const char* extension = ".txt")
{
    std::vector<std::filesystem::path> written;
    if (!std::filesystem::is_directory(from))
        return written;
    for (const auto& entry : std::filesystem::directory_iterator(from)) {
        if (!entry.is_regular_file() || entry.path().extension() != extension)
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text =
            Cp1252FromUtf8(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
        std::string disc;
        for (char c : text) {
            if (c == '\r')
                continue;
            if (c == '\n')
                disc += '\r';
            disc += c;
        }
        const std::filesystem::path target = to / entry.path().filename();
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out << disc;
        if (!out)
            throw std::runtime_error("cannot write " + target.string());
        written.push_back(target);
    }
    return written;
}

}  // namespace

SampleDiscReport BuildSampleDisc(const std::filesystem::path& sampleFolder, const std::filesystem::path& discFolder)
{
    SampleDiscReport report;
    report.dataFolder = discFolder / "info_dat";
    std::filesystem::create_directories(report.dataFolder);

    ContentArchiveWriter archive;
    std::vector<IndexedArticle> indexed;
    std::vector<ArticleRecordSource> sources = ReadArticleSources(sampleFolder / "articles");
    // The atlas: its maps, the country and region articles, and the places' maps and hits.
    const SampleAtlas* atlas = HasAtlasSources(sampleFolder) ? &BuildSampleAtlas(sampleFolder) : nullptr;
    if (atlas != nullptr)
        sources.insert(sources.end(), atlas->articles.begin(), atlas->articles.end());
    for (const ArticleRecordSource& source : sources) {
        archive.Add(source.rin, WriteArticleRecord(source), RomLinkKindDigitFor(source.rin), source.category);
        indexed.push_back(IndexedArticleFrom(source, source.category));
    }
    report.articles = archive.Records();
    // The pictures, maps and pictures with sound: picture records stored as they are, placed
    // with the picture flag set so that their headers' links are looked at.
    for (const PictureItemSource& item : ReadPictureItems(sampleFolder / "pictures" / "items")) {
        const auto rin = static_cast<std::int32_t>(item.number);
        if (item.record.itemNumber != 0 &&
            std::none_of(sources.begin(), sources.end(), [&](const ArticleRecordSource& a) {
                return a.rin == static_cast<std::int32_t>(item.record.itemNumber);
            }))
            throw std::runtime_error("picture item " + std::to_string(item.number) + " belongs to article " +
                                     std::to_string(item.record.itemNumber) + ", which is not on the disc");
        report.pictureRecords.push_back(
            archive.AddStored(rin, WriteGrfRecord(item.record), RomLinkKindDigitFor(rin), item.category, 1));
        // Its caption, texts and labels are found by the word search under its own number.
        indexed.push_back(IndexedPictureFrom(rin, item.record, item.category));
    }
    if (atlas != nullptr)
        for (const AtlasMapRecord& map : atlas->maps) {
            const auto rin = static_cast<std::int32_t>(map.number);
            report.pictureRecords.push_back(archive.AddStored(rin, map.record, RomLinkKindDigitFor(rin), 1, 1));
        }
    archive.Write(report.dataFolder);
    report.eras = WriteSampleEras(sampleFolder, report.dataFolder, [&](std::uint32_t number) {
        const std::vector<ArchivedRecord>& records = archive.Records();
        return std::any_of(records.begin(), records.end(),
                           [&](const ArchivedRecord& r) { return r.rin == static_cast<std::int32_t>(number); });
    });
    WriteKeywordIndex(BuildKeywordIndex(indexed), report.dataFolder);
    WriteSubjectIndex(BuildSubjectIndex(SubjectHeadingsFrom(sources)), report.dataFolder);

    std::vector<RomLinkEntry> entries = archive.RomLinkEntries();
    if (!entries.empty()) {
        // Items the program looks up by default that have no record of their own stand on the
        // first item of their kind.
        AddMissingRomLinkDefaults(entries);
    }
    WriteRomLinkFile(report.dataFolder, entries);

    // The browsing view's table also holds the atlas's country articles.
    WriteContentDatabase(sampleFolder / "database", (report.dataFolder / ContentDatabaseWriter::kFileName).string(), 1,
                         atlas != nullptr ? CountryArticleItems(*atlas) : std::vector<DadaVaverozItem>());

    if (std::filesystem::exists(sampleFolder / kSplashSource))
        report.pictures.push_back(WriteSplashPicture(sampleFolder, report.dataFolder));
    report.texts = CopyTextFiles(sampleFolder / "licence", report.dataFolder);
    for (const std::filesystem::path& page : CopyTextFiles(sampleFolder / "about", report.dataFolder, ".htm"))
        report.texts.push_back(page);
    report.lists = WriteSampleLists(sampleFolder, report.dataFolder, atlas != nullptr ? &atlas->places : nullptr);
    report.dictionary = WriteSampleDictionary(sampleFolder, report.dataFolder);
    report.movies = WriteSampleMovies(report.dataFolder);
    report.bubbles = WriteSampleBubbles(sampleFolder, report.dataFolder);
    report.simulations = CopySampleSimulations(report.dataFolder);
    // The monthly spotlight as the update service delivers it: the uncompressed record in a file
    // of its own, which scripts/start puts into the program's download folder.
    const std::filesystem::path spotlight = sampleFolder / "spotlight" / "spotlight.txt";
    if (std::filesystem::exists(spotlight)) {
        std::filesystem::create_directories(discFolder / "Update");
        report.spotlight = discFolder / "Update" / "spotlight.rcv";
        std::ofstream out(report.spotlight, std::ios::binary | std::ios::trunc);
        out << WriteArticleRecord(ReadArticleSource(spotlight));
        if (!out)
            throw std::runtime_error("cannot write " + report.spotlight.string());
    }
    report.productRecord = WriteSampleProductRecord(sampleFolder, discFolder);
    return report;
}

}  // namespace discbuilder

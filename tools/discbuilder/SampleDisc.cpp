#include "SampleDisc.h"

#include "ArticleRecordWriter.h"
#include "ArticleSource.h"
#include "ContentDatabaseSource.h"
#include "ContentDatabaseWriter.h"
#include "PictureSource.h"
#include "RomLinkWriter.h"

namespace discbuilder {

SampleDiscReport BuildSampleDisc(const std::filesystem::path& sampleFolder, const std::filesystem::path& discFolder)
{
    SampleDiscReport report;
    report.dataFolder = discFolder / "info_dat";
    std::filesystem::create_directories(report.dataFolder);

    ContentArchiveWriter archive;
    for (const ArticleRecordSource& source : ReadArticleSources(sampleFolder / "articles"))
        archive.Add(source.rin, WriteArticleRecord(source), RomLinkKindDigitFor(source.rin));
    archive.Write(report.dataFolder);

    std::vector<RomLinkEntry> entries = archive.RomLinkEntries();
    if (!entries.empty()) {
        // Items the program looks up by default that have no record of their own stand on the
        // first item of their kind.
        AddMissingRomLinkDefaults(entries);
    }
    WriteRomLinkFile(report.dataFolder, entries);

    WriteContentDatabase(sampleFolder / "database", (report.dataFolder / ContentDatabaseWriter::kFileName).string());
    report.articles = archive.Records();

    if (std::filesystem::exists(sampleFolder / kSplashSource))
        report.pictures.push_back(WriteSplashPicture(sampleFolder, report.dataFolder));
    return report;
}

}  // namespace discbuilder

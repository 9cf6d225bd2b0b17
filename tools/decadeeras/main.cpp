// vldecadeeras: writes the eras of a disc's article sources by decade, for the Dido Dovov.
//
//   vldecadeeras SOURCES_FOLDER [FIRST_YEAR LAST_YEAR]
//
// Reads SOURCES_FOLDER/articles and writes SOURCES_FOLDER/eras/eras.txt: one era per decade from
// FIRST_YEAR to LAST_YEAR (default 1940 to 2029, the decades of computing history), "Computing in
// the 1950s", each with the articles that mention a year of it (most mentions first, at most 124:
// the eras file keeps 125 item slots per era, one of them between two eras).
#include <ArticleSource.h>
#include <ErasWriter.h>
#include <KeywordIndexWriter.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: vldecadeeras SOURCES_FOLDER [FIRST_YEAR LAST_YEAR]\n");
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        const int first = argc == 4 ? std::atoi(argv[2]) : 1940;
        const int last = argc == 4 ? std::atoi(argv[3]) : 2029;
        std::vector<discbuilder::IndexedArticle> articles;
        for (const auto& source : discbuilder::ReadArticleSources(folder / "articles"))
            articles.push_back(discbuilder::IndexedArticleFrom(source, source.category));
        const std::vector<discbuilder::EraSource> eras =
            discbuilder::ErasByDecade(articles, first, last, "Computing in the ", discbuilder::kErasSlotsPerEra - 1);
        discbuilder::WriteErasFile(eras);  // the limits, checked before anything is written
        std::filesystem::create_directories(folder / "eras");
        std::ofstream out(folder / "eras" / "eras.txt", std::ios::binary | std::ios::trunc);
        out << "# The eras of the disc by decade, written by vldecadeeras.\n" << discbuilder::ErasSourceText(eras);
        if (!out)
            throw std::runtime_error("cannot write " + (folder / "eras" / "eras.txt").string());
        std::printf("vldecadeeras: %zu eras written to %s\n", eras.size(), (folder / "eras" / "eras.txt").c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vldecadeeras: %s\n", e.what());
        return 1;
    }
}

// vldiscbuild: builds the sample disc folder from the sample sources.
//
//   vldiscbuild SAMPLE_FOLDER DISC_FOLDER
//
// SAMPLE_FOLDER holds articles/, database/ and pictures/ (see sample/README.md); DISC_FOLDER
// receives info_dat/ with the content archive, the content index, the database, the splash
// picture and the show and place lists.
#include "SampleDisc.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: vldiscbuild SAMPLE_FOLDER DISC_FOLDER\n");
        return 2;
    }
    try {
        discbuilder::SampleDiscReport report = discbuilder::BuildSampleDisc(argv[1], argv[2]);
        std::printf("vldiscbuild: %zu articles, %zu picture records, %zu picture files, %zu text files, %zu list "
                    "files, %zu movie files written to %s\n",
                    report.articles.size(), report.pictureRecords.size(), report.pictures.size(), report.texts.size(),
                    report.lists.size(), report.movies.size(),
                    report.dataFolder.string().c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vldiscbuild: %s\n", e.what());
        return 1;
    }
}

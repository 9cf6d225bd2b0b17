// foldoc2justlooking: writes the browsing view's rows of the FOLDOC articles into the reference
// disc's sources (after foldoc2articles wrote the articles and the sample's database sources
// were copied there).
//
//   foldoc2justlooking DICTD_FOLDER SOURCES_FOLDER [LIMIT]
#include "FoldocJustLooking.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: foldoc2justlooking DICTD_FOLDER SOURCES_FOLDER [LIMIT]\n");
        return 2;
    }
    try {
        const std::size_t limit = argc == 4 ? std::strtoul(argv[3], nullptr, 10) : 0;
        const std::size_t n = foldoc::WriteJustLookingSources(argv[1], argv[2], limit);
        std::printf("foldoc2justlooking: rows of %zu articles written to %s\n", n, argv[2]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "foldoc2justlooking: %s\n", e.what());
        return 1;
    }
}

// foldoc2articles: writes the FOLDOC dictd database as article sources of the disc builder.
//
//   foldoc2articles DICTD_FOLDER OUT_FOLDER [LIMIT]
//
// DICTD_FOLDER holds foldoc.index and foldoc.dict.dz (Debian's dict-foldoc installs them in
// /usr/share/dictd); OUT_FOLDER receives one "NNNNNN.txt" per entry; LIMIT keeps the first
// entries only.
#include "FoldocSource.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: foldoc2articles DICTD_FOLDER OUT_FOLDER [LIMIT]\n");
        return 2;
    }
    try {
        const std::size_t limit = argc == 4 ? std::strtoul(argv[3], nullptr, 10) : 0;
        const std::size_t n = foldoc::WriteArticleSources(argv[1], argv[2], limit);
        std::printf("foldoc2articles: %zu articles written to %s\n", n, argv[2]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "foldoc2articles: %s\n", e.what());
        return 1;
    }
}

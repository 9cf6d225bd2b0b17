// gcide2dict: writes the GCIDE dictd database as the disc builder's dictionary source.
//
//   gcide2dict DICTD_FOLDER OUT_FILE [EVERY [MAX_LINES [WORD,WORD,...]]]
//
// DICTD_FOLDER holds gcide.index and gcide.dict.dz (Debian's dict-gcide installs them in
// /usr/share/dictd). EVERY keeps every n-th article (1: all), MAX_LINES cuts each entry's
// definitions (0: all), and the listed headwords are kept whatever EVERY says.
#include "GcideSource.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <sstream>

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 6) {
        std::fprintf(stderr, "usage: gcide2dict DICTD_FOLDER OUT_FILE [EVERY [MAX_LINES [WORD,WORD,...]]]\n");
        return 2;
    }
    try {
        gcide::GcideOptions options;
        if (argc > 3)
            options.every = std::strtoul(argv[3], nullptr, 10);
        if (argc > 4)
            options.maxLines = std::strtoul(argv[4], nullptr, 10);
        if (argc > 5) {
            std::istringstream words(argv[5]);
            std::string word;
            while (std::getline(words, word, ','))
                if (!word.empty())
                    options.words.push_back(word);
        }
        const std::size_t n = gcide::WriteDictionarySource(argv[1], argv[2], options);
        std::printf("gcide2dict: %zu entries written to %s\n", n, argv[2]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gcide2dict: %s\n", e.what());
        return 1;
    }
}

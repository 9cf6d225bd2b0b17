// Builds a complete sample disc folder from the sample sources:
//   <disc>/info_dat/vl.dat         the content archive (every article of sample/articles and
//                                  every picture record of sample/pictures/items)
//   <disc>/info_dat/ROM_LINK.DAT   the content index: the articles' places and the defaults
//   <disc>/info_dat/vl00i1.mdb     the content database (sample/database)
//   <disc>/info_dat/KWMST.NDX ...  the keyword index of the articles' texts and TITLELNK.DAT
//                                  (KeywordIndexWriter.h)
//   <disc>/info_dat/MASTER.NDX, SSUBJECT.NDX  the subject index of the topic search: a heading
//                                  per article (SubjectIndexWriter.h)
//   <disc>/info_dat/splash.bmp     the start-up picture (sample/pictures/splash.txt), when the
//                                  sample folder has its source
//   <disc>/info_dat/Licn*.txt      the licence texts of the first start (sample/licence), with
//                                  CR LF line ends
//   <disc>/info_dat/vl00crd.htm, vl00ack.htm: the About window's credits and acknowledgments
//                                  pages in the mini-article mark-up (sample/about)
//   <disc>/info_dat/Jlshow.dat, Jlookcd1.dat, map_loc.dat, distcalc.dat and their .ndx indexes:
//                                  the show, media and place lists (sample/lists)
//   the atlas (sample/atlas, SampleAtlas.h): its maps in vl.dat, the country and region
//                                  articles, and each place's map and hit in the place lists
//   <disc>/info_dat/ERASORT.dat    the Dido Dovov's eras (sample/eras/eras.txt, ErasWriter.h)
//   <disc>/info_dat/DICTDEFS.ROM, dicmain.ndx, dicmstr.ndx: the dictionary (sample/dictionary,
//                                  DictionaryWriter.h)
//   <disc>/info_dat/Movies/*.mov, Sound/AU*.mov: the movies, panorama and sound clip of the
//                                  sample items (SampleMovies.h)
//   <disc>/info_dat/Photo/Bu*.bub, Sims/si*.dll: the photo bubbles (sample/bubbles) and the
//                                  simulation libraries of the build (SampleBubbles.h)
//   <disc>/Setup/PRODREG.DAT      the product record that setup installs beside the program
//                                  (sample/setup/product.txt, ProductRecordWriter.h)
#pragma once

#include "ContentArchiveWriter.h"

#include <filesystem>

namespace discbuilder {

struct SampleDiscReport {
    std::filesystem::path dataFolder;    // <disc>/info_dat
    std::vector<ArchivedRecord> articles;
    std::vector<ArchivedRecord> pictureRecords;   // the picture records of the archive
    std::vector<std::filesystem::path> pictures;  // the picture files written
    std::vector<std::filesystem::path> texts;     // the text files written
    std::vector<std::filesystem::path> lists;     // the list and index files written
    std::vector<std::filesystem::path> dictionary;  // the dictionary's files written
    std::vector<std::filesystem::path> movies;  // the movie and sound files (Movies\, Sound\)
    std::vector<std::filesystem::path> bubbles;     // info_dat/Photo/Bu*.bub (sample/bubbles)
    std::vector<std::filesystem::path> simulations;  // info_dat/Sims/si*.dll (built simulations)
    std::filesystem::path eras;       // info_dat/ERASORT.dat, or empty without sample/eras
    std::filesystem::path spotlight;  // <disc>/Update/spotlight.rcv (sample/spotlight), or empty
    std::filesystem::path productRecord;  // <disc>/Setup/PRODREG.DAT (sample/setup), or empty
};

// Throws std::runtime_error (file and line named) on a bad source and std::invalid_argument
// when a record does not fit the formats.
SampleDiscReport BuildSampleDisc(const std::filesystem::path& sampleFolder, const std::filesystem::path& discFolder);

}  // namespace discbuilder

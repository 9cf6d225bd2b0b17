// Reads the readable sources of sample articles (sample/articles/*.txt, described in
// sample/README.md) into the article records' writer's form (format year 1999, new layout).
#pragma once

#include "ArticleRecordWriter.h"

#include <filesystem>
#include <string>
#include <vector>

namespace discbuilder {

// Parses one article source; inline pictures are read from pictureFolder (for a file, the
// "pictures" folder beside its own). Throws std::runtime_error naming the file and line on a bad
// line.
ArticleRecordSource ParseArticleSource(const std::string& text, const std::string& fileName,
                                       const std::filesystem::path& pictureFolder = {});
ArticleRecordSource ReadArticleSource(const std::filesystem::path& file);

// Every "*.txt" of the folder, in the order of their file names.
std::vector<ArticleRecordSource> ReadArticleSources(const std::filesystem::path& folder);

}  // namespace discbuilder

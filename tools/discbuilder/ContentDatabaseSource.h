// Reads the readable sources of the content database (sample/database/*.txt) and writes the
// database from them.
//
// Each source is a text file of lines whose fields are separated by "|"; blank lines and lines
// beginning with "#" are skipped. The files (see sample/README.md): flagfile.txt, firstlines.txt,
// timelines.txt, dadavaveroz.txt, tabledata.txt and system.txt. The Back in Time list is made
// from the Back in Time titles of flagfile.txt ("Topic (year)": each distinct topic once), as the
// program makes it after an update.
#pragma once

#include "ContentDatabaseWriter.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace discbuilder {

// The data lines of one source file, each split at "|". Throws std::runtime_error naming the file
// and line when the file cannot be read or a line has not `fields` fields.
std::vector<std::vector<std::string>> ReadSourceTable(const std::filesystem::path& file, std::size_t fields);

// The Back in Time topics of a list of titles: the part before each title's first " (", each
// distinct topic once, in the order of first appearance; titles without " (" give none.
std::vector<std::string> BackInTimeTopics(const std::vector<std::string>& titles);

// Writes the content database at databaseHostPath (replacing a file there) from the sources in
// sourceFolder; seed fixes the random browser's ordinals; extraItems are random browser rows
// made by the builder (after those of dadavaveroz.txt). Throws std::runtime_error on a bad
// source (file and line named) and daosql::Error when the database refuses a row.
void WriteContentDatabase(const std::filesystem::path& sourceFolder, const std::string& databaseHostPath,
                          std::uint32_t seed = 1, const std::vector<DadaVaverozItem>& extraItems = {});

}  // namespace discbuilder

// The product record "PRODREG.DAT" of the disc's Setup folder, which setup copies beside the
// program and the registration tools read: an INI file with CR LF lines,
//   [PRODUCT]
//   PRODUCTNAME=<the product's name, the section of its registration records>
//   PRODUCTNUM=<the product number>
//   LANGUAGE=<"ENG", "JPN", "KOR", ...>
// Its source (sample/setup/product.txt) holds the same keys as "KEY=value" lines, "#" comments.
#pragma once

#include <filesystem>
#include <string>

namespace discbuilder {

struct ProductRecord {
    std::string name;
    std::string number;
    std::string language;
};

// Throws std::runtime_error (file and line named) on an unknown key, a line without "=", or a
// missing PRODUCTNAME or PRODUCTNUM.
ProductRecord ReadProductSource(const std::filesystem::path& source);

// The file's bytes. Throws std::invalid_argument for a value the profile reader would not give
// back as written: an empty name or number, a line break or a NUL in any value, blanks at a
// value's ends, a value enclosed in quotes, or a name with "]" (it names a section).
std::string WriteProductRecord(const ProductRecord& record);

// <disc>/Setup/PRODREG.DAT from sample/setup/product.txt; returns the file written, or an empty
// path when the sample folder has no product source.
std::filesystem::path WriteSampleProductRecord(const std::filesystem::path& sampleFolder,
                                               const std::filesystem::path& discFolder);

}  // namespace discbuilder

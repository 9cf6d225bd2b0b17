#include "DictdDatabase.h"

#include <zlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace dictd {

namespace {

std::string ReadWhole(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error(file.string() + ": cannot be read");
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Gunzip(const std::filesystem::path& file)
{
    gzFile gz = gzopen(file.string().c_str(), "rb");
    if (gz == nullptr)
        throw std::runtime_error(file.string() + ": cannot be read");
    std::string text;
    std::vector<char> chunk(1 << 16);
    int n;
    while ((n = gzread(gz, chunk.data(), static_cast<unsigned>(chunk.size()))) > 0)
        text.append(chunk.data(), static_cast<std::size_t>(n));
    const bool failed = n < 0;
    gzclose(gz);
    if (failed)
        throw std::runtime_error(file.string() + ": not a readable gzip file");
    return text;
}

}  // namespace

std::uint64_t Base64Number(const std::string& digits, const std::string& name)
{
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    if (digits.empty())
        throw std::runtime_error(name + ": an empty dictd number");
    std::uint64_t value = 0;
    for (char ch : digits) {
        const std::size_t d = alphabet.find(ch);
        if (d == std::string::npos)
            throw std::runtime_error(name + ": \"" + digits + "\" is not a dictd number");
        value = value * 64 + d;
    }
    return value;
}

Database ReadDatabase(const std::filesystem::path& indexFile, const std::filesystem::path& dictFile,
                      const std::string& name)
{
    Database db;
    const std::string index = ReadWhole(indexFile);
    db.text = Gunzip(dictFile);
    std::istringstream lines(index);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty())
            continue;
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string::npos)
            throw std::runtime_error(name + ": a line without its three fields");
        IndexEntry entry;
        entry.key = line.substr(0, tab1);
        if (entry.key.compare(0, 2, "00") == 0)
            continue;
        entry.offset = Base64Number(line.substr(tab1 + 1, tab2 - tab1 - 1), name);
        entry.length = Base64Number(line.substr(tab2 + 1), name);
        if (entry.offset + entry.length > db.text.size())
            throw std::runtime_error(name + ": an entry lies beyond the text");
        db.index.push_back(std::move(entry));
    }
    return db;
}

}  // namespace dictd

// The product record "PRODREG.DAT".
#include "ProductRecordWriter.h"

#include "SourceText.h"

#include <fstream>
#include <stdexcept>

namespace discbuilder {

namespace {

void CheckValue(const char* key, const std::string& value, bool required)
{
    auto refuse = [&](const std::string& why) {
        throw std::invalid_argument(std::string("PRODREG.DAT: ") + key + " " + why);
    };
    if (value.empty()) {
        if (required)
            refuse("is empty");
        return;
    }
    if (value.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
        refuse("holds a line break or a NUL");
    if (value.front() == ' ' || value.front() == '\t' || value.back() == ' ' || value.back() == '\t')
        refuse("has blanks at its ends");
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        refuse("is enclosed in quotes");
}

}  // namespace

ProductRecord ReadProductSource(const std::filesystem::path& source)
{
    std::ifstream in(source, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + source.string());
    ProductRecord record;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string text = TrimSource(line);
        if (text.empty() || text[0] == '#')
            continue;
        const auto where = [&] { return source.string() + ":" + std::to_string(number) + ": "; };
        const size_t eq = text.find('=');
        if (eq == std::string::npos)
            throw std::runtime_error(where() + "expected KEY=value");
        const std::string key = TrimSource(text.substr(0, eq));
        const std::string value = Cp1252FromUtf8(TrimSource(text.substr(eq + 1)));
        if (key == "PRODUCTNAME")
            record.name = value;
        else if (key == "PRODUCTNUM")
            record.number = value;
        else if (key == "LANGUAGE")
            record.language = value;
        else
            throw std::runtime_error(where() + "unknown key " + key);
    }
    if (record.name.empty() || record.number.empty())
        throw std::runtime_error(source.string() + ": PRODUCTNAME and PRODUCTNUM are needed");
    return record;
}

std::string WriteProductRecord(const ProductRecord& record)
{
    CheckValue("PRODUCTNAME", record.name, true);
    CheckValue("PRODUCTNUM", record.number, true);
    CheckValue("LANGUAGE", record.language, false);
    if (record.name.find(']') != std::string::npos)
        throw std::invalid_argument("PRODREG.DAT: PRODUCTNAME holds \"]\", which cannot stand in a section name");
    std::string bytes = "[PRODUCT]\r\n";
    bytes += "PRODUCTNAME=" + record.name + "\r\n";
    bytes += "PRODUCTNUM=" + record.number + "\r\n";
    if (!record.language.empty())
        bytes += "LANGUAGE=" + record.language + "\r\n";
    return bytes;
}

std::filesystem::path WriteSampleProductRecord(const std::filesystem::path& sampleFolder,
                                               const std::filesystem::path& discFolder)
{
    const std::filesystem::path source = sampleFolder / "setup" / "product.txt";
    if (!std::filesystem::exists(source))
        return {};
    const std::string bytes = WriteProductRecord(ReadProductSource(source));
    std::filesystem::create_directories(discFolder / "Setup");
    const std::filesystem::path target = discFolder / "Setup" / "PRODREG.DAT";
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + target.string());
    return target;
}

}  // namespace discbuilder

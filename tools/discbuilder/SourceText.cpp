#include "SourceText.h"

#include <sstream>

namespace discbuilder {

std::string TrimSource(const std::string& text)
{
    std::size_t b = text.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return "";
    std::size_t e = text.find_last_not_of(" \t\r");
    return text.substr(b, e - b + 1);
}

std::vector<std::string> SplitSourceFields(const std::string& text, char separator)
{
    std::vector<std::string> fields;
    std::stringstream in(text);
    std::string field;
    while (std::getline(in, field, separator))
        fields.push_back(TrimSource(field));
    return fields;
}

}  // namespace discbuilder

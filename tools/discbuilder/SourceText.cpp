#include "SourceText.h"

#include <host/Resources.h>

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

char32_t DecodeUtf8(const std::string& text, std::size_t& i)
{
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
        ++i;
        return c;
    }
    const int extra = c >= 0xF0 && c < 0xF8 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
    if (extra < 0) {
        ++i;
        return 0xFFFD;
    }
    char32_t code = c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        if (i + static_cast<std::size_t>(k) >= text.size()) {
            ++i;
            return 0xFFFD;
        }
        const unsigned char cc = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        if ((cc & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        code = (code << 6) | (cc & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return code;
}

std::string Cp1252FromUtf8(const std::string& utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t code = DecodeUtf8(utf8, i);
        if (code < 0x80 || (code >= 0xA0 && code < 0x100))
            out += static_cast<char>(code);
        else if (code <= 0xFFFF)
            out += host::Cp1252FromResourceChar(static_cast<char16_t>(code));
        else
            out += '?';
    }
    return out;
}

}  // namespace discbuilder

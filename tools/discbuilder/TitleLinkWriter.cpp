#include "TitleLinkWriter.h"

#include <stdexcept>

namespace discbuilder {

TitleLinkTable BuildTitleLinkTable(const std::vector<TitleLinkEntry>& entries)
{
    TitleLinkTable table;
    table.bytes.assign(12, '\0');  // the dummy record: no article has number 0
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TitleLinkEntry& entry = entries[i];
        if (entry.rin < 0 || entry.rin > 0xFFFFFF)
            throw std::invalid_argument("TITLELNK.DAT: RIN " + std::to_string(entry.rin) + " does not fit 24 bits");
        if (entry.title.size() > 254 || entry.title.find('\n') != std::string::npos)
            throw std::invalid_argument("TITLELNK.DAT: the title \"" + entry.title.substr(0, 40) +
                                        "\" is longer than 254 bytes or holds a line feed");
        std::uint16_t parent = 0;
        if (entry.parent >= 0) {
            if (static_cast<std::size_t>(entry.parent) >= i)
                throw std::invalid_argument("TITLELNK.DAT: a parent must come before its parts");
            parent = table.articleNumbers[static_cast<std::size_t>(entry.parent)];
        }
        const std::size_t number = table.bytes.size() / 12;
        if (number > 0xFFFF)
            throw std::invalid_argument("TITLELNK.DAT: more articles than 16-bit article numbers reach");
        table.articleNumbers.push_back(static_cast<std::uint16_t>(number));
        const std::uint32_t rin = static_cast<std::uint32_t>(entry.rin);
        for (int b = 0; b < 4; ++b)
            table.bytes += static_cast<char>((rin >> (8 * b)) & 0xFF);
        table.bytes += static_cast<char>(parent & 0xFF);
        table.bytes += static_cast<char>(parent >> 8);
        table.bytes += entry.title;
        table.bytes += '\n';
        table.bytes.append((12 - table.bytes.size() % 12) % 12, '\0');
    }
    return table;
}

}  // namespace discbuilder

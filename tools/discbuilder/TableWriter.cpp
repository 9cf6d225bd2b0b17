#include "TableWriter.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace discbuilder {

namespace {

void Put16(std::string& out, std::size_t at, std::uint32_t value)
{
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void Append16(std::string& out, std::uint32_t value)
{
    out.append(2, '\0');
    Put16(out, out.size() - 2, value);
}

void Append32(std::string& out, std::uint32_t value)
{
    Append16(out, value & 0xFFFF);
    Append16(out, value >> 16);
}

void Check(bool ok, const char* what)
{
    if (!ok)
        throw std::invalid_argument(std::string("table: ") + what);
}

}  // namespace

std::string WriteTable(const TableSource& table)
{
    std::string links, bands, cells, runs, text;
    int cellCount = 0, runCount = 0, widest = 0;
    int footFirst = -1, footCount = 0;
    // Runs of merged cells hold no text: they point at the text of the run written next (where
    // copying puts their TABs), or at the text's last byte when none follows.
    std::vector<std::size_t> pendingMerged;
    auto placePending = [&](std::size_t offset) {
        for (std::size_t at : pendingMerged) {
            Put16(runs, at, static_cast<std::uint32_t>(offset & 0xFFFF));
            Put16(runs, at + 2, static_cast<std::uint32_t>(offset >> 16));
        }
        pendingMerged.clear();
    };
    for (const TableBandSource& band : table.bands) {
        Check(band.kind >= 0 && band.kind <= 255, "a band kind is out of range");
        bands += static_cast<char>(band.kind);
        bands += static_cast<char>(band.flag);
        Append16(bands, static_cast<std::uint32_t>(cellCount));
        widest = std::max(widest, static_cast<int>(band.cells.size()));
        for (const TableCellSource& cell : band.cells) {
            cells += static_cast<char>(cell.span);
            cells += static_cast<char>(cell.merged ? 1 : 0);
            cells += static_cast<char>(cell.figures);
            cells += '\0';
            Append16(cells, static_cast<std::uint32_t>(runCount));
            ++cellCount;
            for (const TableRunSource& run : cell.runs) {
                Check(run.font >= 0 && run.font <= 255, "a font code is out of range");
                Check(run.marks.size() <= 7, "a run has more than seven marks");
                int mark[5] = {0, 0, 0, 0, 0};
                for (std::size_t m = 0; m < run.marks.size() && m < 5; ++m) {
                    Check(run.marks[m] >= 0 && run.marks[m] <= 15, "a mark is out of range");
                    mark[m] = run.marks[m];
                }
                Check(text.size() + run.text.size() + 1 <= 0xFFFF, "the text is longer than 65,535 bytes");
                Check(run.text.size() <= 0xFFFF, "a run is longer than 65,535 bytes");
                if (cell.merged) {
                    pendingMerged.push_back(runs.size());
                    Append32(runs, 0);
                    Append16(runs, 0);
                } else {
                    placePending(text.size());
                    Append32(runs, static_cast<std::uint32_t>(text.size()));
                    Append16(runs, static_cast<std::uint32_t>(run.text.size()));
                }
                runs += static_cast<char>(run.font);
                int flags = static_cast<int>(run.marks.size()) | (run.marksBehind && !run.marks.empty() ? 8 : 0) |
                            (mark[0] << 4);
                runs += static_cast<char>(flags);
                runs += static_cast<char>(mark[1] | (mark[2] << 4));
                runs += static_cast<char>(mark[3] | (mark[4] << 4));
                if (!cell.merged) {
                    text += run.text;
                    text += '\0';
                }
                if (band.kind == 6) {
                    if (footFirst < 0)
                        footFirst = runCount;
                    Check(footFirst + footCount == runCount, "the footnote rows do not follow one another");
                    ++footCount;
                }
                ++runCount;
            }
        }
    }
    placePending(text.empty() ? 0 : text.size() - 1);
    for (const TableLinkSource& link : table.links) {
        Check(link.firstRun >= 0 && link.runCount >= 0 && link.firstRun + link.runCount <= runCount,
              "a link names runs that do not exist");
        Append16(links, static_cast<std::uint32_t>(link.firstRun));
        Append16(links, static_cast<std::uint32_t>(link.runCount));
        Append32(links, link.rin);
        Append16(links, static_cast<std::uint32_t>(link.place));
    }
    Check(table.links.size() <= 255, "more than 255 links");
    Check(table.bands.size() <= 0xFFFF && cellCount <= 0xFFFF && runCount <= 0xFFFF, "too many entries");

    std::string header(40, '\0');
    Put16(header, 2, static_cast<std::uint32_t>(text.size()));
    header[4] = static_cast<char>(table.style);
    Put16(header, 18, static_cast<std::uint32_t>(std::max(footFirst, 0)));
    Put16(header, 20, static_cast<std::uint32_t>(footCount));
    header[22] = static_cast<char>(table.widestColumns >= 0 ? table.widestColumns : widest);
    header[23] = static_cast<char>(footCount > 0 ? 1 : 0);
    header[25] = static_cast<char>(table.links.size());
    header[29] = static_cast<char>(table.centred ? 255 : 0);
    Put16(header, 32, static_cast<std::uint32_t>(table.bands.size()));
    Put16(header, 34, static_cast<std::uint32_t>(cellCount));
    Put16(header, 36, static_cast<std::uint32_t>(runCount));
    Put16(header, 38, static_cast<std::uint32_t>(table.field38));
    return header + links + bands + cells + runs + text;
}

}  // namespace discbuilder

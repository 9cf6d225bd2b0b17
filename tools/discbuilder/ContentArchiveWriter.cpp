#include "ContentArchiveWriter.h"

#include <zlib.h>

#include <fstream>
#include <stdexcept>

namespace discbuilder {

std::string CompressRecord(const std::string& record)
{
    uLongf size = compressBound(static_cast<uLong>(record.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(record.data()),
                  static_cast<uLong>(record.size()), Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("content archive: a record cannot be compressed");
    out.resize(size);
    return out;
}

const ArchivedRecord& ContentArchiveWriter::Add(std::int32_t rin, const std::string& record, int kindDigit,
                                                int category)
{
    return Place(rin, CompressRecord(record), kindDigit, category);
}

const ArchivedRecord& ContentArchiveWriter::AddStored(std::int32_t rin, const std::string& record, int kindDigit,
                                                      int category, int pictureFlag)
{
    const ArchivedRecord& placed = Place(rin, record, kindDigit, category);
    m_records.back().pictureFlag = pictureFlag;
    return placed;
}

const ArchivedRecord& ContentArchiveWriter::Place(std::int32_t rin, const std::string& stream, int kindDigit,
                                                  int category)
{
    for (const ArchivedRecord& r : m_records)
        if (r.rin == rin)
            throw std::invalid_argument("content archive: number " + std::to_string(rin) + " added twice");
    std::size_t blocks = (stream.size() + kBlockSize - 1) / kBlockSize;
    if (blocks == 0)
        blocks = 1;
    if (blocks > 127)
        throw std::invalid_argument("content archive: record " + std::to_string(rin) + " needs more than 127 blocks");
    ArchivedRecord placed;
    placed.rin = rin;
    placed.block = static_cast<std::uint32_t>(m_bytes.size() / kBlockSize);
    placed.blockCount = static_cast<int>(blocks);
    placed.kindDigit = kindDigit;
    placed.category = category;
    m_bytes += stream;
    m_bytes.append(blocks * kBlockSize - stream.size(), '\0');
    m_records.push_back(placed);
    return m_records.back();
}

std::vector<RomLinkEntry> ContentArchiveWriter::RomLinkEntries() const
{
    std::vector<RomLinkEntry> entries;
    for (const ArchivedRecord& r : m_records) {
        RomLinkEntry entry;
        entry.rin = r.rin;
        entry.category = r.category;
        entry.kind = r.kindDigit;
        entry.pictureFlag = r.pictureFlag;
        entry.disc = 1;
        entry.block = r.block;
        entry.blockCount = r.blockCount;
        entries.push_back(entry);
    }
    return entries;
}

std::filesystem::path ContentArchiveWriter::Write(const std::filesystem::path& dataFolder) const
{
    std::filesystem::create_directories(dataFolder);
    std::filesystem::path file = dataFolder / kFileName;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(m_bytes.data(), static_cast<std::streamsize>(m_bytes.size()));
    if (!out)
        throw std::runtime_error("content archive: cannot write " + file.string());
    return file;
}

}  // namespace discbuilder

// Writes the content archive "vl.dat": a sequence of 512-byte blocks in which every record is a
// zlib stream (deflate with its header and Adler-32 check) starting at a block and filled with
// zero bytes up to the next one. Each record's place (first block, block count) is what its
// ROM_LINK row gives the program.
#pragma once

#include "RomLinkWriter.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace discbuilder {

struct ArchivedRecord {
    std::int32_t rin = 0;
    std::uint32_t block = 0;
    int blockCount = 0;
    int kindDigit = 0;  // of the ROM_LINK row
    int category = 0;
};

class ContentArchiveWriter {
public:
    static constexpr const char* kFileName = "vl.dat";
    static constexpr std::size_t kBlockSize = 512;

    // Compresses the record and appends it; its place. Throws std::invalid_argument when the
    // compressed record needs more than 127 blocks (the most a ROM_LINK row can say) or the RIN
    // is already in the archive.
    const ArchivedRecord& Add(std::int32_t rin, const std::string& record, int kindDigit = 0, int category = 0);

    const std::string& Bytes() const { return m_bytes; }
    const std::vector<ArchivedRecord>& Records() const { return m_records; }

    // The ROM_LINK rows of every record (disc 1), for RomLinkText / WriteRomLinkFile.
    std::vector<RomLinkEntry> RomLinkEntries() const;

    // Writes vl.dat into the data folder (created when missing); its path. Throws
    // std::runtime_error when it cannot be written.
    std::filesystem::path Write(const std::filesystem::path& dataFolder) const;

private:
    std::string m_bytes;
    std::vector<ArchivedRecord> m_records;
};

// The zlib stream of the bytes (best compression).
std::string CompressRecord(const std::string& record);

}  // namespace discbuilder

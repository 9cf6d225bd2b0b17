// Writes the content archive "vl.dat": a sequence of 512-byte blocks in which every record starts
// at a block and is filled with zero bytes up to the next one. Article records are zlib streams
// (deflate with its header and Adler-32 check); picture records are stored as they are. Each record's place (first block, block count) is what its
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
    int pictureFlag = 0;  // of the ROM_LINK row: 1 for picture records
};

class ContentArchiveWriter {
public:
    static constexpr const char* kFileName = "vl.dat";
    static constexpr std::size_t kBlockSize = 512;

    // Compresses the record and appends it; its place. Throws std::invalid_argument when the
    // compressed record needs more than 127 blocks (the most a ROM_LINK row can say) or the RIN
    // is already in the archive.
    const ArchivedRecord& Add(std::int32_t rin, const std::string& record, int kindDigit = 0, int category = 0);
    // Stores the record as it is (picture records, which the program reads in place and whose
    // pictures it decodes straight from the archive); the same limits as Add.
    const ArchivedRecord& AddStored(std::int32_t rin, const std::string& record, int kindDigit = 0, int category = 0,
                                    int pictureFlag = 0);

    const std::string& Bytes() const { return m_bytes; }
    const std::vector<ArchivedRecord>& Records() const { return m_records; }

    // The ROM_LINK rows of every record (disc 1), for RomLinkText / WriteRomLinkFile.
    std::vector<RomLinkEntry> RomLinkEntries() const;

    // Writes vl.dat into the data folder (created when missing); its path. Throws
    // std::runtime_error when it cannot be written.
    std::filesystem::path Write(const std::filesystem::path& dataFolder) const;

private:
    const ArchivedRecord& Place(std::int32_t rin, const std::string& stream, int kindDigit, int category);

    std::string m_bytes;
    std::vector<ArchivedRecord> m_records;
};

// The zlib stream of the bytes (best compression).
std::string CompressRecord(const std::string& record);

}  // namespace discbuilder

#include "UserDataFileWriter.h"

#include <fstream>
#include <stdexcept>

namespace discbuilder {

namespace {

void Put16(std::string& out, std::uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutCount(std::string& out, std::size_t count)
{
    if (count < 0xFFFF) {
        Put16(out, static_cast<std::uint32_t>(count));
    } else {
        Put16(out, 0xFFFF);
        Put32(out, static_cast<std::uint32_t>(count));
    }
}

// The first object names its class; every later one refers to it as class index 1.
void PutHeader(std::string& out, std::size_t index, const std::string& className)
{
    if (index == 0) {
        Put16(out, 0xFFFF);
        Put16(out, 1);
        Put16(out, static_cast<std::uint32_t>(className.size()));
        out += className;
    } else {
        Put16(out, 0x8001);
    }
}

}  // namespace

std::string ArchiveString(const std::string& text)
{
    std::string out;
    std::size_t length = text.size();
    if (length < 0xFF) {
        out += static_cast<char>(length);
    } else if (length < 0xFFFE) {
        out += static_cast<char>(0xFF);
        Put16(out, static_cast<std::uint32_t>(length));
    } else {
        out += static_cast<char>(0xFF);
        Put16(out, 0xFFFF);
        Put32(out, static_cast<std::uint32_t>(length));
    }
    return out + text;
}

std::string MakeHiliteFile(const std::vector<HiliteRecordEntry>& records)
{
    std::string out;
    PutCount(out, records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const HiliteRecordEntry& record = records[i];
        if (record.spans.size() > 0xFFFF)
            throw std::invalid_argument("a highlight record holds more than 65535 spans");
        PutHeader(out, i, "CHiliteRecord");
        Put32(out, static_cast<std::uint32_t>(record.key));
        Put16(out, static_cast<std::uint32_t>(record.spans.size()));
        for (const HiliteSpanEntry& span : record.spans) {
            Put32(out, span.unit);
            Put32(out, span.offset);
            Put32(out, span.length);
            Put32(out, span.style);
        }
    }
    return out;
}

std::string MakeStickyNoteFile(const std::vector<StickyNoteEntry>& notes)
{
    std::string out;
    PutCount(out, notes.size());
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const StickyNoteEntry& note = notes[i];
        PutHeader(out, i, "CStickyNote");
        out += ArchiveString(note.title) + ArchiveString(note.text) + ArchiveString(note.spare);
        Put32(out, static_cast<std::uint32_t>(note.key));
        for (std::uint16_t value : note.position)
            Put16(out, value);
    }
    return out;
}

void WriteUserDataFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

}  // namespace discbuilder

#include "GrfWriter.h"

#include <stdexcept>

namespace discbuilder {

std::uint32_t GrfGet32(const std::string& record, std::size_t offset)
{
    if (offset + 4 > record.size())
        throw std::out_of_range("picture record: offset " + std::to_string(offset) + " past the end");
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(record[offset + static_cast<std::size_t>(i)]);
    return v;
}

void GrfPut32(std::string& record, std::size_t offset, std::uint32_t value)
{
    if (record.size() < offset + 4)
        record.resize(offset + 4, '\0');
    for (int i = 0; i < 4; ++i)
        record[offset + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void GrfPut16(std::string& record, std::size_t offset, std::int16_t value)
{
    if (record.size() < offset + 2)
        record.resize(offset + 2, '\0');
    const auto u = static_cast<std::uint16_t>(value);
    record[offset] = static_cast<char>(u & 0xFF);
    record[offset + 1] = static_cast<char>(u >> 8);
}

namespace {

void CheckText(const std::string& text, const char* what)
{
    if (text.find('\0') != std::string::npos)
        throw std::invalid_argument(std::string("picture record: the ") + what + " holds a NUL byte");
}

// Appends a NUL-terminated text; its offset.
std::uint32_t AppendText(std::string& record, const std::string& text, const char* what)
{
    CheckText(text, what);
    const auto offset = static_cast<std::uint32_t>(record.size());
    record += text;
    record += '\0';
    return offset;
}

std::int16_t Short(int v, const char* what)
{
    if (v < -32768 || v > 32767)
        throw std::invalid_argument(std::string("picture record: ") + what + " out of range");
    return static_cast<std::int16_t>(v);
}

}  // namespace

std::string WriteGrfRecord(const GrfRecordSource& s)
{
    using namespace grf;
    if (s.sections.size() > kSectionSlots)
        throw std::invalid_argument("picture record: more than 20 text sections");
    if (s.lists.size() > kListSlots)
        throw std::invalid_argument("picture record: more than 10 reference lists");
    if (s.hotSpots.size() > 32767 || s.named.size() > 32767)
        throw std::invalid_argument("picture record: too many hot spots or named records");

    std::string r(kHeaderSize, '\0');
    r[0] = 'G';
    r[1] = 'R';
    GrfPut32(r, kMediaNumber, s.mediaNumber);
    GrfPut32(r, kItemNumber, s.itemNumber);
    GrfPut32(r, kLinkValue, s.linkValue);
    r[kCanCopy] = s.canCopy ? 'Y' : 'N';

    GrfPut32(r, kTitle, AppendText(r, s.title, "title"));
    if (!s.caption.empty()) {
        GrfPut32(r, kCaption, AppendText(r, s.caption, "caption"));
        GrfPut32(r, kCaptionLength, static_cast<std::uint32_t>(s.caption.size()));
    }
    if (!s.note.empty()) {
        GrfPut32(r, kNote, AppendText(r, s.note, "note"));
        GrfPut32(r, kNoteLength, static_cast<std::uint32_t>(s.note.size()));
    }
    if (!s.credit.empty()) {
        GrfPut32(r, kCredit, AppendText(r, s.credit, "credit"));
        GrfPut32(r, kCreditLength, static_cast<std::uint32_t>(s.credit.size()));
    }
    GrfPut16(r, kSectionCount, static_cast<std::int16_t>(s.sections.size()));
    for (std::size_t i = 0; i < s.sections.size(); ++i) {
        const std::size_t entry = kSections + 10 * i;
        GrfPut32(r, entry, s.sections[i].mark);
        GrfPut32(r, entry + 4, AppendText(r, s.sections[i].text, "section"));
    }

    // The tables start on a multiple of 4, so that their 16- and 32-bit fields lie aligned.
    r.append((4 - r.size() % 4) % 4, '\0');
    GrfPut32(r, kHotSpots, static_cast<std::uint32_t>(r.size()));
    GrfPut16(r, kHotSpotCount, static_cast<std::int16_t>(s.hotSpots.size()));
    for (const GrfHotSpot& h : s.hotSpots) {
        const std::size_t at = r.size();
        r.append(kHotSpotSize, '\0');
        GrfPut16(r, at + 0, Short(h.top, "hot-spot top"));
        GrfPut16(r, at + 2, Short(h.left, "hot-spot left"));
        GrfPut16(r, at + 4, Short(h.bottom, "hot-spot bottom"));
        GrfPut16(r, at + 6, Short(h.right, "hot-spot right"));
        GrfPut32(r, at + 8, h.target);
        GrfPut16(r, at + 14, static_cast<std::int16_t>(h.kind));
    }

    GrfPut32(r, kNamed, static_cast<std::uint32_t>(r.size()));
    GrfPut16(r, kNamedCount, static_cast<std::int16_t>(s.named.size()));
    std::vector<std::size_t> legendFields;
    for (const GrfNamedRecord& n : s.named) {
        if (n.name.size() > 15)
            throw std::invalid_argument("picture record: the name \"" + n.name + "\" is longer than 15 characters");
        CheckText(n.name, "record name");
        const bool isList = n.name == "MAP_OLAY" || n.name == "TRA_OLAY" || n.name == "GROUP";
        if (isList && n.value >= s.lists.size())
            throw std::invalid_argument("picture record: \"" + n.name + "\" names a list that is not there");
        const std::size_t at = r.size();
        r.append(kNamedSize, '\0');
        GrfPut32(r, at + 2, n.value);
        r.replace(at + 48, n.name.size(), n.name);
        if (n.name == "LEGEND")
            legendFields.push_back(at + 64);
    }

    for (std::size_t i = 0; i < s.lists.size(); ++i) {
        const std::size_t entry = kLists + 10 * i;
        if (s.lists[i].size() > 32767)
            throw std::invalid_argument("picture record: a reference list is too long");
        GrfPut32(r, entry, static_cast<std::uint32_t>(r.size()));
        GrfPut16(r, entry + 8, static_cast<std::int16_t>(s.lists[i].size()));
        for (const GrfListItem& item : s.lists[i]) {
            AppendText(r, item.title, "list title");
            GrfPut32(r, r.size(), item.number);
        }
    }

    if (!s.secondGif.empty()) {
        GrfPut32(r, kSecondImage, static_cast<std::uint32_t>(r.size()));
        GrfPut32(r, kSecondImageLength, static_cast<std::uint32_t>(s.secondGif.size()));
        r += s.secondGif;
    }
    GrfPut32(r, kPreview, static_cast<std::uint32_t>(r.size()));
    r += s.previewGif;
    GrfPut32(r, kFullPicture, static_cast<std::uint32_t>(r.size()));
    r += s.fullGif;
    if (!legendFields.empty() && !s.legendGif.empty()) {
        const auto legend = static_cast<std::uint32_t>(r.size());
        for (std::size_t field : legendFields) {
            GrfPut32(r, field, legend);
            GrfPut32(r, field + 4, static_cast<std::uint32_t>(s.legendGif.size()));
        }
        r += s.legendGif;
    }
    return r;
}

}  // namespace discbuilder

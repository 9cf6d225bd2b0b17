#include "SubjectIndexWriter.h"

#include "search/SubjectNormalizer.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace discbuilder {

namespace {

void PutU16(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void PutU32(std::string& out, std::uint32_t value)
{
    for (int b = 0; b < 4; ++b)
        out += static_cast<char>((value >> (8 * b)) & 0xFF);
}

void CheckText(const std::string& text, const char* what)
{
    if (text.size() > 255)
        throw std::invalid_argument(std::string("subject index: ") + what + " longer than 255 bytes: " + text.substr(0, 40));
    if (text.find('\0') != std::string::npos)
        throw std::invalid_argument(std::string("subject index: ") + what + " holds a NUL byte");
}

std::string Record(const std::string& title, const SubjectHeading& heading, std::uint32_t number)
{
    CheckText(title, "title");
    CheckText(heading.display, "display text");
    const std::size_t count = std::min(heading.entries.size(), kMaxSubjectEntries);
    std::string body;
    body += static_cast<char>(heading.flags);
    body += static_cast<char>(count);
    PutU32(body, number);
    body += title + '\0' + heading.display + '\0';
    for (std::size_t i = 0; i < count; ++i) {
        const SubjectSubEntry& e = heading.entries[i];
        CheckText(e.text, "sub-entry text");
        PutU32(body, e.target);
        PutU32(body, e.position);
        body += '\0';
        body += static_cast<char>(e.label);
        body += e.text + '\0';
    }
    std::string record;
    const std::size_t length = body.size() + 4;
    if (length + std::strlen(kSubjectMarker) + 2 > kSubjectBlock)
        throw std::invalid_argument("subject index: the heading \"" + heading.display + "\" does not fit a block");
    PutU16(record, static_cast<unsigned>(length));
    PutU16(record, 0);
    return record + body;
}

void SetLength(std::string& file, std::size_t at, std::size_t length)
{
    file[at] = static_cast<char>(length & 0xFF);
    file[at + 1] = static_cast<char>((length >> 8) & 0xFF);
}

}  // namespace

std::vector<SubjectHeading> SubjectHeadingsFrom(const std::vector<ArticleRecordSource>& articles)
{
    std::vector<SubjectHeading> headings;
    for (const ArticleRecordSource& article : articles) {
        SubjectHeading heading;
        heading.display = article.title.substr(0, 255);
        const auto rin = static_cast<std::uint32_t>(article.rin) & 0xFFFFFF;
        heading.entries.push_back({rin, PackTextPosition(0, 0, 0), 0, heading.display});
        for (std::size_t s = 0; s < article.sections.size() && s < 200; ++s) {
            const std::string& title = article.sections[s].title;
            if (title.empty() || title == article.title)
                continue;
            heading.entries.push_back({rin, PackTextPosition(static_cast<unsigned>(s), 0, 0), 0, title.substr(0, 255)});
        }
        for (const RecordRelated& related : article.related)
            if (!related.link.empty() && !related.title.empty())
                heading.entries.push_back({kSubjectSeeAlso, 0, 0, related.title.substr(0, 255)});
        headings.push_back(std::move(heading));
    }
    return headings;
}

SubjectIndexFiles BuildSubjectIndex(const std::vector<SubjectHeading>& headings)
{
    struct Sorted {
        std::string title;
        const SubjectHeading* heading;
    };
    std::vector<Sorted> sorted;
    for (const SubjectHeading& heading : headings) {
        std::string title = subject_text::Normalize(heading.display).text;
        if (!title.empty())
            sorted.push_back({std::move(title), &heading});
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](const Sorted& a, const Sorted& b) { return a.title < b.title; });

    SubjectIndexFiles files;
    std::vector<std::string> blockKeys;
    const std::size_t marker = std::strlen(kSubjectMarker);
    std::size_t lastRecord = std::string::npos;  // offset of the last record written
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const std::string record = Record(sorted[i].title, *sorted[i].heading, static_cast<std::uint32_t>(i + 1));
        const bool last = i + 1 == sorted.size();
        const std::size_t inBlock = files.subject.size() % kSubjectBlock;
        const bool fits = !files.subject.empty() && inBlock + record.size() + (last ? 2 : 0) <= kSubjectBlock &&
                          inBlock != 0;
        if (!fits) {
            if (!files.subject.empty()) {
                // The block's last record reaches over the padding and the next block's marker.
                const std::size_t next = (files.subject.size() + kSubjectBlock - 1) / kSubjectBlock * kSubjectBlock;
                SetLength(files.subject, lastRecord, next + marker - lastRecord);
                files.subject.resize(next, '\0');
            }
            files.subject += kSubjectMarker;
            blockKeys.push_back(sorted[i].title);
        }
        lastRecord = files.subject.size();
        files.subject += record;
        files.titles.push_back(sorted[i].title);
    }
    if (files.subject.empty()) {
        files.subject += kSubjectMarker;
        blockKeys.push_back(std::string());
    }
    PutU16(files.subject, 0);
    files.subject.resize((files.subject.size() + kSubjectBlock - 1) / kSubjectBlock * kSubjectBlock, '\0');

    std::string previous;
    for (const std::string& key : blockKeys) {
        std::size_t shared = 0;
        while (shared < previous.size() && shared < key.size() && shared < 255 && previous[shared] == key[shared])
            ++shared;
        if (files.master.empty())
            shared = 0;
        std::string entry(6, '\0');
        entry[0] = static_cast<char>(shared);
        const std::string next = key.substr(shared, 5);
        std::copy(next.begin(), next.end(), entry.begin() + 1);
        files.master += entry;
        previous = key.substr(0, shared) + next;
    }
    return files;
}

void WriteSubjectIndex(const SubjectIndexFiles& files, const std::filesystem::path& dataFolder)
{
    std::filesystem::create_directories(dataFolder);
    for (const auto& [name, bytes] : {std::pair<const char*, const std::string*>{SubjectIndexFiles::kMasterIndex, &files.master},
                                      {SubjectIndexFiles::kSubjectIndex, &files.subject}}) {
        const std::filesystem::path path = dataFolder / name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
        if (!out)
            throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace discbuilder

// The rich-text reader: one pass over the bytes with an explicit, bounded stack of groups; no
// recursion, no look-ahead past the end of the data.
#include <host/RtfReader.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>

namespace host {
namespace {

// Where the text of a group goes.
enum class Dest {
    Text,        // the document
    FontTable,   // font names and their properties
    ColorTable,  // colour entries
    Skip,        // a destination that is not read: nothing in it has any effect
};

struct GroupState {
    Dest dest = Dest::Text;
    int font = -1;  // font number; -1: the default font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int color = -1;  // colour table index; -1 (no \cf) is the automatic colour
};

struct Font {
    std::string name;
    int family = 0;
    int charset = 0;
};

struct Color {
    bool automatic = true;
    std::uint32_t rgb = 0;
};

// Destinations whose groups are skipped whole even without \*.
bool IsSkippedDestination(const std::string& word)
{
    static const char* const kSkipped[] = {
        "object",     "objdata",    "objclass",  "objname",   "objalias",  "objsect",   "objtime",
        "result",     "field",      "fldinst",   "fldrslt",   "pict",      "shppict",   "nonshppict",
        "shp",        "shpinst",    "info",      "title",     "subject",   "author",    "operator",
        "keywords",   "comment",    "doccomm",   "creatim",   "revtim",    "printim",   "buptim",
        "stylesheet", "header",     "headerl",   "headerr",   "headerf",   "footer",    "footerl",
        "footerr",    "footerf",    "footnote",  "annotation", "atnid",    "atnauthor", "xe",
        "tc",         "txe",        "rxe",       "bkmkstart", "bkmkend",   "listtable", "listoverridetable",
        "revtbl",     "rsidtbl",    "generator", "themedata", "colorschememapping", "latentstyles",
        "datastore",  "filetbl",    "pntext",    "pntxta",    "pntxtb",    "pn",        "template",
        "userprops",  "private",    "xmlnstbl",  "mmathPr",   "fchars",    "lchars",    "falt",
        "panose",     "fname",      "ftnsep",    "ftnsepc",   "ftncn",     "aftnsep",   "aftnsepc",
        "aftncn",     "docvar",     "bkmkcolf",  "bkmkcoll",  "do",        "buptim",    "macpict",
        "wmetafile",  "dibitmap",   "wbitmap",   "emfblip",   "pngblip",   "jpegblip",  "blipuid",
    };
    for (const char* s : kSkipped)
        if (word == s)
            return true;
    return false;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

class Reader {
public:
    Reader(std::string_view data, std::size_t maxText) : data_(data), maxText_(maxText) {}

    RtfDocument Read()
    {
        std::size_t i = 0;
        while (i < data_.size() && (data_[i] == ' ' || data_[i] == '\r' || data_[i] == '\n' || data_[i] == '\t'))
            ++i;
        if (data_.substr(i, 5) != "{\\rtf") {
            doc_.status = RtfStatus::NotRtf;
            return std::move(doc_);
        }
        pos_ = i;
        bool ended = false;
        while (!stopped_ && pos_ < data_.size()) {
            char c = data_[pos_++];
            if (c == '{') {
                if (stack_.size() >= static_cast<std::size_t>(kRtfMaxDepth)) {
                    Stop(RtfStatus::TooDeep);
                    break;
                }
                stack_.push_back(stack_.empty() ? GroupState{} : stack_.back());
            } else if (c == '}') {
                CloseGroup();
                if (stack_.empty()) {
                    ended = true;
                    break;
                }
            } else if (c == '\\') {
                Control();
            } else if (c == '\r' || c == '\n') {
                // Line breaks in the data mean nothing.
            } else if (c != '\0') {
                Character(c);
            }
        }
        if (!stopped_ && !ended)
            doc_.status = RtfStatus::Unbalanced;
        return std::move(doc_);
    }

private:
    GroupState& Top() { return stack_.back(); }

    void Stop(RtfStatus status)
    {
        if (!stopped_)
            doc_.status = status;
        stopped_ = true;
    }

    void CloseGroup()
    {
        if (Top().dest == Dest::FontTable && haveFontEntry_) {
            // An entry whose ';' is missing ends with its group.
            CommitFont();
        }
        stack_.pop_back();
    }

    // A control word or symbol after its backslash.
    void Control()
    {
        if (pos_ >= data_.size())
            return;
        char c = data_[pos_];
        if (!IsLetter(c)) {
            ++pos_;
            Symbol(c);
            return;
        }
        std::string word;
        while (pos_ < data_.size() && IsLetter(data_[pos_])) {
            if (word.size() < 32)
                word += data_[pos_];
            ++pos_;
        }
        bool hasParam = false;
        bool negative = false;
        long long value = 0;
        if (pos_ < data_.size() && data_[pos_] == '-' && pos_ + 1 < data_.size() && IsDigit(data_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        while (pos_ < data_.size() && IsDigit(data_[pos_])) {
            hasParam = true;
            // Saturates: an overlong number reads as the largest one.
            value = std::min<long long>(value * 10 + (data_[pos_] - '0'), static_cast<long long>(INT_MAX) + 1);
            ++pos_;
        }
        if (pos_ < data_.size() && data_[pos_] == ' ')
            ++pos_;
        long long signedValue = negative ? -value : value;
        int param = static_cast<int>(std::clamp<long long>(signedValue, INT_MIN, INT_MAX));
        Word(word, hasParam, param);
    }

    void Symbol(char c)
    {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            Character(c);
            break;
        case '\'': {
            int hi = pos_ < data_.size() ? HexValue(data_[pos_]) : -1;
            if (hi < 0)
                break;
            ++pos_;
            int lo = pos_ < data_.size() ? HexValue(data_[pos_]) : -1;
            if (lo < 0)
                break;
            ++pos_;
            Character(static_cast<char>(hi * 16 + lo));
            break;
        }
        case '*':
            Top().dest = Dest::Skip;
            break;
        case '~':
            Character('\xA0');
            break;
        case '_':
            Character('-');
            break;
        case '\r':
        case '\n':
            if (Top().dest == Dest::Text)
                Emit("\r\n");
            break;
        default:
            // \- (optional hyphen), \| and \: (formulas and index entries) show nothing.
            break;
        }
    }

    void Word(const std::string& w, bool hasParam, int param)
    {
        GroupState& g = Top();
        if (w == "bin") {
            // Binary data: its bytes are never read as RTF.
            std::size_t n = hasParam && param > 0 ? static_cast<std::size_t>(param) : 0;
            pos_ += std::min(n, data_.size() - pos_);
            return;
        }
        if (g.dest == Dest::Skip)
            return;
        if (IsSkippedDestination(w)) {
            g.dest = Dest::Skip;
            return;
        }
        if (g.dest == Dest::FontTable) {
            FontTableWord(w, hasParam, param);
            return;
        }
        if (g.dest == Dest::ColorTable) {
            if (w == "red" || w == "green" || w == "blue") {
                int v = std::clamp(param, 0, 255);
                int shift = w == "red" ? 0 : (w == "green" ? 8 : 16);
                pendingColor_.rgb = (pendingColor_.rgb & ~(0xFFu << shift)) | (static_cast<std::uint32_t>(v) << shift);
                pendingColor_.automatic = false;
            }
            return;
        }
        if (w == "fonttbl") {
            g.dest = Dest::FontTable;
        } else if (w == "colortbl") {
            g.dest = Dest::ColorTable;
            colors_.clear();
            pendingColor_ = Color{};
        } else if (w == "deff") {
            if (hasParam)
                defaultFont_ = param;
        } else if (w == "deftab") {
            if (hasParam && param > 0)
                doc_.defaultTab = param;
        } else if (w == "deflang") {
            if (hasParam)
                doc_.language = param;
        } else if (w == "par" || w == "line") {
            Emit("\r\n");
        } else if (w == "tab") {
            Emit("\t");
        } else if (w == "plain") {
            GroupState fresh;
            fresh.dest = g.dest;
            g = fresh;
        } else if (w == "b") {
            g.bold = !hasParam || param != 0;
        } else if (w == "i") {
            g.italic = !hasParam || param != 0;
        } else if (w == "ul") {
            g.underline = !hasParam || param != 0;
        } else if (w == "ulnone") {
            g.underline = false;
        } else if (w == "f") {
            if (hasParam)
                g.font = param;
        } else if (w == "fs") {
            // \fs without a size or with none left is ignored; a huge one is the largest size.
            if (hasParam && param > 0)
                g.halfPoints = std::min(param, kRtfMaxHalfPoints);
        } else if (w == "cf") {
            if (hasParam)
                g.color = param;
        } else if (w == "emdash") {
            Emit("\x97");
        } else if (w == "endash") {
            Emit("\x96");
        } else if (w == "bullet") {
            Emit("\x95");
        } else if (w == "lquote") {
            Emit("\x91");
        } else if (w == "rquote") {
            Emit("\x92");
        } else if (w == "ldblquote") {
            Emit("\x93");
        } else if (w == "rdblquote") {
            Emit("\x94");
        }
        // Any other word (\pard, \rtf, \ansi, paragraph and document formatting, \u with its
        // fallback text that follows, ...) changes nothing that this reader keeps.
    }

    void FontTableWord(const std::string& w, bool hasParam, int param)
    {
        if (w == "f" && hasParam) {
            if (haveFontEntry_)
                CommitFont();
            pendingFontNumber_ = param;
            pendingFont_ = Font{};
            haveFontEntry_ = true;
            return;
        }
        if (!haveFontEntry_)
            return;
        static const char* const kFamilies[] = {"fnil", "froman", "fswiss", "fmodern", "fscript", "fdecor"};
        for (int k = 0; k < 6; ++k)
            if (w == kFamilies[k])
                pendingFont_.family = k;
        if (w == "fcharset" && hasParam)
            pendingFont_.charset = std::clamp(param, 0, 255);
    }

    void CommitFont()
    {
        haveFontEntry_ = false;
        std::string& name = pendingFont_.name;
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
        std::size_t lead = name.find_first_not_of(' ');
        name.erase(0, lead == std::string::npos ? name.size() : lead);
        if (fonts_.size() < static_cast<std::size_t>(kRtfMaxTableEntries) || fonts_.count(pendingFontNumber_))
            fonts_[pendingFontNumber_] = pendingFont_;
    }

    void Character(char c)
    {
        GroupState& g = Top();
        switch (g.dest) {
        case Dest::Text:
            Emit(std::string_view(&c, 1));
            break;
        case Dest::FontTable:
            if (!haveFontEntry_)
                break;
            if (c == ';')
                CommitFont();
            else if (pendingFont_.name.size() < kRtfMaxFontName)
                pendingFont_.name += c;
            break;
        case Dest::ColorTable:
            if (c == ';') {
                if (colors_.size() < static_cast<std::size_t>(kRtfMaxTableEntries))
                    colors_.push_back(pendingColor_);
                pendingColor_ = Color{};
            }
            break;
        case Dest::Skip:
            break;
        }
    }

    RtfCharFormat FormatOf(const GroupState& g) const
    {
        RtfCharFormat f;
        auto font = fonts_.find(g.font >= 0 ? g.font : defaultFont_);
        if (font == fonts_.end())
            font = fonts_.find(defaultFont_);
        if (font != fonts_.end()) {
            f.face = font->second.name;
            f.family = font->second.family;
            f.charset = font->second.charset;
        }
        f.halfPoints = g.halfPoints;
        f.bold = g.bold;
        f.italic = g.italic;
        f.underline = g.underline;
        if (g.color >= 0 && static_cast<std::size_t>(g.color) < colors_.size() && !colors_[static_cast<std::size_t>(g.color)].automatic) {
            f.autoColor = false;
            f.color = colors_[static_cast<std::size_t>(g.color)].rgb;
        }
        return f;
    }

    void Emit(std::string_view s)
    {
        if (Top().dest != Dest::Text || stopped_)
            return;
        if (doc_.text.size() + s.size() > maxText_) {
            Stop(RtfStatus::TooLong);
            return;
        }
        RtfCharFormat f = FormatOf(Top());
        if (doc_.runs.empty() || !(doc_.runs.back().format == f))
            doc_.runs.push_back(RtfRun{doc_.text.size(), 0, std::move(f)});
        doc_.runs.back().length += s.size();
        doc_.text.append(s);
    }

    std::string_view data_;
    std::size_t maxText_;
    std::size_t pos_ = 0;
    bool stopped_ = false;
    std::vector<GroupState> stack_;
    RtfDocument doc_;
    std::map<int, Font> fonts_;
    int defaultFont_ = 0;
    bool haveFontEntry_ = false;
    int pendingFontNumber_ = 0;
    Font pendingFont_;
    std::vector<Color> colors_;
    Color pendingColor_;
};

}  // namespace

RtfDocument ReadRtf(std::string_view data, std::size_t maxText)
{
    return Reader(data, maxText).Read();
}

}  // namespace host

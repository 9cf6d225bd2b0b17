#include "search/SubjectIndex.h"

#include "search/SearchEngine.h"
#include "search/SubjectNormalizer.h"

#include "base/DataFolders.h"
#include "base/HitList.h"
#include "base/ReferenceList.h"
#include "base/RomFile.h"
#include "base/RomLinkTable.h"
#include "base/ShowMessage.h"
#include "base/TPReference.h"

#include <afxwin.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {

// One record as it lies in a buffer, checked: every text ends inside the record.
struct SubjectRecord {
    const BYTE* p = NULL;
    int nLength = 0;
    BYTE bFlags = 0;
    int nEntries = 0;
    const char* pszTitle = NULL;
    const char* pszDisplay = NULL;
    int nDisplayOffset = 0;
    int nEntriesOffset = 0;  // of the first sub-entry
};

// Finds the end of a NUL-terminated text at offset within the record; -1 when it runs past.
int TextEnd(const BYTE* p, int nLength, int nOffset)
{
    for (int i = nOffset; i < nLength; ++i)
        if (p[i] == 0)
            return i;
    return -1;
}

BOOL ParseRecord(const BYTE* p, int nLength, SubjectRecord& rec)
{
    if (nLength < SUBJECT_MIN_RECORD)
        return FALSE;
    rec.p = p;
    rec.nLength = nLength;
    rec.bFlags = p[4];
    rec.nEntries = p[5];
    const int nTitleEnd = TextEnd(p, nLength, 10);
    if (nTitleEnd < 0)
        return FALSE;
    const int nDisplayEnd = TextEnd(p, nLength, nTitleEnd + 1);
    if (nDisplayEnd < 0)
        return FALSE;
    rec.pszTitle = reinterpret_cast<const char*>(p + 10);
    rec.pszDisplay = reinterpret_cast<const char*>(p + nTitleEnd + 1);
    rec.nDisplayOffset = nTitleEnd + 1;
    rec.nEntriesOffset = nDisplayEnd + 1;
    return TRUE;
}

int RecordLength(const BYTE* p)
{
    return static_cast<short>(p[0] | p[1] << 8);
}

DWORD ReadU32(const BYTE* p)
{
    return static_cast<DWORD>(p[0]) | static_cast<DWORD>(p[1]) << 8 | static_cast<DWORD>(p[2]) << 16 |
           static_cast<DWORD>(p[3]) << 24;
}

struct ResultSlot {
    std::vector<BYTE> copy;
    int nClass = 0;
    int nPlural = 0;
    int nScore = 0;  // wide: a heading with hundreds of sub-entries keeps its rank
};

// Match of the current record.
struct MatchState {
    int nClass = 1;
    int nPlural = 0;
    bool bPlural = false;
    bool bHyphen = false;
    bool bLoose = false;
};

struct SubjectState {
    BOOL bOpen = FALSE;
    std::vector<std::string> masterKeys;  // rebuilt keys, one per block
    std::vector<int> masterLimits;        // compared length of each key (byte 0 + 5)
    CRomFile* pSubject = NULL;
    std::vector<BYTE> buffer;

    std::string query;
    std::string inverted;
    std::string qualifier;
    int nSuffix = subject_text::kSuffixNone;
    bool bComma = false;
    bool bNoTrueExact = true;
    bool bFirstInsertion = true;
    bool bDamageReported = false;

    std::vector<std::unique_ptr<ResultSlot>> results;
    std::vector<std::unique_ptr<ResultSlot>> previous;  // copies that earlier references may still use
};

SubjectState s_state;

CString FolderOf(int nType)
{
    CString strFolder;
    if (!GetDataDir(strFolder, nType, 1, TRUE))
        AfxThrowUserException();
    if (strFolder.IsEmpty() || strFolder[strFolder.GetLength() - 1] != '\\')
        strFolder += '\\';
    return strFolder;
}

// Rebuilds every key; FALSE when an entry shares more characters than its predecessor holds.
BOOL RebuildMasterKeys(const std::vector<BYTE>& data)
{
    const size_t nEntries = data.size() / 6;
    s_state.masterKeys.assign(nEntries, std::string());
    s_state.masterLimits.assign(nEntries, 0);
    std::string previous;
    for (size_t i = 0; i < nEntries; ++i) {
        const BYTE* e = &data[i * 6];
        const size_t nShared = e[0];
        if (nShared > previous.size() || (i == 0 && nShared != 0))
            return FALSE;
        std::string key = previous.substr(0, nShared);
        for (int k = 1; k <= 5 && e[k] != 0; ++k)
            key += static_cast<char>(e[k]);
        s_state.masterKeys[i] = key;
        s_state.masterLimits[i] = static_cast<int>(nShared) + 5;
        previous = key;
    }
    return TRUE;
}

int CompareMasterKey(const std::string& key, int i)
{
    const std::string& entry = s_state.masterKeys[static_cast<size_t>(i)];
    const int nLimit = s_state.masterLimits[static_cast<size_t>(i)];
    for (int j = 0; j < nLimit; ++j) {
        const unsigned char k = j < static_cast<int>(key.size()) ? static_cast<unsigned char>(key[static_cast<size_t>(j)]) : 0;
        const unsigned char e = j < static_cast<int>(entry.size()) ? static_cast<unsigned char>(entry[static_cast<size_t>(j)]) : 0;
        if (k == 0 && (e == ' ' || e == 0 || e == '-' || e == ','))
            return 0;
        if (k != e)
            return k <= e ? -1 : 1;
    }
    return 0;
}

void LocateWithKey(const std::string& key, int& nFirst, int& nLast)
{
    const int nLastEntry = static_cast<int>(s_state.masterKeys.size()) - 1;
    int lo = 0, hi = nLastEntry, nStop = 0;
    while (lo <= hi) {
        nStop = (lo + hi) / 2;
        const int c = CompareMasterKey(key, nStop);
        if (c == 0)
            break;
        if (c > 0)
            lo = nStop + 1;
        else
            hi = nStop - 1;
    }
    nLast = nStop;
    while (nLast < nLastEntry && CompareMasterKey(key, nLast + 1) >= 0)
        ++nLast;
    nFirst = nStop;
    while (nFirst > 0 && CompareMasterKey(key, nFirst - 1) <= 0)
        --nFirst;
    nFirst = std::max(0, nFirst - 1);
    nLast = std::min(nLastEntry, nLast + 1);
}

void LocateSubjectBlocks(const std::string& query, int& nFirst, int& nLast)
{
    const size_t nWordEnd = query.find_first_of(" -");
    LocateWithKey(query.substr(0, nWordEnd), nFirst, nLast);
    if (static_cast<long>(nLast - nFirst + 1) * SUBJECT_BLOCK_SIZE > SUBJECT_MAX_READ && nWordEnd != std::string::npos)
        LocateWithKey(query, nFirst, nLast);
}

void ReportDamage()
{
    if (!s_state.bDamageReported)
        ShowMessage(SUBJECT_MSG_DAMAGED_RECORD);
    s_state.bDamageReported = true;
}

// Reads the blocks; the offset of the first record, or -1 (after a message) when there is none.
int ReadSubjectBlocks(int nFirst, int nLast)
{
    const long nSize = std::min<long>(static_cast<long>(nLast - nFirst + 1) * SUBJECT_BLOCK_SIZE, SUBJECT_MAX_READ);
    s_state.buffer.clear();
    try {
        s_state.buffer.assign(static_cast<size_t>(nSize), 0);
    } catch (const std::bad_alloc&) {
        ShowMessage(">>> Insufficient memory for subject index buffer");
        return -1;
    }
    UINT nRead = 0;
    try {
        // A master index longer than the subject index (it may hold up to 16 MB of keys) names
        // blocks past the file's end: damage, never a wrapped position.
        const LONGLONG llStart = static_cast<LONGLONG>(nFirst) * SUBJECT_BLOCK_SIZE;
        if (nFirst < 0 || llStart >= static_cast<LONGLONG>(s_state.pSubject->GetLength()) || llStart > 0x7FFFFFFFLL) {
            s_state.buffer.clear();
            ReportDamage();
            return -1;
        }
        s_state.pSubject->Seek(static_cast<LONG>(llStart), CFile::begin);
        nRead = s_state.pSubject->Read(s_state.buffer.data(), static_cast<UINT>(nSize));
    } catch (CException* e) {
        e->Delete();
        ShowMessage(">>> Error reading subject index file");
    }
    s_state.buffer.resize(nRead);
    const size_t nMarker = std::strlen(SUBJECT_MARKER);
    const auto it = std::search(s_state.buffer.begin(), s_state.buffer.end(), SUBJECT_MARKER, SUBJECT_MARKER + nMarker);
    if (it == s_state.buffer.end()) {
        ShowMessage(">>> First record indicator not found in subject index");
        return -1;
    }
    return static_cast<int>(it - s_state.buffer.begin() + static_cast<long>(nMarker));
}

// Calls fn with every record of the buffer from the offset. A record shorter than the smallest
// record, or one whose texts do not end inside it, ends the walk: it can only be damage.
template <class Fn>
void ForEachRecord(int nOffset, Fn fn)
{
    const int nSize = static_cast<int>(s_state.buffer.size());
    int pos = nOffset;
    while (pos >= 0 && pos + 2 <= nSize) {
        const int nLength = RecordLength(&s_state.buffer[static_cast<size_t>(pos)]);
        if (nLength == 0)
            return;
        if (nLength < SUBJECT_MIN_RECORD) {
            ReportDamage();
            return;
        }
        if (pos + nLength > nSize)
            return;  // the rest lies beyond what was read
        SubjectRecord rec;
        if (!ParseRecord(&s_state.buffer[static_cast<size_t>(pos)], nLength, rec)) {
            ReportDamage();
            return;
        }
        fn(rec);
        const int next = pos + nLength;
        if (next > nSize - 10)
            return;
        pos = next;
    }
}

bool EndsWord(const char* s, int k)
{
    return s[k] == 0 || s[k] == ' ' || s[k] == ',';
}

bool SkipPluralEnding(const char* s, int& pos, MatchState& m)
{
    if (s[pos] == 0)
        return false;
    if (s[pos] == '-') {
        ++pos;
        m.bHyphen = true;
        return true;
    }
    if (pos == 0 || s[pos - 1] == ' ')
        return false;
    int nStep = 0;
    if (s[pos] == 'S' && EndsWord(s, pos + 1))
        nStep = 1;
    else if (s[pos] == 'E' && s[pos + 1] == 'S' && EndsWord(s, pos + 2))
        nStep = 2;
    else if (s[pos] == 'S' && s[pos + 1] == 'E' && s[pos + 2] == 'S' && EndsWord(s, pos + 3))
        nStep = 3;
    if (nStep == 0)
        return false;
    pos += nStep;
    m.nPlural = nStep;
    m.bPlural = true;
    return true;
}

bool MatchSubjectTitle(const char* q, const SubjectRecord& rec, MatchState& m)
{
    const char* t = rec.pszTitle;
    int i = 0, j = 0;
    for (;;) {
        while (q[i] != 0 && q[i] == t[j]) {
            ++i;
            ++j;
        }
        if (q[i] == 0) {
            if (t[j] == 0 || t[j] == ',')
                return !(m.bPlural && (rec.bFlags & SUBJECT_FLAG_NO_PLURAL));
            if (t[j] == ' ') {
                m.nClass = std::max(m.nClass, 2);
                return true;
            }
            if (t[j] == '-') {
                m.nClass = std::max(m.nClass, 2);
                m.bHyphen = true;
                return true;
            }
        }
        if (SkipPluralEnding(q, i, m) || SkipPluralEnding(t, j, m))
            continue;
        if (q[i] == ' ') {
            ++i;
            continue;
        }
        if (t[j] == ' ') {
            ++j;
            continue;
        }
        if (i > 0 && q[i - 1] == ' ' && j > 0 && t[j - 1] == ' ' && t[j] != 0) {
            m.nClass = std::max(m.nClass, 2);
            while (t[j] != 0 && t[j] != ' ')
                ++j;
            while (t[j] == ' ')
                ++j;
            continue;
        }
        return false;
    }
}

// 1 whole word (plural endings allowed), 2 one letter equal to the initial, 3 a leading part of
// two letters or more, 0 none.
int MatchInvertedWord(const std::string& qw, const std::string& tw, MatchState& m)
{
    if (qw == tw)
        return 1;
    auto pluralOf = [](const std::string& longer, const std::string& shorter) {
        if (longer.compare(0, shorter.size(), shorter) != 0)
            return 0;
        const std::string rest = longer.substr(shorter.size());
        return rest == "S" ? 1 : rest == "ES" ? 2 : rest == "SES" ? 3 : 0;
    };
    const int nPlural = std::max(pluralOf(qw, tw), pluralOf(tw, qw));
    if (nPlural != 0 && !qw.empty() && !tw.empty()) {
        m.nPlural = nPlural;
        m.bPlural = true;
        return 1;
    }
    if (qw.size() == 1 && !tw.empty() && tw[0] == qw[0])
        return 2;
    if (qw.size() >= 2 && tw.size() > qw.size() && tw.compare(0, qw.size(), qw) == 0)
        return 3;
    return 0;
}

bool AllDigits(const std::string& w)
{
    return !w.empty() && std::all_of(w.begin(), w.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Splits at spaces; the index of the word that bears the first comma (the comma dropped), or -1.
std::vector<std::string> CommaWords(const std::string& s, int& nComma)
{
    std::vector<std::string> words = subject_text::SplitWords(s);
    nComma = -1;
    for (size_t k = 0; k < words.size(); ++k) {
        const size_t c = words[k].find(',');
        if (c != std::string::npos) {
            if (nComma < 0)
                nComma = static_cast<int>(k);
            words[k].erase(c, 1);
        }
    }
    return words;
}

bool MatchInvertedTitle(const std::string& inverted, const SubjectRecord& rec, MatchState& m)
{
    int nQueryComma = 0, nTitleComma = 0;
    const std::vector<std::string> q = CommaWords(inverted, nQueryComma);
    const std::vector<std::string> t = CommaWords(rec.pszTitle, nTitleComma);
    if (nQueryComma < 0)
        return false;
    for (int k = 0; k <= nQueryComma; ++k) {
        if (k >= static_cast<int>(t.size()) || (nTitleComma >= 0 && nTitleComma < k))
            return false;
        if (MatchInvertedWord(q[static_cast<size_t>(k)], t[static_cast<size_t>(k)], m) != 1)
            return false;
        if (m.bPlural && (rec.bFlags & SUBJECT_FLAG_NO_PLURAL))
            return false;
    }
    // Words between the surname and the title's comma: only numerals ("II", "1984").
    const int nBetweenEnd = nTitleComma >= 0 ? nTitleComma : static_cast<int>(t.size()) - 1;
    if (nBetweenEnd > nQueryComma) {
        bool bRoman = true, bDigits = true;
        for (int k = nQueryComma + 1; k <= nBetweenEnd; ++k) {
            bRoman = bRoman && subject_text::IsRomanNumeral(t[static_cast<size_t>(k)]);
            bDigits = bDigits && AllDigits(t[static_cast<size_t>(k)]);
        }
        if (!bRoman && !bDigits)
            return false;
        m.nClass = std::max(m.nClass, 2);
    }
    size_t ti = static_cast<size_t>(nBetweenEnd + 1);
    bool bFirst = true, bFirstMatched = false, bSkipped = false;
    for (size_t gi = static_cast<size_t>(nQueryComma + 1); gi < q.size();) {
        if (ti >= t.size()) {
            m.nClass = std::max(m.nClass, 3);
            return true;
        }
        const int r = MatchInvertedWord(q[gi], t[ti], m);
        if (bFirst)
            bFirstMatched = r != 0;
        bFirst = false;
        if (r != 0) {
            if (r == 3)
                m.bLoose = true;
            ++gi;
        } else {
            bSkipped = true;
        }
        ++ti;
    }
    if ((bSkipped || ti < t.size()) && !bFirstMatched)
        m.bLoose = true;
    return true;
}

void ApplySuffixRule(const SubjectRecord& rec, MatchState& m)
{
    if ((s_state.nSuffix == subject_text::kSuffixJr && (rec.bFlags & SUBJECT_FLAG_NOT_JR)) ||
        (s_state.nSuffix == subject_text::kSuffixSr && (rec.bFlags & SUBJECT_FLAG_NOT_SR)))
        m.nClass = std::max(m.nClass, 3);
}

SubjectRecord RecordOf(const ResultSlot& slot)
{
    SubjectRecord rec;
    ParseRecord(slot.copy.data(), static_cast<int>(slot.copy.size()), rec);
    return rec;
}

// TRUE when the result ranks before the other: class, plural length, score, then title.
bool RanksBefore(const ResultSlot& a, const char* pszTitleA, const ResultSlot& b)
{
    if (a.nClass != b.nClass)
        return a.nClass < b.nClass;
    if (a.nPlural != b.nPlural)
        return a.nPlural < b.nPlural;
    if (a.nScore != b.nScore)
        return a.nScore > b.nScore;
    return std::strcmp(pszTitleA, RecordOf(b).pszTitle) <= 0;
}

void InsertSubjectResult(const SubjectRecord& rec, const MatchState& m)
{
    if (s_state.bFirstInsertion) {
        s_state.previous.clear();
        s_state.bFirstInsertion = false;
    }
    long nScore = static_cast<long>(rec.nEntries) * 10;
    if (rec.bFlags & SUBJECT_FLAG_BONUS)
        nScore = nScore * 110 / 100;
    if (!(rec.bFlags & SUBJECT_FLAG_NOT_TRUE))
        nScore = nScore * 120 / 100;
    if (m.bHyphen)
        nScore = nScore * 70 / 100;
    if (m.bLoose)
        nScore = nScore * 70 / 100;
    auto slot = std::make_unique<ResultSlot>();
    slot->nClass = m.nClass;
    slot->nPlural = m.nPlural;
    slot->nScore = static_cast<int>(std::max(0L, nScore));
    size_t nAt = 0;
    while (nAt < s_state.results.size() && !RanksBefore(*slot, rec.pszTitle, *s_state.results[nAt]))
        ++nAt;
    // The table is bounded: the best SUBJECT_RESULT_SLOTS stay.
    if (nAt >= SUBJECT_RESULT_SLOTS)
        return;
    try {
        slot->copy.assign(rec.p, rec.p + rec.nLength);
    } catch (const std::bad_alloc&) {
        ShowMessage("Out of Memory");
        return;
    }
    if (s_state.results.size() == SUBJECT_RESULT_SLOTS)
        s_state.results.pop_back();
    s_state.results.insert(s_state.results.begin() + static_cast<long>(nAt), std::move(slot));
    if (m.nClass == 1 && !(rec.bFlags & SUBJECT_FLAG_NOT_TRUE))
        s_state.bNoTrueExact = false;
}

bool SameSubEntries(const SubjectRecord& a, const SubjectRecord& b)
{
    if (a.nEntries != b.nEntries)
        return false;
    int pa = a.nEntriesOffset, pb = b.nEntriesOffset;
    for (int k = 0; k < a.nEntries; ++k) {
        if (pa + 10 > a.nLength || pb + 10 > b.nLength)
            return pa + 10 > a.nLength && pb + 10 > b.nLength;
        if (std::memcmp(a.p + pa, b.p + pb, 8) != 0)
            return false;
        const int ea = TextEnd(a.p, a.nLength, pa + 10), eb = TextEnd(b.p, b.nLength, pb + 10);
        if (ea < 0 || eb < 0)
            return ea < 0 && eb < 0;
        pa = ea + 1;
        pb = eb + 1;
    }
    return true;
}

bool IsDuplicateSubjectEntry(const SubjectRecord& rec)
{
    const size_t n = std::min<size_t>(5, s_state.results.size());
    for (size_t k = 0; k < n; ++k)
        if (SameSubEntries(RecordOf(*s_state.results[k]), rec))
            return true;
    return false;
}

void DemoteExactMatches()
{
    for (auto& slot : s_state.results)
        if (slot->nClass == 1)
            slot->nClass = 2;
    std::stable_sort(s_state.results.begin(), s_state.results.end(), [](const auto& a, const auto& b) {
        return a->nClass != b->nClass ? a->nClass < b->nClass : a->nScore > b->nScore;
    });
}

void MoveToFront(size_t k)
{
    if (k == 0 || k >= s_state.results.size())
        return;
    auto slot = std::move(s_state.results[k]);
    s_state.results.erase(s_state.results.begin() + static_cast<long>(k));
    s_state.results.insert(s_state.results.begin(), std::move(slot));
}

void PromoteTopEntry()
{
    for (size_t k = 0; k < s_state.results.size() && s_state.results[k]->nClass == 1; ++k) {
        const SubjectRecord rec = RecordOf(*s_state.results[k]);
        if (((rec.bFlags & SUBJECT_FLAG_TOP) && s_state.query == rec.pszTitle) || (rec.bFlags & SUBJECT_FLAG_NO_PLURAL)) {
            MoveToFront(k);
            return;
        }
    }
}

void PromoteQualifiedEntry()
{
    size_t nBest = 0;
    size_t nBestAgreement = 0;
    for (size_t k = 0; k < s_state.results.size() && s_state.results[k]->nClass == 1; ++k) {
        const std::string display = RecordOf(*s_state.results[k]).pszDisplay;
        const size_t nOpen = display.find('[');
        if (nOpen == std::string::npos)
            continue;
        size_t n = 0;
        for (size_t c = nOpen + 1; c < display.size() && n < s_state.qualifier.size(); ++c, ++n)
            if (subject_text::Upper(display[c]) != s_state.qualifier[n])
                break;
        if (n > nBestAgreement) {
            nBestAgreement = n;
            nBest = k;
        }
    }
    MoveToFront(nBest);
}

void RunPass(const std::string& key, bool bInverted)
{
    int nFirst = 0, nLast = 0;
    LocateSubjectBlocks(key, nFirst, nLast);
    const int nOffset = ReadSubjectBlocks(nFirst, nLast);
    if (nOffset >= 0) {
        ForEachRecord(nOffset, [&](const SubjectRecord& rec) {
            MatchState m;
            if (bInverted) {
                if (IsDuplicateSubjectEntry(rec) || !MatchInvertedTitle(s_state.inverted, rec, m))
                    return;
            } else if (!MatchSubjectTitle(s_state.query.c_str(), rec, m)) {
                return;
            }
            ApplySuffixRule(rec, m);
            InsertSubjectResult(rec, m);
        });
    }
    s_state.buffer.clear();
    s_state.buffer.shrink_to_fit();
}

}  // namespace

BOOL OpenSubjectIndex()
{
    if (s_state.bOpen)
        CloseSubjectIndex();
    BOOL bOk = TRUE;
    const CString strMasterFolder = FolderOf(DDT_INFO_DAT11);
    CRomFile master;
    const BOOL bMaster = master.Open(strMasterFolder + "MASTER.NDX", CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
    if (!bMaster) {
        ShowMessage(">>> Error opening master index file");
        bOk = FALSE;
    }
    const CString strSubjectFolder = FolderOf(DDT_INFO_DAT2);
    s_state.pSubject = new CRomFile;
    if (!s_state.pSubject->Open(strSubjectFolder + "SSUBJECT.NDX", CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary)) {
        ShowMessage(">>> Error opening sorted subject index file");
        delete s_state.pSubject;
        s_state.pSubject = NULL;
        bOk = FALSE;
    }
    if (bMaster) {
        std::vector<BYTE> data;
        try {
            const ULONGLONG nLength = master.GetLength();
            if (nLength < 6 || nLength > 0x1000000) {
                ShowMessage(">>> Error reading master index file");
                bOk = FALSE;
            } else {
                data.assign(static_cast<size_t>(nLength), 0);
                if (master.Read(data.data(), static_cast<UINT>(nLength)) != nLength || !RebuildMasterKeys(data)) {
                    ShowMessage(">>> Error reading master index file");
                    bOk = FALSE;
                }
            }
        } catch (const std::bad_alloc&) {
            ShowMessage(">>> Insufficient memory for master index");
            bOk = FALSE;
        } catch (CException* e) {
            e->Delete();
            ShowMessage(">>> Error reading master index file");
            bOk = FALSE;
        }
        master.Close();
    }
    s_state.results.clear();
    s_state.previous.clear();
    s_state.bOpen = bOk;
    if (!bOk) {
        CloseSubjectIndex();
        return FALSE;
    }
    return TRUE;
}

void CloseSubjectIndex()
{
    if (s_state.pSubject != NULL) {
        try {
            s_state.pSubject->Close();
        } catch (CException* e) {
            e->Delete();
        }
        delete s_state.pSubject;
    }
    s_state = SubjectState();
}

BOOL IsSubjectIndexOpen()
{
    return s_state.bOpen;
}

void SearchSubjectIndex(LPCSTR pszQuery)
{
    std::string query = pszQuery != NULL ? pszQuery : "";
    if (query.size() >= SUBJECT_QUERY_SIZE) {
        ShowMessage(SUBJECT_MSG_QUERY_TOO_LONG);
        query.resize(SUBJECT_QUERY_SIZE - 1);
    }
    s_state.qualifier.clear();
    const size_t nBracket = query.find('[');
    if (nBracket != std::string::npos) {
        std::string qualifier = query.substr(nBracket + 1);
        if (!qualifier.empty() && qualifier.back() == ']')
            qualifier.pop_back();
        for (char& c : qualifier)
            c = subject_text::Upper(c);
        s_state.qualifier = qualifier;
        query.resize(nBracket);
    }
    s_state.bNoTrueExact = true;
    s_state.bDamageReported = false;
    const subject_text::NormalizedText normal = subject_text::Normalize(query);
    s_state.query = normal.text;
    s_state.nSuffix = normal.suffix;
    s_state.bComma = normal.comma;
    // The copies of the last search stay until this one inserts its first result: the topic
    // references made from them may still be shown.
    for (auto& slot : s_state.results)
        s_state.previous.push_back(std::move(slot));
    s_state.results.clear();
    s_state.bFirstInsertion = true;
    s_state.inverted = s_state.bComma ? s_state.query : subject_text::MakeInvertedQuery(s_state.query);
    if (!s_state.bOpen || s_state.query.empty() || s_state.masterKeys.empty())
        return;

    if (!s_state.bComma)
        RunPass(s_state.query, false);
    if (!s_state.inverted.empty())
        RunPass(s_state.inverted.substr(0, s_state.inverted.find(',') + 1), true);

    if (s_state.bNoTrueExact)
        DemoteExactMatches();
    PromoteTopEntry();
    PromoteQualifiedEntry();

    size_t nKeep = std::min<size_t>(SUBJECT_MAX_RESULTS, s_state.results.size());
    size_t nListed = 0;
    while (nListed < nKeep && s_state.results[nListed]->nClass <= 2)
        ++nListed;
    s_state.results.resize(nListed);
}

int GetSubjectResultCount()
{
    return static_cast<int>(s_state.results.size());
}

BOOL GetSubjectResultInfo(int i, SubjectResultInfo& info)
{
    if (i < 0 || i >= GetSubjectResultCount())
        return FALSE;
    const ResultSlot& slot = *s_state.results[static_cast<size_t>(i)];
    const SubjectRecord rec = RecordOf(slot);
    info.nClass = slot.nClass;
    info.nPluralLength = slot.nPlural;
    info.nScore = slot.nScore;
    info.bFlags = rec.bFlags;
    info.nEntries = rec.nEntries;
    info.strTitle = rec.pszTitle;
    info.strDisplay = rec.pszDisplay;
    return TRUE;
}

CString GetSubjectQuery()
{
    return s_state.query.c_str();
}

CString GetSubjectInvertedQuery()
{
    return s_state.inverted.c_str();
}

int GetSubjectQuerySuffix()
{
    return s_state.nSuffix;
}

void GetSubjectEntry(int i, CTPReference* pReference)
{
    if (pReference == NULL || i < 0 || i >= GetSubjectResultCount())
        return;
    const SubjectRecord rec = RecordOf(*s_state.results[static_cast<size_t>(i)]);
    pReference->SetEntryCount(std::min(rec.nEntries, static_cast<int>(CTPReference::maxEntryCount)));
    pReference->SetText(rec.pszDisplay);
    pReference->SetEntry(rec.p, rec.nDisplayOffset);
}

void BuildSubjectReferenceList(CTPReference* pReference, CReferenceList* pList)
{
    if (pReference == NULL || pList == NULL || pReference->GetEntry() == NULL)
        return;
    const BYTE* p = pReference->GetEntry();
    const int nLength = RecordLength(p);
    SubjectRecord rec;
    if (!ParseRecord(p, nLength, rec))
        return;
    CSearchEngine* pEngine = GetAppSearchEngine();
    HGLOBAL hTable = pEngine != NULL ? pEngine->GetRomLinkTable() : NULL;
    const RomLinkRecord* pTable = hTable != NULL ? static_cast<const RomLinkRecord*>(::GlobalLock(hTable)) : NULL;
    int pos = rec.nEntriesOffset;
    for (int k = 0; k < pReference->GetEntryCount(); ++k) {
        if (pos + 10 > nLength)
            break;
        const int nTextEnd = TextEnd(p, nLength, pos + 10);
        if (nTextEnd < 0)
            break;
        const DWORD dwTarget = ReadU32(p + pos);
        const DWORD dwPosition = ReadU32(p + pos + 4);
        const BYTE bLabel = p[pos + 9];
        const char* pszText = reinterpret_cast<const char*>(p + pos + 10);
        pos = nTextEnd + 1;

        CTPReference* pEntry = new CTPReference;
        pEntry->SetKind(REFKIND_ARTICLE);
        CString strTitle;
        if (dwTarget == SUBJECT_TARGET_NONE) {
            pEntry->SetEntryCode(REFENTRY_UNPLACED);
        } else if (dwTarget >= SUBJECT_TARGET_HEADING) {
            pEntry->SetEntryCode(REFENTRY_RESULT);
            if (dwTarget == SUBJECT_TARGET_SEE)
                strTitle = "See ";
            else if (dwTarget == SUBJECT_TARGET_SEE_ALSO)
                strTitle = "See also ";
        } else {
            pEntry->SetEntryCode(REFENTRY_RESULT);
            if (pTable != NULL) {
                RomLinkRecord record;
                pEngine->FindRomLink(pTable, static_cast<LONG>(dwTarget & 0xFFFFFF), record);
                pEntry->SetFromRomLink(record);
            }
        }
        CHitPosition hit;
        hit.SetValue(dwPosition);
        pEntry->AddHit(hit);
        pEntry->SetMediaNoteIndex(bLabel);
        strTitle += pszText;
        pEntry->SetTitle(strTitle.Left(255));
        pList->Append(pEntry);
    }
    if (pTable != NULL)
        ::GlobalUnlock(hTable);
}

// Feeds arbitrary bytes to the rich-text reader under AddressSanitizer and UBSan. The first byte
// chooses a bound on the text (small bounds reach the "too long" stop); the rest is the data.
// Besides crashes, leaks and hangs, the run stops on a broken promise of the reader:
// - the runs cover the text exactly, in order, and neighbours differ in format;
// - sizes stay within their bound, the text within its bound;
// - data that is not rich text gives no text, and only rich text that ends inside a group or
//   stops at a bound says so;
// - the same data gives the same document again.
#include <host/RtfReader.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void Fail(const char* what, const std::string& data)
{
    fprintf(stderr, "rtf reader fuzz: %s\ninput (%zu bytes)\n", what, data.size());
    abort();
}

bool Same(const host::RtfDocument& a, const host::RtfDocument& b)
{
    if (a.text != b.text || a.status != b.status || a.runs.size() != b.runs.size())
        return false;
    for (size_t i = 0; i < a.runs.size(); ++i)
        if (a.runs[i].start != b.runs[i].start || a.runs[i].length != b.runs[i].length || !(a.runs[i].format == b.runs[i].format))
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize == 0)
        return 0;
    size_t bound = pData[0] < 128 ? static_cast<size_t>(pData[0]) * 4 : host::kRtfMaxText;
    std::string data(reinterpret_cast<const char*>(pData + 1), nSize - 1);
    host::RtfDocument doc = host::ReadRtf(data, bound);

    if (doc.text.size() > bound)
        Fail("text over its bound", data);
    if (doc.status == host::RtfStatus::NotRtf && (!doc.text.empty() || !doc.runs.empty()))
        Fail("text from data that is not rich text", data);
    size_t at = 0;
    for (size_t i = 0; i < doc.runs.size(); ++i) {
        const host::RtfRun& r = doc.runs[i];
        if (r.start != at || r.length == 0)
            Fail("runs do not cover the text in order", data);
        if (i > 0 && doc.runs[i - 1].format == r.format)
            Fail("neighbouring runs of one format", data);
        if (r.format.halfPoints < 1 || r.format.halfPoints > host::kRtfMaxHalfPoints)
            Fail("size out of bounds", data);
        if (r.format.face.size() > host::kRtfMaxFontName || r.format.charset < 0 || r.format.charset > 255)
            Fail("font out of bounds", data);
        if (!r.format.autoColor && r.format.color > 0xFFFFFF)
            Fail("colour out of range", data);
        at += r.length;
    }
    if (at != doc.text.size())
        Fail("runs do not end with the text", data);
    if (doc.status == host::RtfStatus::TooLong && doc.text.size() + 2 < bound && bound > 2)
        // A stop at the bound leaves less than one emission of room (at most "\r\n").
        Fail("stopped as too long well below the bound", data);
    if (!Same(doc, host::ReadRtf(data, bound)))
        Fail("second read differs", data);
    return 0;
}

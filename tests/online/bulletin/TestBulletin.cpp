// A stand-in for the message-centre library "bulletin.dll": its three exports record how they
// were called in the environment variable BULLETIN_CALLS (one line per call: the export's name
// and its arguments, separated by "|"), and the parse export answers the number in
// BULLETIN_COUNT. Built without the parse export (BULLETIN_WITHOUT_PARSE) it stands for a library
// that lacks it.
#include <afx.h>

#include <cstdlib>
#include <string>

#define BULLETIN_API extern "C" __attribute__((visibility("default")))

namespace {

void Record(const std::string& line)
{
    char buffer[4096] = {};
    GetEnvironmentVariable("BULLETIN_CALLS", buffer, sizeof buffer);
    std::string calls = buffer;
    calls += line + "\n";
    SetEnvironmentVariable("BULLETIN_CALLS", calls.c_str());
}

}  // namespace

BULLETIN_API void vlMessageCenter(const CString& updates, const CString& objectUrl, const CString& downloadDir)
{
    Record(std::string("vlMessageCenter|") + static_cast<LPCSTR>(updates) + "|" + static_cast<LPCSTR>(objectUrl) +
           "|" + static_cast<LPCSTR>(downloadDir));
}

BULLETIN_API void vlMessageCenterShow(const CString& updates, const CString& objectUrl, const CString& downloadDir)
{
    Record(std::string("vlMessageCenterShow|") + static_cast<LPCSTR>(updates) + "|" +
           static_cast<LPCSTR>(objectUrl) + "|" + static_cast<LPCSTR>(downloadDir));
}

#ifndef BULLETIN_WITHOUT_PARSE
BULLETIN_API int vlMessageCenterParseUpdate(const CString& updates)
{
    Record(std::string("vlMessageCenterParseUpdate|") + static_cast<LPCSTR>(updates));
    char count[16] = {};
    GetEnvironmentVariable("BULLETIN_COUNT", count, sizeof count);
    return std::atoi(count);
}
#endif

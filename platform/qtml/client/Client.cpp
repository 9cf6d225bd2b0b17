// The client interface of the movie library: loads "QuickTime.qts" at InitializeQTML, binds its
// entry points by name and forwards every call. Without the library (or before it started)
// each call returns its "not started" result.
#include "Movies.h"

#include <qtml/CallLog.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct Entries {
#define QT_ENTRY(result, name, params, args, failed) result(*name) params = nullptr;
#define QT_VOID(name, params, args) void(*name) params = nullptr;
#include "QTMLEntries.h"
#undef QT_ENTRY
#undef QT_VOID
};

HMODULE g_library = NULL;
Entries g_entries;
bool g_started = false;

struct Log {
    std::mutex mutex;
    std::vector<std::string> calls;
    bool events = false;
};

Log& TheLog()
{
    static Log* log = new Log;
    return *log;
}

bool IsEventCall(const char* name)
{
    return std::strcmp(name, "WinEventToMacEvent") == 0 || std::strcmp(name, "MCIsPlayerEvent") == 0 ||
           std::strcmp(name, "MCGetControllerInfo") == 0;
}

void Record(const char* name)
{
    Log& log = TheLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    if (!log.events && IsEventCall(name))
        return;
    log.calls.emplace_back(name);
}

void RecordAction(short action, void* parameter)
{
    Log& log = TheLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    std::string text = "MCDoAction " + std::to_string(action);
    if (action == mcActionPlay || action == mcActionSetFlags)
        text += " " + std::to_string(reinterpret_cast<long>(parameter));
    log.calls.push_back(text);
}

bool Bind(HMODULE library, Entries& entries)
{
    bool all = true;
#define QT_ENTRY(result, name, params, args, failed)                                        \
    entries.name = reinterpret_cast<result(*) params>(::GetProcAddress(library, #name));   \
    all = all && entries.name != nullptr;
#define QT_VOID(name, params, args)                                                         \
    entries.name = reinterpret_cast<void(*) params>(::GetProcAddress(library, #name));     \
    all = all && entries.name != nullptr;
#include "QTMLEntries.h"
#undef QT_ENTRY
#undef QT_VOID
    return all;
}

}  // namespace

namespace qtml_host {

std::vector<std::string> CallLog()
{
    Log& log = TheLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    return log.calls;
}

void ClearCallLog()
{
    Log& log = TheLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    log.calls.clear();
}

void RecordEventCalls(bool record)
{
    Log& log = TheLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    log.events = record;
}

}  // namespace qtml_host

OSErr InitializeQTML(long flags)
{
    Record("InitializeQTML");
    if (g_started)
        return noErr;
    HMODULE library = ::LoadLibrary("QuickTime.qts");
    if (library == NULL)
        return qtmlUninitialized;
    Entries entries;
    if (!Bind(library, entries) || entries.InitializeQTML(flags) != noErr) {
        ::FreeLibrary(library);
        return qtmlUninitialized;
    }
    g_library = library;
    g_entries = entries;
    g_started = true;
    return noErr;
}

void TerminateQTML()
{
    Record("TerminateQTML");
    if (!g_started)
        return;
    g_entries.TerminateQTML();
    g_started = false;
    g_entries = Entries();
    ::FreeLibrary(g_library);
    g_library = NULL;
}

StringPtr c2pstr(char* text)
{
    Record("c2pstr");
    std::size_t length = std::strlen(text);
    if (length > 255)
        length = 255;
    std::memmove(text + 1, text, length);
    text[0] = static_cast<char>(length);
    return reinterpret_cast<StringPtr>(text);
}

ComponentResult MCDoAction(MovieController controller, short action, void* parameter)
{
    RecordAction(action, parameter);
    return g_started ? g_entries.MCDoAction(controller, action, parameter) : qtmlUninitialized;
}

// Every other call: recorded, then forwarded when the library runs.
#define QT_OWN_ENTRY(result, name, params, args, failed)
#define QT_OWN_VOID(name, params, args)
#define QT_ENTRY(result, name, params, args, failed)                              \
    result name params                                                            \
    {                                                                             \
        Record(#name);                                                            \
        return g_started ? g_entries.name args : failed;                          \
    }
#define QT_VOID(name, params, args)                                               \
    void name params                                                              \
    {                                                                             \
        Record(#name);                                                            \
        if (g_started)                                                            \
            g_entries.name args;                                                  \
    }
#include "QTMLEntries.h"
#undef QT_ENTRY
#undef QT_VOID
#undef QT_OWN_ENTRY
#undef QT_OWN_VOID

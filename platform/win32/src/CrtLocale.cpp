// The runtime's setlocale: the platform's own locale names per category, never the host's.
#define VL_HOST_CRT
#include <crtext.h>

#include <array>
#include <mutex>
#include <string>
#include <strings.h>

namespace {

constexpr const char* kUserDefault = "English_United States.1252";

// The categories in the runtime's order for a composite LC_ALL name.
struct Category {
    int id;
    const char* name;
};
constexpr std::array<Category, 5> kCategories = {{{LC_COLLATE, "LC_COLLATE"},
                                                  {LC_CTYPE, "LC_CTYPE"},
                                                  {LC_MONETARY, "LC_MONETARY"},
                                                  {LC_NUMERIC, "LC_NUMERIC"},
                                                  {LC_TIME, "LC_TIME"}}};

struct LocaleState {
    std::mutex lock;
    std::array<std::string, 5> names{"C", "C", "C", "C", "C"};
    std::string answer;  // the buffer the last call returned
};

LocaleState& State()
{
    static LocaleState state;
    return state;
}

// The runtime's name for a requested locale, or empty when it knows none by that name.
std::string Resolve(const char* locale)
{
    std::string name = locale;
    if (name.empty())
        return kUserDefault;
    if (name == "C")
        return "C";
    // The user's language and country, with or without the Western code page.
    for (const char* known : {"English_United States.1252", "English_United States", "English", "English.1252",
                              "American", "American English", "en-US", ".1252", ".ACP"})
        if (strcasecmp(name.c_str(), known) == 0)
            return kUserDefault;
    return {};
}

int IndexOf(int category)
{
    for (size_t i = 0; i < kCategories.size(); ++i)
        if (kCategories[i].id == category)
            return static_cast<int>(i);
    return -1;
}

std::string AllName(const std::array<std::string, 5>& names)
{
    bool same = true;
    for (const std::string& n : names)
        same = same && n == names[0];
    if (same)
        return names[0];
    std::string composite;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            composite += ';';
        composite += std::string(kCategories[i].name) + "=" + names[i];
    }
    return composite;
}

}  // namespace

char* vlcrt_setlocale(int category, const char* locale)
{
    LocaleState& state = State();
    std::lock_guard<std::mutex> hold(state.lock);
    int index = category == LC_ALL ? -1 : IndexOf(category);
    if (category != LC_ALL && index < 0)
        return nullptr;
    if (locale != nullptr) {
        std::string resolved = Resolve(locale);
        if (resolved.empty())
            return nullptr;
        if (index < 0)
            state.names.fill(resolved);
        else
            state.names[static_cast<size_t>(index)] = resolved;
    }
    state.answer = index < 0 ? AllName(state.names) : state.names[static_cast<size_t>(index)];
    return state.answer.data();
}

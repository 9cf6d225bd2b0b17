// The registration bookkeeping tool.
#include "vorbadmin/Bookkeeper.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kSearchedSlots = 99;

// The first word of a command line, without its double quotes.
std::string FirstArgument(LPCSTR commandLine)
{
    std::string word;
    if (!commandLine)
        return word;
    const char* p = commandLine;
    while (*p == ' ' || *p == '\t')
        ++p;
    bool quoted = false;
    for (; *p; ++p) {
        if (*p == '"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && (*p == ' ' || *p == '\t'))
            break;
        word += *p;
    }
    return word;
}

std::string Today()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char date[16];
    std::snprintf(date, sizeof date, "%04d%02d%02d", now.wYear, now.wMonth, now.wDay);
    return date;
}

// The leading digits of a count ("0012" is 12); 0 without any.
int LeadingNumber(const std::string& text)
{
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || value > 100000)
            break;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

CRegistrationBookkeeper::CRegistrationBookkeeper(const std::string& folder) : m_files(RegistrationFiles::For(folder))
{
}

// The product's slot in the global list, or 0 when it is not listed. The slot the local record
// names counts only while the list still holds the product there: a list that was deleted and
// made again by other products may have given that slot to another one.
int CRegistrationBookkeeper::FindSlot(const std::string& product) const
{
    auto recorded = ReadProfileValue(m_files.localRecord, product, "PRODLIST");
    if (!recorded)
        recorded = ReadProfileValue(m_files.localRecord, product, "PRODUCTLISTNUM");
    if (recorded) {
        auto slot = ParseSlotNumber(*recorded);
        if (slot && *slot > 0 && ReadProfileText(m_files.globalList, "PRODLIST", SlotKey("PRODNAME", *slot)) == product)
            return *slot;
    }
    for (int slot = 1; slot <= kSearchedSlots; ++slot) {
        std::string name = ReadProfileText(m_files.globalList, "PRODLIST", SlotKey("PRODNAME", slot));
        if (name.empty())
            break;
        if (name == product)
            return slot;
    }
    return 0;
}

int CRegistrationBookkeeper::Install()
{
    const std::string product = m_files.ProductName();
    if (product.empty()) {
        m_problem = "there is no product to record: " + m_files.productRecord +
                    " has no PRODUCTNAME in its section PRODUCT.";
        return 1;
    }
    const std::string number = m_files.ProductNumber();
    const std::string identifier = number.substr(0, 8);

    bool written = true;
    auto write = [&](const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) {
        if (written && !WriteProfileText(file, section, key, value)) {
            written = false;
            m_problem = "could not write " + file + ".";
        }
    };

    const std::string& list = m_files.globalList;
    std::string count = ReadProfileText(list, "PRODLIST", "NUMPROD");
    if (count.empty()) {
        count = "0000";
        write(list, "PRODLIST", "NUMPROD", count);
    }
    int slot = FindSlot(product);
    if (slot == 0) {
        // After the last counted slot, and past any slot that a count out of step left filled.
        slot = LeadingNumber(count) + 1;
        while (!ReadProfileText(list, "PRODLIST", SlotKey("PRODNAME", slot)).empty())
            ++slot;
        write(list, "PRODLIST", "NUMPROD", SlotNumber(slot));
    }
    write(m_files.localRecord, product, "PRODLIST", SlotNumber(slot));
    write(list, "PRODLIST", SlotKey("PROD", slot), number);
    write(list, "PRODLIST", SlotKey("OSTRELID", slot), identifier);
    write(list, "PRODLIST", SlotKey("PRODNAME", slot), product);
    write(list, "PRODLIST", SlotKey("DEFDIR", slot), m_files.folder);

    const std::string date = Today();
    for (const std::string& file : {list, m_files.localRecord}) {
        write(file, product, "STATUS", "7");
        write(file, product, "INSTALLDATE", date);
    }
    return written ? 0 : 1;
}

int CRegistrationBookkeeper::Uninstall()
{
    if (!FileExists(m_files.localRecord)) {
        m_problem = "there is no registration record " + m_files.localRecord + " to record the uninstall in.";
        return 1;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, VORB_REGISTRY_KEY, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        DWORD count = 0, type = 0, size = sizeof count;
        if (RegQueryValueExA(key, VORB_REGCOUNT, nullptr, &type, reinterpret_cast<LPBYTE>(&count), &size) ==
                ERROR_SUCCESS &&
            type == REG_DWORD && size == sizeof count) {
            if (count > 0)
                --count;
            RegSetValueExA(key, VORB_REGCOUNT, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
            RegCloseKey(key);
            if (count == 0)
                DeleteFile(m_files.globalList.c_str());
        } else {
            RegCloseKey(key);
        }
    }
    // The uninstall is recorded even when there is no count to take it off.
    const std::string product = m_files.ProductName();
    if (product.empty())
        m_problem = "there is no product named in " + m_files.productRecord + ": the uninstall is not recorded.";
    else if (!WriteProfileText(m_files.localRecord, product, "STATUS", "9"))
        m_problem = "could not write " + m_files.localRecord + ".";
    return 1;
}

int RunRegistrationBookkeeper(LPCSTR commandLine)
{
    const std::string argument = FirstArgument(commandLine);
    CRegistrationBookkeeper bookkeeper(CurrentFolder());
    int code = 1;
    if (argument.empty())
        code = bookkeeper.Install();
    else if (argument[0] == '9')
        code = bookkeeper.Uninstall();
    else
        std::fprintf(stderr, "vorbadmin: unknown argument \"%s\": give none to record an install, or 9 to record "
                             "an uninstall.\n", argument.c_str());
    if (!bookkeeper.Problem().empty())
        std::fprintf(stderr, "vorbadmin: %s\n", bookkeeper.Problem().c_str());
    return code;
}

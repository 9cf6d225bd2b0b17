// The object libraries' initialisation count, class identifiers in text form, and the
// process's running-object table.
#include <oleauto.h>

#include <cstddef>
#include <mutex>
#include <vector>

const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

namespace {

thread_local int t_initCount = 0;

struct Registration {
    DWORD number;
    CLSID clsid;
    IUnknown* object;
    bool strong;
};

struct RunningObjectTable {
    std::mutex mutex;
    std::vector<Registration> entries;
    DWORD nextNumber = 1;
};

RunningObjectTable& Table()
{
    static auto* table = new RunningObjectTable;
    return *table;
}

int HexValue(OLECHAR c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Reads `digits` hexadecimal digits at p; false when one is not a digit.
bool ReadHex(LPCOLESTR& p, int digits, unsigned long long& value)
{
    value = 0;
    for (int i = 0; i < digits; ++i) {
        int v = HexValue(p[i]);
        if (v < 0)
            return false;
        value = value * 16 + static_cast<unsigned>(v);
    }
    p += digits;
    return true;
}

}  // namespace

HRESULT WINAPI OleInitialize(LPVOID)
{
    return t_initCount++ == 0 ? S_OK : S_FALSE;
}

void WINAPI OleUninitialize()
{
    if (t_initCount > 0)
        --t_initCount;
}

HRESULT WINAPI CoInitialize(LPVOID pvReserved)
{
    return OleInitialize(pvReserved);
}

void WINAPI CoUninitialize()
{
    OleUninitialize();
}

HRESULT WINAPI CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid)
{
    if (pclsid == nullptr)
        return E_INVALIDARG;
    *pclsid = CLSID{};
    if (lpsz == nullptr)
        return CO_E_CLASSSTRING;
    LPCOLESTR p = lpsz;
    unsigned long long v = 0;
    CLSID result{};
    auto expect = [&p](OLECHAR c) {
        if (*p != c)
            return false;
        ++p;
        return true;
    };
    if (!expect(u'{') || !ReadHex(p, 8, v))
        return CO_E_CLASSSTRING;
    result.Data1 = static_cast<DWORD>(v);
    if (!expect(u'-') || !ReadHex(p, 4, v))
        return CO_E_CLASSSTRING;
    result.Data2 = static_cast<WORD>(v);
    if (!expect(u'-') || !ReadHex(p, 4, v))
        return CO_E_CLASSSTRING;
    result.Data3 = static_cast<WORD>(v);
    if (!expect(u'-'))
        return CO_E_CLASSSTRING;
    for (int i = 0; i < 8; ++i) {
        if (i == 2 && !expect(u'-'))
            return CO_E_CLASSSTRING;
        if (!ReadHex(p, 2, v))
            return CO_E_CLASSSTRING;
        result.Data4[i] = static_cast<BYTE>(v);
    }
    if (!expect(u'}') || *p != 0)
        return CO_E_CLASSSTRING;
    *pclsid = result;
    return S_OK;
}

int WINAPI StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax)
{
    const int length = 39;  // braces, 32 digits, 4 hyphens and the terminator
    if (lpsz == nullptr || cchMax < length)
        return 0;
    static const char digits[] = "0123456789ABCDEF";
    int at = 0;
    auto put = [&](unsigned long long value, int count) {
        for (int i = count - 1; i >= 0; --i)
            lpsz[at++] = static_cast<OLECHAR>(digits[(value >> (4 * i)) & 0xF]);
    };
    lpsz[at++] = u'{';
    put(rguid.Data1, 8);
    lpsz[at++] = u'-';
    put(rguid.Data2, 4);
    lpsz[at++] = u'-';
    put(rguid.Data3, 4);
    lpsz[at++] = u'-';
    for (int i = 0; i < 8; ++i) {
        if (i == 2)
            lpsz[at++] = u'-';
        put(rguid.Data4[i], 2);
    }
    lpsz[at++] = u'}';
    lpsz[at++] = 0;
    return at;
}

HRESULT WINAPI RegisterActiveObject(IUnknown* punk, REFCLSID rclsid, DWORD dwFlags, DWORD* pdwRegister)
{
    if (punk == nullptr || pdwRegister == nullptr)
        return E_INVALIDARG;
    const bool strong = (dwFlags & ACTIVEOBJECT_WEAK) == 0;
    if (strong)
        punk->AddRef();
    RunningObjectTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    Registration entry{table.nextNumber++, rclsid, punk, strong};
    if (table.nextNumber == 0)
        table.nextNumber = 1;
    table.entries.push_back(entry);
    *pdwRegister = entry.number;
    return S_OK;
}

HRESULT WINAPI RevokeActiveObject(DWORD dwRegister, void*)
{
    IUnknown* release = nullptr;
    {
        RunningObjectTable& table = Table();
        std::lock_guard<std::mutex> lock(table.mutex);
        std::size_t i = 0;
        while (i < table.entries.size() && table.entries[i].number != dwRegister)
            ++i;
        if (i == table.entries.size())
            return E_INVALIDARG;
        if (table.entries[i].strong)
            release = table.entries[i].object;
        table.entries.erase(table.entries.begin() + static_cast<std::ptrdiff_t>(i));
    }
    // Released outside the lock: the object may revoke or register others as it goes.
    if (release != nullptr)
        release->Release();
    return S_OK;
}

HRESULT WINAPI GetActiveObject(REFCLSID rclsid, void*, IUnknown** ppunk)
{
    if (ppunk == nullptr)
        return E_INVALIDARG;
    *ppunk = nullptr;
    RunningObjectTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    for (const Registration& entry : table.entries) {
        if (IsEqualCLSID(entry.clsid, rclsid)) {
            entry.object->AddRef();
            *ppunk = entry.object;
            return S_OK;
        }
    }
    return MK_E_UNAVAILABLE;
}

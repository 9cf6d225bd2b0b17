// The registration wizard stand-in: VorbRegister and its dialog (see vorb.h for what each mode
// does).
#include "vorb.h"

#include "vorbwizard.h"

#include <cstdio>
#include <string>

namespace {

constexpr const char* kRegistryKey = "SOFTWARE\\Ostrel\\Software Registration";

HMODULE OwnModule()
{
    HMODULE module = nullptr;
    GetModuleHandleEx(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                      reinterpret_cast<LPCSTR>(&OwnModule), &module);
    return module;
}

std::string WithBackslash(std::string folder)
{
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

std::string WindowsFolder()
{
    char buffer[MAX_PATH] = "";
    UINT n = GetWindowsDirectory(buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? WithBackslash(buffer) : std::string();
}

void Record(const std::string& line)
{
    std::string windows = WindowsFolder();
    if (windows.empty())
        return;
    HANDLE file = CreateFile((windows + "VORB.LOG").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    SetFilePointer(file, 0, nullptr, FILE_END);
    std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// Notes that the library leaves the process (FreeLibrary or the process's end).
struct UnloadRecorder {
    ~UnloadRecorder() { Record("unloaded"); }
} g_unloadRecorder;

std::string ModuleFileOf(HINSTANCE instance)
{
    char buffer[MAX_PATH] = "";
    DWORD n = instance ? GetModuleFileName(instance, buffer, MAX_PATH) : 0;
    return n > 0 && n < MAX_PATH ? std::string(buffer) : std::string("(unknown)");
}

std::string ProfileString(const std::string& file, const std::string& section, const char* key)
{
    char buffer[1024] = "";
    GetPrivateProfileStringA(section.c_str(), key, "", buffer, sizeof buffer, file.c_str());
    return buffer;
}

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributes(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The product a folder holds, with its two registration records.
struct Product {
    std::string name;
    std::string number;
    std::string localRecord;
    std::string globalList;
};

bool FindProduct(LPCSTR folderText, Product& product)
{
    std::string folder = folderText && *folderText ? std::string(folderText) : std::string();
    if (folder.empty()) {
        std::string own = ModuleFileOf(OwnModule());
        folder = own.substr(0, own.find_last_of('\\') + 1);
    }
    folder = WithBackslash(folder);
    std::string prodreg = folder + "PRODREG.DAT";
    product.name = ProfileString(prodreg, "PRODUCT", "PRODUCTNAME");
    product.number = ProfileString(prodreg, "PRODUCT", "PRODUCTNUM");
    product.localRecord = folder + "REG.REG";
    product.globalList = WindowsFolder() + "REG.REG";
    return !product.name.empty();
}

// REGCOUNT after adding one (1 when the value was missing or unreadable).
DWORD CountRegistration()
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return 0;
    DWORD count = 0, type = 0, size = sizeof count;
    if (RegQueryValueExA(key, "REGCOUNT", nullptr, &type, reinterpret_cast<LPBYTE>(&count), &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        count = 0;
    ++count;
    RegSetValueExA(key, "REGCOUNT", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
    RegCloseKey(key);
    return count;
}

void WriteStatus(const Product& product, const char* status, const char* regnum, bool globalOnlyWhenPresent)
{
    WritePrivateProfileStringA(product.name.c_str(), "STATUS", status, product.localRecord.c_str());
    if (regnum)
        WritePrivateProfileStringA(product.name.c_str(), "REGNUM", regnum, product.localRecord.c_str());
    if (globalOnlyWhenPresent && !FileExists(product.globalList))
        return;
    WritePrivateProfileStringA(product.name.c_str(), "STATUS", status, product.globalList.c_str());
    if (regnum)
        WritePrivateProfileStringA(product.name.c_str(), "REGNUM", regnum, product.globalList.c_str());
}

// One open wizard dialog's state (the dialog's user data).
struct Wizard {
    Product product;
    HWND owner = nullptr;
};

void Finish(HWND dialog, Wizard* wizard, bool registered)
{
    int status = registered ? 5 : 6;
    if (registered) {
        DWORD count = CountRegistration();
        SYSTEMTIME now{};
        GetLocalTime(&now);
        char regnum[96];
        std::snprintf(regnum, sizeof regnum, "%s-%04lu-%04d%02d%02d",
                      wizard->product.number.empty() ? "VL" : wizard->product.number.c_str(),
                      static_cast<unsigned long>(count), now.wYear, now.wMonth, now.wDay);
        WriteStatus(wizard->product, "5", regnum, false);
    } else {
        WriteStatus(wizard->product, "6", nullptr, false);
    }
    Record(std::string(registered ? "Register " : "Later ") + std::to_string(status));
    HWND owner = wizard->owner;
    DestroyWindow(dialog);
    if (owner && IsWindow(owner))
        PostMessage(owner, VORB_WM_DONE, static_cast<WPARAM>(status), 0);
    else
        PostQuitMessage(status);
}

INT_PTR CALLBACK WizardProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* wizard = reinterpret_cast<Wizard*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        wizard = reinterpret_cast<Wizard*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        std::string text = "Thank you for choosing " + wizard->product.name + ".";
        SetDlgItemTextA(dialog, IDC_VORB_PRODUCT, text.c_str());
        return TRUE;
    }
    case WM_COMMAND:
        if (!wizard)
            break;
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            Finish(dialog, wizard, LOWORD(wParam) == IDOK);
            return TRUE;
        }
        break;
    case WM_CLOSE:
        if (wizard)
            Finish(dialog, wizard, false);
        return TRUE;
    case WM_DESTROY:
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        delete wizard;
        return FALSE;
    default:
        break;
    }
    return FALSE;
}

}  // namespace

extern "C" HWND WINAPI VorbRegister(HINSTANCE hInstance, HWND hwndOwner, DWORD dwReserved, LPCSTR lpszProductFolder,
                                    int nMode)
{
    std::string folder = lpszProductFolder ? "\"" + std::string(lpszProductFolder) + "\"" : std::string("null");
    Record("VorbRegister module=" + ModuleFileOf(hInstance) + " owner=" + (hwndOwner ? "1" : "0") +
           " reserved=" + std::to_string(dwReserved) + " folder=" + folder + " mode=" + std::to_string(nMode));

    Product product;
    bool known = FindProduct(lpszProductFolder, product);
    switch (nMode) {
    case VORB_MODE_UNINSTALL:
        if (known)
            WriteStatus(product, "9", nullptr, true);
        return nullptr;
    case VORB_MODE_FIRST_RUN:
    case VORB_MODE_OPEN:
    case VORB_MODE_NEW: {
        if (!known) {
            std::string where = lpszProductFolder && *lpszProductFolder ? lpszProductFolder : "this folder";
            MessageBoxA(hwndOwner, ("There is no product to register in " + where + ".").c_str(), VORB_WIZARD_TITLE,
                        MB_OK | MB_ICONINFORMATION);
            return nullptr;
        }
        auto* wizard = new Wizard{product, hwndOwner};
        HWND dialog = CreateDialogParamA(OwnModule(), MAKEINTRESOURCE(IDD_VORB_WIZARD), hwndOwner, WizardProc,
                                         reinterpret_cast<LPARAM>(wizard));
        if (!dialog) {
            delete wizard;
            return nullptr;
        }
        ShowWindow(dialog, SW_SHOW);
        return dialog;
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

// The registration records of one product folder.
#include "common/RegistrationFiles.h"

#include "common/VorbCommandLine.h"

#include <cstdio>
#include <vector>

namespace {

// No profile value holds this byte: a read that returns it found no value.
constexpr const char* kMissing = "\x01";

}  // namespace

RegistrationFiles RegistrationFiles::For(const std::string& folder)
{
    RegistrationFiles files;
    files.folder = FolderWithBackslash(folder);
    files.productRecord = files.folder + "PRODREG.DAT";
    files.localRecord = files.folder + "REG.REG";
    files.globalList = WindowsFolder() + "REG.REG";
    return files;
}

std::string RegistrationFiles::ProductName() const
{
    return ReadProfileText(productRecord, "PRODUCT", "PRODUCTNAME");
}

std::string RegistrationFiles::ProductNumber() const
{
    return ReadProfileText(productRecord, "PRODUCT", "PRODUCTNUM");
}

std::string RegistrationFiles::Language() const
{
    return ReadProfileText(productRecord, "PRODUCT", "LANGUAGE");
}

std::optional<std::string> ReadProfileValue(const std::string& file, const std::string& section, const std::string& key)
{
    // The buffer grows until the value fits: a value is cut only when it fills the buffer.
    for (DWORD size = 256;; size *= 2) {
        std::vector<char> buffer(size);
        DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), kMissing, buffer.data(), size, file.c_str());
        if (n + 1 < size || size >= (1u << 24)) {
            std::string value(buffer.data(), n < size ? n : size - 1);
            if (value == kMissing)
                return std::nullopt;
            return value;
        }
    }
}

std::string ReadProfileText(const std::string& file, const std::string& section, const std::string& key)
{
    return ReadProfileValue(file, section, key).value_or(std::string());
}

bool WriteProfileText(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& value)
{
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributes(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string WindowsFolder()
{
    // The size needed comes back when the buffer is too small.
    std::string folder(MAX_PATH, '\0');
    UINT n = GetWindowsDirectory(folder.data(), static_cast<UINT>(folder.size()));
    if (n >= folder.size()) {
        folder.assign(n + 1, '\0');
        n = GetWindowsDirectory(folder.data(), static_cast<UINT>(folder.size()));
    }
    if (n == 0 || n >= folder.size())
        return std::string();
    folder.resize(n);
    return FolderWithBackslash(folder);
}

std::string CurrentFolder()
{
    DWORD size = GetCurrentDirectory(0, nullptr);
    std::string folder(size, '\0');
    DWORD n = size ? GetCurrentDirectory(size, folder.data()) : 0;
    folder.resize(n < size ? n : 0);
    return folder;
}

std::string SlotNumber(int slot)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d", slot);
    return text;
}

std::string SlotKey(const char* key, int slot)
{
    return key + SlotNumber(slot);
}

std::optional<int> ParseSlotNumber(const std::string& text)
{
    if (text.empty() || text.size() > 6)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The registration records of one product folder: the product record "PRODREG.DAT" beside the
// product, the product's local record "REG.REG" in its folder and the machine-wide product list
// "REG.REG" in the Windows folder, and the profile reads and writes the setup programs make on
// them (values of any length).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The files of one product folder and what its product record says.
struct RegistrationFiles {
    std::string folder;         // the product folder, ending in "\"
    std::string productRecord;  // <folder>PRODREG.DAT
    std::string localRecord;    // <folder>REG.REG
    std::string globalList;     // <Windows folder>\REG.REG

    // The files of `folder` (a "\" is added when it has none).
    static RegistrationFiles For(const std::string& folder);

    // PRODREG.DAT, section "PRODUCT": the product's name (the section of its records), its
    // number and its language.
    std::string ProductName() const;
    std::string ProductNumber() const;
    std::string Language() const;
};

// A profile value; std::nullopt when the file, section or key is missing.
std::optional<std::string> ReadProfileValue(const std::string& file, const std::string& section, const std::string& key);
// A profile value, empty when it is missing.
std::string ReadProfileText(const std::string& file, const std::string& section, const std::string& key);
bool WriteProfileText(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& value);

bool FileExists(const std::string& path);

// The Windows folder, ending in "\" (empty when the platform gives none).
std::string WindowsFolder();
// The current folder as the platform reports it (no "\" added).
std::string CurrentFolder();

// The registry key of the registration count.
#define VORB_REGISTRY_KEY "SOFTWARE\\Ostrel\\Software Registration"
#define VORB_REGCOUNT "REGCOUNT"

// "NUMPROD" and the slot keys of the product list ("%04d" slot numbers).
std::string SlotKey(const char* key, int slot);
std::string SlotNumber(int slot);
// A slot or count number as the list writes it ("0007"), or std::nullopt when the text is not
// digits only (or is empty, or too large for a slot).
std::optional<int> ParseSlotNumber(const std::string& text);

// The registration launcher.
#include "vorbexe/Launcher.h"

#include "common/VorbCommandLine.h"
#include "common/WizardSession.h"

#include <memory>
#include <string>

namespace {

// Runs `program` with `arguments` and waits until it ends. False (after telling the user) when it
// cannot start.
bool StartAndWait(const std::string& program, const std::string& arguments)
{
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFO startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcess(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                       nullptr, &startup, &process)) {
        std::string text = "Could not start " + program + ".";
        MessageBox(nullptr, text.c_str(), "VORB", MB_OK | MB_ICONINFORMATION);
        return false;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace

int RunRegistrationLauncher(LPCSTR commandLine)
{
    CInstanceMutex instance("VORBREGEXE");
    if (!instance.IsFirstInstance())
        return 0;

    VorbCommandLine options = VorbCommandLine::Parse(commandLine);
    if (!options.HasFolder())
        return 0;
    const std::string folder = FolderWithBackslash(options.folder);

    HWND wizard = nullptr;
    std::unique_ptr<CWizardLibrary> library;
    if (options.uninstall) {
        library = std::make_unique<CWizardLibrary>(folder + "vorb.dll");
        if (!library->IsLoaded() || !library->Register()) {
            MessageBox(nullptr, "FAILED", "VORB", MB_OK | MB_ICONINFORMATION);
        } else {
            std::string productFolder = FolderWithoutBackslash(folder);
            wizard = library->Register()(reinterpret_cast<HINSTANCE>(library->Module()), nullptr, 0,
                                         productFolder.c_str(), VORB_MODE_UNINSTALL);
        }
        // A window that the wizard left open needs its code until the loop below ends.
        if (!wizard || !IsWindow(wizard))
            library->Free();
    } else if (GetFileAttributes((folder + "reg.reg").c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (!StartAndWait(folder + "vorbshow.exe", commandLine ? commandLine : ""))
            return 1;
    } else {
        if (!StartAndWait(folder + "vorbreg.exe", folder))
            return 1;
    }
    return RunWizardMessageLoop(wizard);
}

// The registration wizard starter.
#include "vorbshow/WizardStarter.h"

#include "common/RegistrationFiles.h"
#include "common/VorbCommandLine.h"
#include "common/WizardSession.h"

#include <string>

int RunWizardStarter(HINSTANCE instance, LPCSTR commandLine)
{
    CInstanceMutex mutex("VORBREG");
    if (!mutex.IsFirstInstance())
        return 0;

    VorbCommandLine options = VorbCommandLine::Parse(commandLine);
    std::string folder = FolderWithBackslash(options.HasFolder() ? options.folder : CurrentFolder());
    std::string path = folder + "vorb.dll";

    CWizardLibrary library(path);
    if (!library.IsLoaded() || !library.Register()) {
        MessageBox(nullptr, "Could not locate VORB.DLL", path.c_str(), MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    HWND wizard = library.Register()(instance, nullptr, 0, options.folder.c_str(), VORB_MODE_FIRST_RUN);
    return RunWizardMessageLoop(wizard);
}

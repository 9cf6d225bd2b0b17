// What the registration programs share around the outside wizard: the single-instance mutex, the
// wizard library bound by name, and the message loop that lives as long as the wizard's window.
#pragma once

#include <windows.h>

#include <vorb.h>

#include <string>

// A named mutex created owned; the first program to create it is the one instance. Closed (and
// so gone, once no other program holds it) when the object goes.
class CInstanceMutex {
public:
    explicit CInstanceMutex(LPCSTR name);
    ~CInstanceMutex();
    CInstanceMutex(const CInstanceMutex&) = delete;
    CInstanceMutex& operator=(const CInstanceMutex&) = delete;

    // False when another program holds the name already (this one then ends at once).
    bool IsFirstInstance() const { return m_first; }

private:
    HANDLE m_mutex = nullptr;
    bool m_first = false;
};

// "vorb.dll" loaded from a path, with its export `VorbRegister`; freed when the object goes.
class CWizardLibrary {
public:
    explicit CWizardLibrary(const std::string& path);
    ~CWizardLibrary();
    CWizardLibrary(const CWizardLibrary&) = delete;
    CWizardLibrary& operator=(const CWizardLibrary&) = delete;

    bool IsLoaded() const { return m_module != nullptr; }
    HMODULE Module() const { return m_module; }
    // The export, or nullptr when the library lacks it.
    VORBREGISTERPROC Register() const { return m_register; }
    void Free();

private:
    HMODULE m_module = nullptr;
    VORBREGISTERPROC m_register = nullptr;
};

// While `wizard` is a live window: gets the thread's messages, lets the wizard's dialog handle its
// own (IsDialogMessage) and dispatches the others. Returns the wParam of the last message got
// (that of WM_QUIT when the loop ended on it), 0 when no message was got.
int RunWizardMessageLoop(HWND wizard);

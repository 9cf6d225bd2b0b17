// The single-instance mutex, the wizard library and the wizard's message loop.
#include "common/WizardSession.h"

CInstanceMutex::CInstanceMutex(LPCSTR name)
{
    m_mutex = CreateMutex(nullptr, TRUE, name);
    m_first = m_mutex != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
}

CInstanceMutex::~CInstanceMutex()
{
    if (!m_mutex)
        return;
    if (m_first)
        ReleaseMutex(m_mutex);
    CloseHandle(m_mutex);
}

CWizardLibrary::CWizardLibrary(const std::string& path)
{
    m_module = LoadLibrary(path.c_str());
    if (m_module)
        m_register = reinterpret_cast<VORBREGISTERPROC>(GetProcAddress(m_module, "VorbRegister"));
}

CWizardLibrary::~CWizardLibrary()
{
    Free();
}

void CWizardLibrary::Free()
{
    if (m_module)
        FreeLibrary(m_module);
    m_module = nullptr;
    m_register = nullptr;
}

int RunWizardMessageLoop(HWND wizard)
{
    MSG msg{};
    while (wizard && IsWindow(wizard)) {
        BOOL got = GetMessage(&msg, nullptr, 0, 0);
        if (got <= 0)
            break;  // WM_QUIT (or a failure): its wParam ends the program
        if (!IsWindow(wizard) || !IsDialogMessage(wizard, &msg)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

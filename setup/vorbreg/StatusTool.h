// vorbreg: the registration status tool. It lists the installed products of the machine-wide
// product list whose registration is still open (a status other than installed, "7", and
// uninstalled, "9"), and lets the user register one through its wizard ("vorb.dll" in the
// product's folder) or see its registration status. Its dialogs and texts come from the resource
// library "VORBREGR.DLL".
#pragma once

#include "common/RegistrationFiles.h"
#include "common/WizardSession.h"

#include <memory>
#include <string>

class CProductStatusDialog;

class CStatusTool {
public:
    // `commandLine`: the product folder, else the current folder is taken.
    CStatusTool(HINSTANCE instance, LPCSTR commandLine);
    ~CStatusTool();
    CStatusTool(const CStatusTool&) = delete;
    CStatusTool& operator=(const CStatusTool&) = delete;

    // Loads the resource library and opens the main dialog (modeless). False when the library is
    // missing (the user is told) or the dialog cannot be made. With no product to list the dialog
    // says so and is closed again at once (Main() is then gone).
    bool Open();
    // The message loop: dialog messages go to the main dialog, the status dialog and the wizard's
    // window. Ends when the main dialog is closed; returns WM_QUIT's wParam.
    int Run();

    HWND Main() const { return m_main; }
    HWND StatusDialog() const;
    HWND Wizard() const { return m_wizard; }
    const RegistrationFiles& Files() const { return m_files; }

    // The language mode of the product record: 15 "JPN", 16 "KOR", else 0.
    int LanguageMode() const { return m_language; }

private:
    static INT_PTR CALLBACK MainProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInit();
    void FillList();
    void OnSelectionChange();
    void OnRegister();
    void OnStatus();
    void OnExit();
    void OnPaint();
    void OnDestroy();

    // The selected product's slot in the global list and its name; 0 without a selection.
    int SelectedSlot(std::string* name = nullptr) const;
    std::string Text(UINT id) const;
    int Ask(UINT textId, UINT type) const;

    HINSTANCE m_instance;
    RegistrationFiles m_files;
    int m_language = 0;
    HMODULE m_resources = nullptr;
    std::string m_title;
    HWND m_main = nullptr;
    HWND m_wizard = nullptr;
    HFONT m_font = nullptr;
    HBRUSH m_background = nullptr;
    int m_listed = 0;
    std::unique_ptr<CWizardLibrary> m_wizardLibrary;
    std::unique_ptr<CProductStatusDialog> m_status;
};

// The tool's whole run for the text of its command line after the program's name; returns the
// exit code. Only one runs at a time, and not beside the wizard starter (mutex "VORBREG"):
// another one makes this one end at once with 0.
int RunStatusTool(HINSTANCE instance, LPCSTR commandLine);

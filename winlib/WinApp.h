#pragma once

#include "Font.h"
#include "Wnd.h"

// The application object, one global per program: the main routine runs its InitInstance, then (on TRUE) its loop.
class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const wchar_t* appName = nullptr);
    ~CWinApp() override;

    // The program's start-up; FALSE ends it at once, without a message loop.
    virtual BOOL InitInstance() { return TRUE; }
    // The message loop; ends on WM_QUIT and returns ExitInstance()'s exit code.
    virtual int Run();
    // The program's clean-up; returns the process exit code.
    virtual int ExitInstance() { return m_exitCode; }

    // Three-dimensional control drawing is what the system always does today.
    BOOL Enable3dControls() { return TRUE; }
    // The target of the help command: the program carries no help, so it shows nothing.
    void OnHelp() {}
    // Shows a message (as MessageBox takes it) owned by `owner` in this library's dialog; a program may do otherwise.
    virtual int DoMessageBox(CWnd* owner, const wchar_t* text, const wchar_t* caption, UINT type);

    // A font of the resources (RCDATA `fontResourceId`, family `face`) for dialogs whose face the system lacks.
    void SetStandInDialogFont(UINT fontResourceId, const wchar_t* face)
    {
        m_standInFontId = fontResourceId, m_standInFace = face;
    }
    // The face a dialog whose template names `templateFont` gets instead: the stand-in, where the system lacks it.
    const wchar_t* StandInFaceFor(const LOGFONTW& templateFont);

    HINSTANCE m_hInstance = nullptr;
    // The module that dialog templates, strings and icons are loaded from.
    HINSTANCE m_hResource = nullptr;
    // The owner of dialogs made without a parent; cleared when its object is destroyed.
    CWnd* m_pMainWnd = nullptr;

protected:
    int m_exitCode = 0;

private:
    UINT m_standInFontId = 0;
    const wchar_t* m_standInFace = nullptr;
    CPrivateFont m_standInFont;
};

// The one application object, or null when there is none.
CWinApp* AfxGetApp();

// The module that holds the program's resources.
HINSTANCE AfxGetResourceHandle();

// A shared icon of the resources, at the system's big icon size; never destroyed.
HICON AfxLoadIcon(UINT id);

// Hosting of embedded (ActiveX) controls. The program has none.
inline void AfxEnableControlContainer() {}

// Takes the program's and the current folder out of the search for DLLs loaded by name (where Windows cannot, loads
// the dialogs' from the system folder). Called first thing in the process: creating a window loads uxtheme.
void AfxLoadDllsOnlyFromSystem();

// The main routine: runs the application object's start-up, loop and clean-up.
int AfxWinMain(HINSTANCE instance);

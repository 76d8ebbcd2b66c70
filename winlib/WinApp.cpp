#include "WinApp.h"

#include "MessageDlg.h"

namespace {
// The application object registers itself here; it is the program's one global.
CWinApp* g_app = nullptr;
}  // namespace

CWinApp::CWinApp(const wchar_t*) { g_app = this; }

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

int CWinApp::Run()
{
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0 && got != -1) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (got == 0)
        m_exitCode = static_cast<int>(msg.wParam);
    return ExitInstance();
}

const wchar_t* CWinApp::StandInFaceFor(const LOGFONTW& templateFont)
{
    if (!m_standInFace || !templateFont.lfFaceName[0] || IsFontFaceInstalled(templateFont))
        return nullptr;
    return m_standInFont.Register(AfxGetResourceHandle(), m_standInFontId) ? m_standInFace : nullptr;
}

int CWinApp::DoMessageBox(CWnd* owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    // The dialog has OK alone; other buttons, or a program without the dialog's template, get the system's box.
    const INT_PTR result = (type & MB_TYPEMASK) == MB_OK ? CMessageDlg(owner, text, caption, type).DoModal() : -1;
    return result > 0 ? static_cast<int>(result) : ::MessageBoxW(owner ? owner->m_hWnd : nullptr, text, caption, type);
}

HICON AfxLoadIcon(UINT id) { return ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id)); }

void AfxLoadDllsOnlyFromSystem()
{
    // Looked up: Windows 7 without KB2533623 lacks it, and would not start with an import.
    using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    // GetProcAddress hands every export out under one type; void (*)() converts it back.
    const auto setDefaultDllDirectories =
        reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void (*)()>(found));
    if (setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    // Without it (XP, Vista, 7 without that update) the current folder leaves the search, but the program's own
    // folder stays first. A loaded DLL is what a later load by name gets, so the ones the dialogs load by name (the
    // themed controls load uxtheme.dll, which loads dwmapi.dll) are loaded now from the system folder, for good.
    SetDllDirectoryW(L"");
    wchar_t path[MAX_PATH];
    const UINT folder = GetSystemDirectoryW(path, MAX_PATH - 16);
    if (!folder || folder >= MAX_PATH - 16)
        return;
    const wchar_t* const loadedByName[] = {L"\\uxtheme.dll", L"\\dwmapi.dll"};
    for (const wchar_t* name : loadedByName) {
        lstrcpyW(path + folder, name);
        LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
}

CWinApp* AfxGetApp() { return g_app; }

HINSTANCE AfxGetResourceHandle()
{
    return g_app && g_app->m_hResource ? g_app->m_hResource : GetModuleHandleW(nullptr);
}

int AfxWinMain(HINSTANCE instance)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = instance;
    if (!app->m_hResource)
        app->m_hResource = instance;
#if defined(__cpp_exceptions)
    try {
#endif
        // After a FALSE start-up the main window may be gone already: nothing looks at it.
        if (!app->InitInstance())
            return app->ExitInstance();
        return app->Run();
#if defined(__cpp_exceptions)
    } catch (...) {
        // An error nobody handled: end quietly with a failure code rather than crash.
        return -1;
    }
#endif
}

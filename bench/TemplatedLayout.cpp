// Vorlamy without the two steps its class library takes as a dialog opens: no decision on
// the dialog's font (no stand-in font is named), and no fit of the controls to their texts.
// The benchmark runs it beside Vorlamy to show what those two steps cost the program.
#include "dialogs/SettingsDlg.h"
#include "winlib/WinApp.h"

namespace {

class CSettingsAsTemplated : public CSettingsDlg {
public:
    CSettingsAsTemplated() { KeepTemplateLayout(); }
};

class CTemplatedLayoutApp : public CWinApp {
public:
    CTemplatedLayoutApp() : CWinApp(nullptr) {}

    BOOL InitInstance() override
    {
        CSettingsAsTemplated dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        return FALSE;
    }
};

CTemplatedLayoutApp theApp;

}  // namespace

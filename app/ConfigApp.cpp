#include "ConfigApp.h"

#include "dialogs/SettingsDlg.h"
#include "res/resource.h"

#include <iterator>

const MessageEntry CConfigApp::messageEntries[] = {
    MessageMapOf<CConfigApp>::OnCommand<ID_HELP, &CWinApp::OnHelp>(),
};
const MessageMap CConfigApp::messageMap = {&CWinApp::messageMap, messageEntries, std::size(messageEntries)};

CConfigApp theApp;

// The dialogs are laid out for "ＭＳ Ｐゴシック", which many systems lack (Windows without
// East Asian fonts, Wine in a player's own prefix): the program brings a font of the same
// metrics for them.
CConfigApp::CConfigApp() : CWinApp(nullptr) { SetStandInDialogFont(IDR_DIALOGFONT, DIALOGFONT_FACE); }

BOOL CConfigApp::InitInstance()
{
    AfxEnableControlContainer();
    Enable3dControls();

    CSettingsDlg dlg;
    m_pMainWnd = &dlg;
    // OK and Cancel end the program alike; whether the setting was saved is the
    // dialog's business.
    dlg.DoModal();
    return FALSE;
}

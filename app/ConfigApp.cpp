#include "ConfigApp.h"

#include "dialogs/SettingsDlg.h"
#include "res/resource.h"

#include <iterator>

const MessageEntry CConfigApp::messageEntries[] = {
    MessageMapOf<CConfigApp>::OnCommand<ID_HELP, &CWinApp::OnHelp>(),
};
const MessageMap CConfigApp::messageMap = {&CWinApp::messageMap, messageEntries, std::size(messageEntries)};

CConfigApp theApp;

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

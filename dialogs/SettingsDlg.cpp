#include "SettingsDlg.h"

#include "res/resource.h"

CSettingsDlg::CSettingsDlg(CWnd* parent) : CDialog(IDD_SETTINGS_DIALOG, parent) {}

BOOL CSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    GetDlgItem(IDC_HWTNL_OFF).SendMessage(BM_SETCHECK, BST_CHECKED, 0);
    return TRUE;
}

void CSettingsDlg::OnOK()
{
    // The radio buttons alone hold the choice, and the "do not use" button decides it.
    const bool offChecked = GetDlgItem(IDC_HWTNL_OFF).SendMessage(BM_GETCHECK) == BST_CHECKED;
    const HwTnlSaveResult saved = WriteHwTnlFile(HwTnlStateFromOffButton(offChecked));
    if (!saved) {
        ReportSaveFailure(saved);
        return;
    }
    CDialog::OnOK();
}

void CSettingsDlg::ReportSaveFailure(const HwTnlSaveResult& failure)
{
    CString text;
    text.LoadString(IDS_SAVE_FAILED);
    text += L"\n\n";
    text += FormatSystemMessage(failure.systemError);
    MessageBox(text, GetWindowText(), MB_OK | MB_ICONERROR);
}

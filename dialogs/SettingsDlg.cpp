#include "SettingsDlg.h"

#include "AboutDlg.h"
#include "WindowChrome.h"
#include "res/resource.h"
#include "winlib/PaintDC.h"
#include "winlib/WinApp.h"

#include <iterator>

using Map = MessageMapOf<CSettingsDlg>;
const MessageEntry CSettingsDlg::messageEntries[] = {
    Map::OnMessage<WM_SYSCOMMAND, &CSettingsDlg::OnSysCommand>(),
    Map::OnMessage<WM_PAINT, &CSettingsDlg::OnPaint>(),
    Map::OnMessage<WM_QUERYDRAGICON, &CSettingsDlg::OnQueryDragIcon>(),
};
const MessageMap CSettingsDlg::messageMap = {&CDialog::messageMap, messageEntries, std::size(messageEntries)};

CSettingsDlg::CSettingsDlg(CWnd* parent) : CDialog(IDD_SETTINGS_DIALOG, parent), m_hIcon(AfxLoadIcon(IDR_MAINFRAME)) {}

BOOL CSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    AddAboutEntryToSystemMenu();
    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);

    GetDlgItem(IDC_HWTNL_OFF).SendMessage(BM_SETCHECK, BST_CHECKED, 0);
    return TRUE;
}

void CSettingsDlg::AddAboutEntryToSystemMenu()
{
    CMenu systemMenu = GetSystemMenu(false);
    if (!systemMenu)
        return;
    CString text;
    // Without its text there is no entry, and no separator before it either.
    if (!text.LoadString(IDS_ABOUTBOX))
        return;
    systemMenu.AppendMenu(MF_SEPARATOR);
    systemMenu.AppendMenu(MF_STRING, IDM_ABOUTBOX, text);
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

CString SaveFailureText(const HwTnlSaveResult& failure)
{
    // Says the setting is unchanged only when TandL.ini's first byte is still what it was
    // (or there is still no file).
    using Outcome = HwTnlSaveResult::Outcome;
    CString text;
    text.LoadString(failure.outcome == Outcome::Unconfirmed ? IDS_SAVE_UNCONFIRMED
                    : failure.outcome == Outcome::LeftEmpty ? IDS_SAVE_LEFT_EMPTY
                                                            : IDS_SAVE_FAILED);
    text += L"\n\n";
    text += FormatSystemMessage(failure.systemError);
    return text;
}

void CSettingsDlg::ReportSaveFailure(const HwTnlSaveResult& failure)
{
    MessageBox(SaveFailureText(failure), GetWindowText(), MB_OK | MB_ICONERROR);
}

void CSettingsDlg::OnSysCommand(UINT commandId, LPARAM)
{
    if (!IsAboutCommand(commandId)) {
        Default();
        return;
    }
    CAboutDlg about;
    about.DoModal();
}

void CSettingsDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int iconWidth = GetSystemMetrics(SM_CXICON);
    const int iconHeight = GetSystemMetrics(SM_CYICON);
    const RECT client = GetClientRect();
    const IconPosition at =
        CenteredIconPosition(client.right - client.left, client.bottom - client.top, iconWidth, iconHeight);
    dc.DrawIcon(at.x, at.y, m_hIcon);
}

HICON CSettingsDlg::OnQueryDragIcon() { return m_hIcon; }

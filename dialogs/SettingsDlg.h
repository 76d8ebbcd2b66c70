#pragma once

#include "setting/HwTnlFile.h"
#include "winlib/Dialog.h"

// The main window: explains the hardware T&L trade-off and saves the user's choice to
// TandL.ini on OK. It always opens with "do not use" chosen; the file is never read.
// Its system menu carries an About entry, and it wears the application icon.
class CSettingsDlg : public CDialog {
public:
    explicit CSettingsDlg(CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    // Saves the choice and ends the dialog; a failed save is reported and the dialog
    // stays open, so the user can try again or cancel.
    void OnOK() override;

    void OnSysCommand(UINT commandId, LPARAM lParam);
    // Minimized, the dialog shows its icon; otherwise it paints as any dialog does.
    void OnPaint();
    // The picture shown while the minimized window is dragged.
    HICON OnQueryDragIcon();

    const MessageMap* GetMessageMap() const override { return &messageMap; }
    static const MessageMap messageMap;

    // The application icon: a shared resource icon, never destroyed.
    HICON m_hIcon;

private:
    void AddAboutEntryToSystemMenu();
    void ReportSaveFailure(const HwTnlSaveResult& failure);

    static const MessageEntry messageEntries[];
};

// What the dialog says when a save failed: what became of the setting, in Japanese and in
// English, then the system's reason and its code.
CString SaveFailureText(const HwTnlSaveResult& failure);

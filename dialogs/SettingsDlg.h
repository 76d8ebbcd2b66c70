#pragma once

#include "setting/HwTnlFile.h"
#include "winlib/Afx.h"

// The main window: explains the hardware T&L trade-off and saves the user's choice to
// TandL.ini on OK. It always opens with "do not use" chosen; the file is never read.
class CSettingsDlg : public CDialog {
public:
    explicit CSettingsDlg(CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    // Saves the choice and ends the dialog; a failed save is reported and the dialog
    // stays open, so the user can try again or cancel.
    void OnOK() override;

private:
    void ReportSaveFailure(const HwTnlSaveResult& failure);
};

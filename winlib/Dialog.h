#pragma once

#include "Wnd.h"

// A modal dialog made from a dialog template in the application's resources.
class CDialog : public CWnd {
public:
    // A dialog with no parent is owned by the application's main window.
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Shows the dialog and runs it until it ends; returns the code passed to EndDialog
    // (IDOK, IDCANCEL), or -1 when the dialog could not be created.
    INT_PTR DoModal();

    // Ends a running dialog; DoModal then returns `result`.
    void EndDialog(int result) { ::EndDialog(m_hWnd, result); }

    // The dialog's window exists; return TRUE to let the dialog manager set the focus.
    virtual BOOL OnInitDialog();
    // OK: takes the data from the controls, then ends the dialog with IDOK.
    virtual void OnOK();
    // Cancel, Esc or the close command: ends the dialog with IDCANCEL.
    virtual void OnCancel();

protected:
    // Moves values between controls and members: to the controls when the dialog opens,
    // from them (saveAndValidate) on OK. Returns false to keep the dialog open.
    virtual bool DoDataExchange(bool saveAndValidate);

    const MessageMap* GetMessageMap() const override { return &messageMap; }
    static const MessageMap messageMap;

    LRESULT DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }
    HWND OwnerWindow() const;

    static const MessageEntry messageEntries[];

    UINT m_templateId;
    CWnd* m_parent;
    // Set while Default() hands the current message to DefDlgProc, which calls the
    // dialog procedure once more with it; that one call must answer "not handled".
    bool m_inDefaultProcessing = false;
};

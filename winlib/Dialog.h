#pragma once

#include "Wnd.h"

// A modal dialog made from a dialog template in the application's resources.
class CDialog : public CWnd {
public:
    // A dialog with no parent is owned by the application's main window.
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Runs the dialog until it ends; returns EndDialog's code, or -1 when it could not be made.
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
    // Keeps the controls where the template puts them (before DoModal): no fit below.
    void KeepTemplateLayout() { m_fitsTexts = false; }
    // Makes the dialog with `face` in place of its template's (before DoModal; the stand-in still stands in for it).
    void MakeWithFace(const wchar_t* face) { m_face = face; }

    // Moves values to the controls as the dialog opens, and back (saveAndValidate) on OK; false keeps it open.
    virtual bool DoDataExchange(bool saveAndValidate);

    const MessageMap* GetMessageMap() const override { return &messageMap; }
    static const MessageMap messageMap;

    LRESULT DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // A message Default() hands to DefDlgProc, which brings it back once: that call answers "not handled". They nest.
    struct PassedOn {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        PassedOn* outer;
        bool returned;
    };

    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleInitDialog(WPARAM, LPARAM);
    HWND OwnerWindow() const;
    // Whether this is the message that Default() is handing on, coming back.
    bool IsComingBack(UINT message, WPARAM wParam, LPARAM lParam);
    // Centres the dialog over its owner (or its monitor's work area), inside the work area.
    void CentreOnOwnerOrScreen();

    static const MessageEntry messageEntries[];

    UINT m_templateId;
    CWnd* m_parent;
    PassedOn* m_passedOn = nullptr;
    const wchar_t* m_face = nullptr;
    bool m_fitsTexts = true;
};

// Gives each control the room its text needs in the font it got, moving what stands beyond it and growing the dialog;
// where every text fits, nothing moves. A CDialog does it as it opens, unless it keeps its template's layout.
void FitControlsToTheirTexts(HWND dialog);

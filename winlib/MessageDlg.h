#pragma once

// The message dialog's template (winlib/MessageDlg.rc, which a program's resource script includes) and its parts.
#define IDD_WINLIB_MESSAGE 30720
#define IDC_WINLIB_MESSAGE_ICON 30721
#define IDC_WINLIB_MESSAGE_TEXT 30722

#ifndef RC_INVOKED
#include "Dialog.h"

// A message (as MessageBox takes it, OK alone) as a dialog of this library in its owner's font (through the font
// decision, stand-in and fit) unless the system's shows more of it; else as MessageBox: sound, icon, Ctrl+C.
class CMessageDlg : public CDialog {
public:
    CMessageDlg(CWnd* owner, const wchar_t* text, const wchar_t* caption, UINT type);

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override { EndDialog(IDOK); }
    // Puts the message on the clipboard as MessageBox does: the caption, the text and the button, between rules.
    LRESULT OnCopy(WPARAM, LPARAM);

    const MessageMap* GetMessageMap() const override { return &messageMap; }
    static const MessageMap messageMap;

private:
    static const MessageEntry messageEntries[];
    const wchar_t* m_text;
    const wchar_t* m_caption;
    UINT m_type;
    LOGFONTW m_font{};  // the owner's, or the face of the system's that shows more of the text
};
#endif

#pragma once

// Drives a real modal dialog from inside its own modal loop: once the dialog is up, the
// test's script runs as a message of the dialog, and whatever it posts (key presses,
// clicks) goes through the same loop a user's input would.

#include "OwnedDialogBox.h"
#include "winlib/Dialog.h"
#include "winlib/WinApp.h"

#include <functional>
#include <iterator>
#include <string>
#include <utility>

constexpr UINT WM_RUN_SCRIPT = WM_APP + 100;

template <class Dialog>
class ScriptedDialog : public Dialog {
public:
    using Script = std::function<void(ScriptedDialog&)>;

    template <class... Args>
    explicit ScriptedDialog(Script script, Args&&... args)
        : Dialog(std::forward<Args>(args)...), m_script(std::move(script))
    {
    }

    // Posts a key press to the control that has the focus, as the keyboard would.
    void PressKey(WPARAM virtualKey) const
    {
        HWND focus = GetFocus();
        PostMessageW(focus ? focus : this->m_hWnd, WM_KEYDOWN, virtualKey, 1);
        PostMessageW(focus ? focus : this->m_hWnd, WM_KEYUP, virtualKey, 0xC0000001);
    }
    void Click(int id) const { this->GetDlgItem(id).SendMessage(BM_CLICK); }
    bool IsChecked(int id) const { return this->GetDlgItem(id).SendMessage(BM_GETCHECK) == BST_CHECKED; }
    int FocusId() const { return GetDlgCtrlID(GetFocus()); }

    // Everything said while running, for the test to check afterwards.
    std::string log;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = Dialog::OnInitDialog();
        PostMessageW(this->m_hWnd, WM_RUN_SCRIPT, 0, 0);
        return result;
    }

    const MessageMap* GetMessageMap() const override { return &messageMap; }
    static const MessageMap messageMap;

private:
    void RunScript() { m_script(*this); }

    static const MessageEntry messageEntries[];
    Script m_script;
};

template <class Dialog>
const MessageEntry ScriptedDialog<Dialog>::messageEntries[] = {
    MessageMapOf<ScriptedDialog>::template OnMessage<WM_RUN_SCRIPT, &ScriptedDialog::RunScript>(),
};
template <class Dialog>
const MessageMap ScriptedDialog<Dialog>::messageMap = {&Dialog::messageMap, messageEntries, std::size(messageEntries)};

namespace scripted_dialog_detail {

inline BOOL CALLBACK AppendStaticText(HWND child, LPARAM param)
{
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"Static") == 0) {
        wchar_t text[1024] = {};
        GetWindowTextW(child, text, 1024);
        *reinterpret_cast<std::wstring*>(param) += text;
    }
    return TRUE;
}

}  // namespace scripted_dialog_detail

// The text of every static control of a window (a message box's message), joined.
inline std::wstring StaticTexts(HWND window)
{
    std::wstring texts;
    EnumChildWindows(window, &scripted_dialog_detail::AppendStaticText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// The dialog box that `owner` owns, if any (a message box, an About box). A modal
// dialog without WS_VISIBLE is shown only once its loop is idle, so the box may not be
// visible yet.
inline HWND FindOwnedWindow(HWND owner) { return FindDialogBoxOwnedBy(owner, false); }

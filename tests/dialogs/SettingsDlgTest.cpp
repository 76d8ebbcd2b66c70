// The settings dialog, run for real in this process with the program's own resources and
// driven the way a user drives it: clicks, Enter, Esc, the close command.
#include "dialogs/SettingsDlg.h"
#include "res/resource.h"
#include "support/ScratchDirectory.h"
#include "support/ScriptedDialog.h"

#include <gtest/gtest.h>

namespace {

using Scripted = ScriptedDialog<CSettingsDlg>;
namespace fs = std::filesystem;

// Runs the dialog with a script and returns how it ended.
INT_PTR RunDialog(Scripted::Script script)
{
    Scripted dlg(std::move(script));
    return dlg.DoModal();
}

TEST(SettingsDlgTest, OpensWithDoNotUseCheckedWhateverTheFileHolds)
{
    ScratchDirectory dir;
    WriteWholeFile("TandL.ini", "1");
    EXPECT_EQ(RunDialog([](Scripted& d) {
                  EXPECT_TRUE(d.IsChecked(IDC_HWTNL_OFF));
                  EXPECT_FALSE(d.IsChecked(IDC_HWTNL_ON));
                  EXPECT_EQ(d.FocusId(), IDOK) << "the first tab stop has the focus";
                  d.Click(IDOK);
              }),
              IDOK);
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "0");
    EXPECT_EQ(dir.Listing(), "TandL.ini");
}

TEST(SettingsDlgTest, EnterConfirmsAndSavesTheChoice)
{
    ScratchDirectory dir;
    EXPECT_EQ(RunDialog([](Scripted& d) { d.PressKey(VK_RETURN); }), IDOK);
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "0");
}

TEST(SettingsDlgTest, TheRadioButtonsDecideTheSavedByte)
{
    ScratchDirectory dir;
    EXPECT_EQ(RunDialog([](Scripted& d) {
                  d.Click(IDC_HWTNL_ON);
                  EXPECT_FALSE(d.IsChecked(IDC_HWTNL_OFF)) << "the two buttons form one group";
                  d.Click(IDOK);
              }),
              IDOK);
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");

    EXPECT_EQ(RunDialog([](Scripted& d) {
                  d.Click(IDC_HWTNL_ON);
                  d.Click(IDC_HWTNL_OFF);
                  EXPECT_FALSE(d.IsChecked(IDC_HWTNL_ON));
                  d.PressKey(VK_RETURN);
              }),
              IDOK);
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "0");
}

TEST(SettingsDlgTest, CancelEscAndCloseWriteNothing)
{
    const std::pair<const char*, Scripted::Script> ways[] = {
        {"Cancel button",
         [](Scripted& d) {
             d.Click(IDC_HWTNL_ON);
             d.Click(IDCANCEL);
         }},
        {"Esc",
         [](Scripted& d) {
             d.Click(IDC_HWTNL_ON);
             d.PressKey(VK_ESCAPE);
         }},
        {"close command", [](Scripted& d) { d.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Enter on Cancel",
         [](Scripted& d) {
             SendMessageW(d.m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(d.m_hWnd, IDCANCEL)), TRUE);
             EXPECT_EQ(d.FocusId(), IDCANCEL);
             d.PressKey(VK_RETURN);
         }},
    };
    for (const auto& [way, script] : ways) {
        ScratchDirectory dir;
        EXPECT_EQ(RunDialog(script), IDCANCEL) << way;
        EXPECT_EQ(dir.Listing(), "") << way;

        WriteWholeFile("TandL.ini", "previous");
        EXPECT_EQ(RunDialog(script), IDCANCEL) << way;
        EXPECT_EQ(ReadWholeFile("TandL.ini"), "previous") << way;
        EXPECT_EQ(dir.Listing(), "TandL.ini") << way;
    }
}

constexpr UINT WM_ANSWER_MESSAGE_BOX = WM_APP + 1;

// A dialog that, while a message box it owns is up, notes its text and dismisses it.
class CMessageBoxWatchingDlg : public CSettingsDlg {
public:
    std::wstring messageBoxTitle;
    std::wstring messageBoxText;

protected:
    void AnswerMessageBox()
    {
        HWND box = FindOwnedWindow(m_hWnd);
        if (!box)
            return;
        wchar_t title[256] = {};
        ::GetWindowTextW(box, title, 256);
        messageBoxTitle = title;
        messageBoxText = StaticTexts(box);
        EXPECT_FALSE(IsWindowEnabled(m_hWnd)) << "the message box is modal to the dialog";
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }

    const MessageMap* GetMessageMap() const override { return &messageMap; }
    static const MessageMap messageMap;

private:
    static const MessageEntry messageEntries[];
};
const MessageEntry CMessageBoxWatchingDlg::messageEntries[] = {
    MessageMapOf<CMessageBoxWatchingDlg>::OnMessage<WM_ANSWER_MESSAGE_BOX, &CMessageBoxWatchingDlg::AnswerMessageBox>(),
};
const MessageMap CMessageBoxWatchingDlg::messageMap = {&CDialog::messageMap, messageEntries, std::size(messageEntries)};

TEST(SettingsDlgTest, AFailedSaveIsReportedAndTheDialogStaysOpen)
{
    CWinApp app;  // which shows the messages
    ScratchDirectory dir;
    fs::create_directory("TandL.ini");
    bool stayedOpen = false;
    ScriptedDialog<CMessageBoxWatchingDlg> dlg([&stayedOpen](ScriptedDialog<CMessageBoxWatchingDlg>& d) {
        // Handled inside the message box's own modal loop.
        PostMessageW(d.m_hWnd, WM_ANSWER_MESSAGE_BOX, 0, 0);
        d.Click(IDOK);
        stayedOpen = IsWindowVisible(d.m_hWnd) && IsWindowEnabled(d.m_hWnd);
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);

    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(dlg.messageBoxTitle, L"Vorlamy");
    EXPECT_NE(dlg.messageBoxText.find(L"TandL.ini"), std::wstring::npos) << "names the file";
    EXPECT_NE(dlg.messageBoxText.find(L"保存できませんでした"), std::wstring::npos);
    EXPECT_NE(dlg.messageBoxText.find(L"\nThe setting file TandL.ini could not be saved."), std::wstring::npos)
        << "in English too, on a line of its own";
    // A byte written but not confirmed on the disk is told as such, with the reason.
    const std::wstring unconfirmed(SaveFailureText({HwTnlSaveResult::Outcome::Unconfirmed, ERROR_IO_DEVICE}));
    EXPECT_NE(unconfirmed.find(L"確認できませんでした"), std::wstring::npos);
    EXPECT_NE(unconfirmed.find(L"(1117)"), std::wstring::npos);
    const std::wstring leftEmpty(SaveFailureText({HwTnlSaveResult::Outcome::LeftEmpty, ERROR_DISK_FULL}));
    EXPECT_NE(leftEmpty.find(L"It was made, and is left empty."), std::wstring::npos) << "never \"not changed\"";
    EXPECT_NE(dlg.messageBoxText.find(L"("), std::wstring::npos) << "gives the system's reason";
    EXPECT_TRUE(fs::is_directory("TandL.ini"));
    EXPECT_EQ(dir.Listing(), "TandL.ini") << "no temporary file is left behind";
}

TEST(SettingsDlgTest, AWorkingDirectoryLongerThan260CharactersGetsTheFileOrAReport)
{
    ScratchDirectory dir;
    // Nested folders, created and entered through the \\?\ form that long paths need.
    std::wstring deep = L"\\\\?\\" + dir.Path().wstring();
    while (deep.size() < 300) {
        deep += L"\\" + std::wstring(40, L'd');
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr)) << GetLastError();
    }
    if (!SetCurrentDirectoryW(deep.c_str()))
        GTEST_SKIP() << "this system keeps no working directory that long: " << GetLastError();

    bool stayedOpen = false;
    ScriptedDialog<CMessageBoxWatchingDlg> dlg([&stayedOpen](ScriptedDialog<CMessageBoxWatchingDlg>& d) {
        PostMessageW(d.m_hWnd, WM_ANSWER_MESSAGE_BOX, 0, 0);
        d.Click(IDOK);
        stayedOpen = IsWindowVisible(d.m_hWnd) != FALSE;  // EndDialog hides it at once
        if (stayedOpen)
            d.Click(IDCANCEL);
    });
    const INT_PTR result = dlg.DoModal();
    SetCurrentDirectoryW(dir.Path().c_str());

    if (result == IDOK) {
        HANDLE file = CreateFileW((deep + L"\\TandL.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << "saved, so the file is there";
        char content[4] = {};
        DWORD read = 0;
        ReadFile(file, content, sizeof content, &read, nullptr);
        CloseHandle(file);
        EXPECT_EQ(std::string(content, read), "0");
    } else {
        EXPECT_TRUE(stayedOpen) << "DoModal returned " << result;
        EXPECT_NE(dlg.messageBoxText.find(L"TandL.ini"), std::wstring::npos) << "a failed save is reported";
    }
    EXPECT_EQ(dir.Listing(), std::string(40, 'd')) << "never a file elsewhere";
}

}  // namespace

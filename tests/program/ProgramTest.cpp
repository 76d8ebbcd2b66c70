// The real program, started as a process of its own in a scratch working directory and
// driven from outside the way a user would drive it.
#include "res/resource.h"
#include "support/Executables.h"
#include "support/ScratchDirectory.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
constexpr DWORD kPatienceMs = 20000;

class RunningProgram {
public:
    RunningProgram(const fs::path& exe, const std::wstring& arguments, const fs::path& directory)
    {
        std::wstring commandLine = L"\"" + exe.wstring() + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        m_started = CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   directory.c_str(), &startup, &m_process);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    ~RunningProgram()
    {
        if (!m_started)
            return;
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(m_process.hProcess, 99);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }

    bool Started() const { return m_started; }

    // The program's visible settings dialog, once it is up; null if it never comes.
    HWND WaitForDialog()
    {
        for (DWORD waited = 0; waited < kPatienceMs; waited += 20) {
            m_dialog = nullptr;
            EnumWindows(&RunningProgram::MatchDialog, reinterpret_cast<LPARAM>(this));
            if (m_dialog)
                return m_dialog;
            if (WaitForSingleObject(m_process.hProcess, 20) != WAIT_TIMEOUT)
                return nullptr;
        }
        return nullptr;
    }

    // A top-level window of the program with this caption, once it is up.
    HWND WaitForWindow(const std::wstring& caption)
    {
        m_wanted = caption;
        HWND found = WaitForDialog();
        m_wanted = L"Vorlamy";
        return found;
    }
    HWND Dialog() const { return m_dialog; }

    void Click(int id) const { SendMessageW(GetDlgItem(m_dialog, id), BM_CLICK, 0, 0); }
    bool IsChecked(int id) const { return SendMessageW(GetDlgItem(m_dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // A key press, delivered to the control that has the focus in the program.
    void PressKey(WPARAM key) const
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(m_dialog, nullptr), &info);
        HWND target = info.hwndFocus ? info.hwndFocus : m_dialog;
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    }

    // The exit code once the process has ended, or STILL_ACTIVE if it does not end.
    DWORD WaitForExit() const
    {
        if (WaitForSingleObject(m_process.hProcess, kPatienceMs) != WAIT_OBJECT_0)
            return STILL_ACTIVE;
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }

private:
    static BOOL CALLBACK MatchDialog(HWND window, LPARAM param)
    {
        auto* self = reinterpret_cast<RunningProgram*>(param);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t caption[64] = {};
        // (compared as a string below)
        GetWindowTextW(window, caption, 64);
        if (process == self->m_process.dwProcessId && IsWindowVisible(window) && caption == self->m_wanted) {
            self->m_dialog = window;
            return FALSE;
        }
        return TRUE;
    }

    PROCESS_INFORMATION m_process{};
    bool m_started = false;
    HWND m_dialog = nullptr;
    std::wstring m_wanted = L"Vorlamy";
};

// This build's own executable: the tests run it on the architecture they were built for.
class ProgramTest : public testing::Test {
protected:
    const fs::path exe = ProgramExecutables().front().path;
    ScratchDirectory directory;
};

TEST_F(ProgramTest, OkSavesDoNotUseAndEndsTheProcess)
{
    WriteWholeFile("TandL.ini", "1");
    RunningProgram program(exe, L"", directory.Path());
    ASSERT_TRUE(program.Started());
    ASSERT_NE(program.WaitForDialog(), nullptr);
    EXPECT_TRUE(program.IsChecked(IDC_HWTNL_OFF)) << "the file is never read";
    EXPECT_FALSE(program.IsChecked(IDC_HWTNL_ON));
    program.Click(IDOK);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "0");
    EXPECT_EQ(directory.Listing(), "TandL.ini");
    EXPECT_FALSE(fs::exists(exe.parent_path() / "TandL.ini")) << "nothing beside the program";
}

TEST_F(ProgramTest, ArgumentsAreIgnoredAndEnterSavesTheChoice)
{
    RunningProgram program(exe, L"/s --hwtnl=0 TandL.ini", directory.Path());
    ASSERT_TRUE(program.Started());
    ASSERT_NE(program.WaitForDialog(), nullptr);
    EXPECT_TRUE(program.IsChecked(IDC_HWTNL_OFF));
    program.Click(IDC_HWTNL_ON);
    program.PressKey(VK_RETURN);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");
}

TEST_F(ProgramTest, CancelEndsTheProcessAndWritesNothing)
{
    RunningProgram program(exe, L"", directory.Path());
    ASSERT_TRUE(program.Started());
    ASSERT_NE(program.WaitForDialog(), nullptr);
    program.Click(IDC_HWTNL_ON);
    program.Click(IDCANCEL);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(directory.Listing(), "");
}

TEST_F(ProgramTest, TheAboutEntryOpensTheVersionBoxAndTheProgramStillEndsCleanly)
{
    RunningProgram program(exe, L"", directory.Path());
    ASSERT_TRUE(program.Started());
    HWND settings = program.WaitForDialog();
    ASSERT_NE(settings, nullptr);
    program.Click(IDC_HWTNL_ON);
    // The system menu's About entry, chosen: its command reaches the dialog as this.
    PostMessageW(settings, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND about = program.WaitForWindow(L"Vorlamyのﾊﾞｰｼﾞｮﾝ情報");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(GetWindow(about, GW_OWNER), settings);
    EXPECT_FALSE(IsWindowEnabled(settings));
    SendMessageW(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    for (int i = 0; i < 100 && IsWindow(about); ++i)
        Sleep(20);
    EXPECT_FALSE(IsWindow(about));
    EXPECT_TRUE(IsWindowEnabled(settings));

    program.WaitForDialog();
    EXPECT_TRUE(program.IsChecked(IDC_HWTNL_ON)) << "the choice survives the About box";
    program.Click(IDOK);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");
}

}  // namespace

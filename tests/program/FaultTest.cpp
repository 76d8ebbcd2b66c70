// Faults tried on the real program: each starts the executable as its own process and
// makes the save fail (or race) for real. Whatever happens, the program must not crash,
// must say so when the save fails and stay open, must leave the previous TandL.ini
// byte for byte as it was, and must leave no temporary file behind.
#include "res/resource.h"
#include "support/Executables.h"
#include "support/HeldFile.h"
#include "support/HostSystem.h"
#include "support/RunningProgram.h"
#include "support/ScratchDirectory.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// Windows keeps a program's working directory from being removed; a Unix host under Wine
// does not. Removes the directory the way the host system would, where that is possible.
bool RemoveThroughTheHostSystem(const fs::path& directory)
{
    return RunOnHostPath(L"/bin/rmdir", L"", directory,
                         [&] { return GetFileAttributesW(directory.c_str()) == INVALID_FILE_ATTRIBUTES; });
}

// Whether a new file can be made in a folder now. The file made to find out goes again;
// one left behind when the folder closed between the two steps goes at the next try that
// the folder allows.
bool FolderTakesNewFiles(const fs::path& folder)
{
    const fs::path probe = folder / L"probe";
    DeleteFileW(probe.c_str());
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    DeleteFileW(probe.c_str());
    return true;
}

// A folder in which its users may write the files there but create none (mode 0555 on
// the host), for the life of the object.
class FolderWithoutCreateRight {
public:
    explicit FolderWithoutCreateRight(const fs::path& folder) : m_folder(folder)
    {
        m_refuses = RunOnHostPath(L"/bin/chmod", L"0555", m_folder, [&] { return !FolderTakesNewFiles(m_folder); });
    }
    FolderWithoutCreateRight(const FolderWithoutCreateRight&) = delete;
    FolderWithoutCreateRight& operator=(const FolderWithoutCreateRight&) = delete;
    ~FolderWithoutCreateRight()
    {
        RunOnHostPath(L"/bin/chmod", L"0755", m_folder, [&] { return FolderTakesNewFiles(m_folder); });
    }
    // False where the host has no such modes, or the tests run with root's override.
    bool Refuses() const { return m_refuses; }

private:
    fs::path m_folder;
    bool m_refuses = false;
};

std::wstring ClipboardText()
{
    std::wstring text;
    if (OpenClipboard(nullptr)) {
        if (const auto* copied = static_cast<const wchar_t*>(GetClipboardData(CF_UNICODETEXT)))
            text = copied;
        CloseClipboard();
    }
    return text;
}

class FaultTest : public testing::Test {
protected:
    // OK is pressed and must fail: the message names the file and the dialog stays open,
    // ready for another try or for Cancel, which ends the program normally.
    void ExpectTheSaveToFailVisibly(RunningProgram& program)
    {
        // Posted: the program answers the click only once its message box is closed.
        PostMessageW(GetDlgItem(program.Dialog(), IDOK), BM_CLICK, 0, 0);
        HWND box = program.WaitForOwnedBox();
        ASSERT_NE(box, nullptr) << "no error message";
        const std::wstring text = RunningProgram::ChildTexts(box);
        EXPECT_NE(text.find(L"TandL.ini"), std::wstring::npos);
        EXPECT_NE(text.find(L"保存できませんでした"), std::wstring::npos);
        // Ctrl+C copies the message, as Windows' message box does; Esc closes it.
        if (OpenClipboard(nullptr))
            EmptyClipboard(), CloseClipboard();
        program.TypeKeys({'C'}, VK_CONTROL, box);
        EXPECT_NE(ClipboardText().find(L"保存できませんでした"), std::wstring::npos) << "Ctrl+C copies it";
        program.TypeKeys({VK_ESCAPE}, 0, box);
        for (int i = 0; i < 100 && IsWindow(box); ++i)
            Sleep(20);
        EXPECT_TRUE(program.IsRunning()) << "no crash, no exit";
        EXPECT_TRUE(IsWindowVisible(program.Dialog()) && IsWindowEnabled(program.Dialog())) << "the dialog stays open";
        program.Click(IDCANCEL);
        EXPECT_EQ(program.WaitForExit(), 0u);
    }

    const fs::path exe = ProgramExecutables().front().path;
    ScratchDirectory directory;
};

TEST_F(FaultTest, AReadOnlyFileIsReportedAndKept)
{
    WriteWholeFile("TandL.ini", "1");
    ASSERT_TRUE(SetFileAttributesW(L"TandL.ini", FILE_ATTRIBUTE_READONLY));
    RunningProgram program(exe, L"", directory.Path());
    ASSERT_NE(program.WaitForDialog(), nullptr);
    ExpectTheSaveToFailVisibly(program);
    SetFileAttributesW(L"TandL.ini", FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");
    EXPECT_EQ(directory.Listing(), "TandL.ini");
}

// The companion program holds its setting open, as fopen(..., "r") does, while the user
// saves: the save gets through, and the file is exactly the new byte.
TEST_F(FaultTest, AFileTheCompanionProgramHoldsOpenIsSaved)
{
    WriteWholeFile("TandL.ini", "1\r\nand more");
    HeldFile reader(L"TandL.ini", FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(reader.IsOpen());
    RunningProgram program(exe, L"", directory.Path());
    ASSERT_NE(program.WaitForDialog(), nullptr);
    program.Click(IDOK);
    EXPECT_EQ(program.WaitForExit(), 0u) << "saved without a message";
    EXPECT_EQ(reader.ReadFromStart(), "0");
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "0");
    EXPECT_EQ(directory.Listing(), "TandL.ini");
}

TEST_F(FaultTest, AFileHeldWithoutSharingIsReportedAndKept)
{
    WriteWholeFile("TandL.ini", "1");
    {
        HeldFile holder(L"TandL.ini", 0);
        ASSERT_TRUE(holder.IsOpen());
        RunningProgram program(exe, L"", directory.Path());
        ASSERT_NE(program.WaitForDialog(), nullptr);
        ExpectTheSaveToFailVisibly(program);
    }
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");
    EXPECT_EQ(directory.Listing(), "TandL.ini");
}

// An installer may open TandL.ini to its players and nothing else in the folder; a plain
// write of the file works there, and so must the save.
TEST_F(FaultTest, AFolderThatForbidsNewFilesStillGetsItsTandLIniSaved)
{
    WriteWholeFile("TandL.ini", "1");
    {
        FolderWithoutCreateRight locked(directory.Path());
        ASSERT_TRUE(locked.Refuses()) << "no folder without create right here: Wine must run without root's "
                                         "override of file modes (scripts/test.sh sees to it)";
        RunningProgram program(exe, L"", directory.Path());
        ASSERT_NE(program.WaitForDialog(), nullptr);
        program.Click(IDOK);
        EXPECT_EQ(program.WaitForExit(), 0u) << "saved without a message";
    }
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "0");
    EXPECT_EQ(directory.Listing(), "TandL.ini");
}

TEST_F(FaultTest, EveryNameOfTandLIniSeesTheSave)
{
    WriteWholeFile("TandL.ini", "1");
    ASSERT_TRUE(CreateHardLinkW(L"TandL.backup", L"TandL.ini", nullptr));
    RunningProgram program(exe, L"", directory.Path());
    ASSERT_NE(program.WaitForDialog(), nullptr);
    program.Click(IDOK);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "0");
    EXPECT_EQ(ReadWholeFile("TandL.backup"), "0");
}

TEST_F(FaultTest, ADirectoryInTheWayIsReportedAndKept)
{
    fs::create_directory("TandL.ini");
    WriteWholeFile("TandL.ini/inside", "x");
    RunningProgram program(exe, L"", directory.Path());
    ASSERT_NE(program.WaitForDialog(), nullptr);
    ExpectTheSaveToFailVisibly(program);
    EXPECT_EQ(ReadWholeFile("TandL.ini/inside"), "x");
    EXPECT_EQ(directory.Listing(), "TandL.ini");
}

TEST_F(FaultTest, AWorkingDirectoryRemovedWhileTheDialogIsOpenIsReported)
{
    const fs::path doomed = directory.Path() / "doomed";
    fs::create_directory(doomed);
    RunningProgram program(exe, L"", doomed);
    ASSERT_NE(program.WaitForDialog(), nullptr);
    std::error_code error;
    if (!fs::remove(doomed, error) && !RemoveThroughTheHostSystem(doomed))
        GTEST_SKIP() << "this system keeps a program's working directory from being removed";
    ExpectTheSaveToFailVisibly(program);
    EXPECT_EQ(directory.Listing(), "") << "no file anywhere else";
}

TEST_F(FaultTest, TwoCopiesEachSaveAndTheLastConfirmedWins)
{
    RunningProgram first(exe, L"", directory.Path());
    RunningProgram second(exe, L"", directory.Path());
    ASSERT_NE(first.WaitForDialog(), nullptr);
    ASSERT_NE(second.WaitForDialog(), nullptr);
    ASSERT_NE(first.Dialog(), second.Dialog()) << "each copy shows its own dialog";

    first.Click(IDC_HWTNL_ON);
    first.Click(IDOK);
    EXPECT_EQ(first.WaitForExit(), 0u);
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");
    second.Click(IDOK);
    EXPECT_EQ(second.WaitForExit(), 0u);
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "0");
    EXPECT_EQ(directory.Listing(), "TandL.ini");
}

TEST_F(FaultTest, TwoCopiesSavingAtTheSameMomentDoNotClash)
{
    for (int round = 0; round < 5; ++round) {
        RunningProgram first(exe, L"", directory.Path());
        RunningProgram second(exe, L"", directory.Path());
        ASSERT_NE(first.WaitForDialog(), nullptr);
        ASSERT_NE(second.WaitForDialog(), nullptr);
        second.Click(IDC_HWTNL_ON);
        // Both OK presses are queued before either copy handles one.
        PostMessageW(GetDlgItem(first.Dialog(), IDOK), BM_CLICK, 0, 0);
        PostMessageW(GetDlgItem(second.Dialog(), IDOK), BM_CLICK, 0, 0);
        EXPECT_EQ(first.WaitForExit(), 0u) << "round " << round << ": both saves succeed";
        EXPECT_EQ(second.WaitForExit(), 0u) << "round " << round;
        const std::string content = ReadWholeFile("TandL.ini");
        EXPECT_TRUE(content == "0" || content == "1") << "round " << round << ": " << content;
        EXPECT_EQ(directory.Listing(), "TandL.ini") << "round " << round;
    }
}

TEST_F(FaultTest, AJapaneseWorkingDirectoryGetsTheFile)
{
    const fs::path japanese = directory.Path() / L"設定 ﾃｽﾄ フォルダ";
    fs::create_directory(japanese);
    RunningProgram program(exe, L"", japanese);
    ASSERT_NE(program.WaitForDialog(), nullptr);
    program.Click(IDC_HWTNL_ON);
    program.Click(IDOK);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(ReadWholeFile(japanese / "TandL.ini"), "1");
    EXPECT_EQ(directory.Listing(), japanese.filename().string());
}

// A working directory longer than 260 characters is tried in-process, with the real
// dialog (see the settings dialog's tests): handing such a directory to CreateProcessW
// under Wine mostly fails with ERROR_PATH_NOT_FOUND and at times corrupts the calling
// process's heap, a fault of the launcher, not of the program.

}  // namespace

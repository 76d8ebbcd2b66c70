// The real program, started as a process of its own in a scratch working directory and
// driven from outside the way a user would drive it.
#include "res/resource.h"
#include "support/Executables.h"
#include "support/RunningProgram.h"
#include "support/ScratchDirectory.h"
#include "support/WindowGeometry.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

namespace fs = std::filesystem;
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

// The keyboard path the read-me gives: Tab reaches the choice (the checked button holds
// the tab stop, though the template gives neither one), an arrow key changes it, Enter
// saves. Real key presses, from the system's input queue.
TEST_F(ProgramTest, TheKeyboardAloneReachesChangesAndSavesTheChoice)
{
    RunningProgram program(exe, L"", directory.Path());
    ASSERT_NE(program.WaitForDialog(), nullptr);
    program.TypeKeys({VK_TAB});
    EXPECT_EQ(program.FocusedId(), IDCANCEL);
    program.TypeKeys({VK_TAB});
    EXPECT_EQ(program.FocusedId(), IDC_HWTNL_OFF) << "Tab, Tab lands on the checked choice";
    program.TypeKeys({VK_DOWN});
    EXPECT_EQ(program.FocusedId(), IDC_HWTNL_ON);
    EXPECT_TRUE(program.IsChecked(IDC_HWTNL_ON));
    EXPECT_FALSE(program.IsChecked(IDC_HWTNL_OFF));
    program.TypeKeys({VK_RETURN});
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");
}

TEST_F(ProgramTest, ShiftTabFromOkReachesTheChoiceAndEscCancels)
{
    RunningProgram program(exe, L"", directory.Path());
    ASSERT_NE(program.WaitForDialog(), nullptr);
    program.TypeKeys({});
    ASSERT_EQ(program.FocusedId(), IDOK);
    program.TypeKeys({VK_TAB}, VK_SHIFT);
    EXPECT_EQ(program.FocusedId(), IDC_HWTNL_OFF);
    program.TypeKeys({VK_ESCAPE});
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(directory.Listing(), "");
}

// The test command runs the program's tests again under a Japanese system locale and
// names its code page here; this shows that the locale really took hold.
TEST(SystemLocaleTest, IsTheOneTheTestRunAskedFor)
{
    const char* expected = std::getenv("VORLAMY_EXPECTED_ACP");
    if (!expected)
        GTEST_SKIP() << "this run asks for no particular locale";
    EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
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

TEST_F(ProgramTest, TheSettingsDialogOpensInTheMiddleOfTheScreenAndTheAboutBoxOverIt)
{
    RunningProgram program(exe, L"", directory.Path());
    HWND settings = program.WaitForDialog();
    ASSERT_NE(settings, nullptr);
    EXPECT_LE(CentreDistance(WindowRect(settings), WorkAreaOf(settings)), 2) << "in the middle of the work area";

    PostMessageW(settings, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND about = program.WaitForWindow(L"Vorlamyのﾊﾞｰｼﾞｮﾝ情報");
    ASSERT_NE(about, nullptr);
    EXPECT_LE(CentreDistance(WindowRect(about), WindowRect(settings)), 2) << "over the settings dialog";
    SendMessageW(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    program.WaitForDialog();
    program.Click(IDCANCEL);
    EXPECT_EQ(program.WaitForExit(), 0u);
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

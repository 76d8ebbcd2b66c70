// The setting file, written for real in a scratch working directory. Runs natively and,
// cross-built, under Wine, so both the POSIX and the Win32 branch of the writer are tried.
#include "setting/HwTnlFile.h"

#include "support/ScratchDirectory.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "support/HeldFile.h"

#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

fs::path ExecutableDirectory()
{
#ifdef _WIN32
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
#else
    return fs::read_symlink("/proc/self/exe").parent_path();
#endif
}

TEST(HwTnlStateTest, CheckStateOfTheOffButtonMapsToTheStoredByte)
{
    EXPECT_EQ(HwTnlStateFromOffButton(true), HwTnlState::Off);
    EXPECT_EQ(HwTnlStateFromOffButton(false), HwTnlState::On);
    EXPECT_EQ(HwTnlFileByte(HwTnlState::Off), '0');
    EXPECT_EQ(HwTnlFileByte(HwTnlState::On), '1');
}

TEST(HwTnlFileTest, WritesExactlyOneByteForEachState)
{
    ScratchDirectory dir;
    ASSERT_TRUE(WriteHwTnlFile(HwTnlState::On));
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");
    ASSERT_TRUE(WriteHwTnlFile(HwTnlState::Off));
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "0");
    EXPECT_EQ(dir.Listing(), "TandL.ini") << "no temporary file may be left behind";
}

TEST(HwTnlFileTest, ReplacesALongerExistingFileWithOneByte)
{
    ScratchDirectory dir;
    WriteWholeFile("TandL.ini", "[Settings]\r\nHwTnl=1\r\n" + std::string(5000, 'x'));
    ASSERT_TRUE(WriteHwTnlFile(HwTnlState::Off));
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "0");
    EXPECT_EQ(fs::file_size("TandL.ini"), 1u);
}

TEST(HwTnlFileTest, LandsInTheWorkingDirectoryAndNotBesideTheExecutable)
{
    const fs::path besideExecutable = ExecutableDirectory() / "TandL.ini";
    ASSERT_FALSE(fs::exists(besideExecutable)) << "a stale file would hide the fault";
    ScratchDirectory dir;
    ASSERT_NE(fs::canonical(dir.Path()), fs::canonical(ExecutableDirectory()));
    ASSERT_TRUE(WriteHwTnlFile(HwTnlState::On));
    EXPECT_EQ(ReadWholeFile(dir.Path() / "TandL.ini"), "1");
    EXPECT_FALSE(fs::exists(besideExecutable));
}

TEST(HwTnlFileTest, ADirectoryInTheWayIsReportedAndLeftAsItWas)
{
    ScratchDirectory dir;
    fs::create_directory("TandL.ini");
    WriteWholeFile("TandL.ini/keep", "k");

    const HwTnlSaveResult result = WriteHwTnlFile(HwTnlState::On);
    EXPECT_FALSE(result);
    EXPECT_NE(result.systemError, 0u);
    EXPECT_TRUE(fs::is_directory("TandL.ini"));
    EXPECT_EQ(ReadWholeFile("TandL.ini/keep"), "k");
    EXPECT_EQ(dir.Listing(), "TandL.ini") << "the temporary file must be removed";
}

#ifdef _WIN32
// The companion program reading its setting holds the file the way the C runtime's
// fopen(..., "r") does: read and write shared, delete not. That blocks a rename, but the
// save still gets through, by writing in place.
TEST(HwTnlFileTest, AFileHeldOpenForReadingIsRewrittenInPlace)
{
    ScratchDirectory dir;
    WriteWholeFile("TandL.ini", "1\r\nlonger than one byte");
    HeldFile reader(L"TandL.ini", FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(reader.IsOpen());

    const HwTnlSaveResult result = WriteHwTnlFile(HwTnlState::Off);
    EXPECT_TRUE(result) << result.systemError;
    EXPECT_EQ(reader.ReadFromStart(), "0") << "the reader sees exactly the new byte";
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "0");
    EXPECT_EQ(dir.Listing(), "TandL.ini") << "the temporary file must be removed";
}

// A program that shares nothing blocks every way in: the save fails, says why, and the
// old content stays.
TEST(HwTnlFileTest, AFileHeldWithoutSharingIsReportedAndKept)
{
    ScratchDirectory dir;
    WriteWholeFile("TandL.ini", "1");
    {
        HeldFile holder(L"TandL.ini", 0);
        ASSERT_TRUE(holder.IsOpen());
        const HwTnlSaveResult result = WriteHwTnlFile(HwTnlState::Off);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.systemError, static_cast<unsigned long>(ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");
    EXPECT_EQ(dir.Listing(), "TandL.ini");
}
#endif

#ifndef _WIN32
// POSIX lets a process stand in a directory that has been removed; Windows does not let
// the directory go while it is some process's working directory.
TEST(HwTnlFileTest, AWorkingDirectoryThatNoLongerExistsIsReported)
{
    ScratchDirectory dir;
    const fs::path gone = dir.Path() / "gone";
    fs::create_directory(gone);
    ASSERT_EQ(chdir(gone.c_str()), 0);
    fs::remove(gone);

    const HwTnlSaveResult result = WriteHwTnlFile(HwTnlState::Off);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.systemError, static_cast<unsigned long>(ENOENT));
    EXPECT_FALSE(fs::exists(gone));
}

// A write that the system refuses (here: a file size limit of zero, which holds even for
// root) must be reported, and the previous setting must survive it untouched.
TEST(HwTnlFileTest, AFailedWriteKeepsThePreviousFileIntact)
{
    ScratchDirectory dir;
    WriteWholeFile("TandL.ini", "1");

    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit none = previous;
    none.rlim_cur = 0;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
    const HwTnlSaveResult result = WriteHwTnlFile(HwTnlState::Off);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(result);
    EXPECT_EQ(result.systemError, static_cast<unsigned long>(EFBIG));
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");
    EXPECT_EQ(dir.Listing(), "TandL.ini");
}
#endif

TEST(HwTnlFileTest, AReadOnlyFileIsKeptAndTheRefusalReported)
{
    ScratchDirectory dir;
    WriteWholeFile("TandL.ini", "1");
    fs::permissions("TandL.ini", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const HwTnlSaveResult result = WriteHwTnlFile(HwTnlState::Off);
    fs::permissions("TandL.ini", fs::perms::owner_write, fs::perm_options::add);
    EXPECT_FALSE(result);
    EXPECT_NE(result.systemError, 0u);
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");
    EXPECT_EQ(dir.Listing(), "TandL.ini");
}

TEST(HwTnlFileTest, ALeftoverTemporaryFileDoesNotBlockTheSave)
{
    ScratchDirectory dir;
#ifdef _WIN32
    const std::string pid = std::to_string(GetCurrentProcessId());
#else
    const std::string pid = std::to_string(getpid());
#endif
    const std::string leftover = "TandL.ini." + pid + ".tmp";
    WriteWholeFile(leftover, "stale");
    ASSERT_TRUE(WriteHwTnlFile(HwTnlState::On));
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");
    EXPECT_EQ(ReadWholeFile(leftover), "stale") << "somebody else's file is not ours to touch";
}

}  // namespace

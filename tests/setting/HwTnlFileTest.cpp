// The setting file, written for real in a scratch working directory. Runs natively and,
// cross-built, under Wine, so both the POSIX and the Win32 branch of the writer are tried.
#include "setting/HwTnlFile.h"
#include "setting/SaveSteps.h"

#include "support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include "support/HeldFile.h"

#include <windows.h>

#include <atomic>
#include <set>
#include <thread>
#else
#include "support/OrdinaryUser.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using save_steps::SystemCalls;

namespace {

// The ways a save can go on this system: on Windows, also the way of Windows XP, which
// has no SetFileInformationByHandle. Each save case is tried on each.
struct SaveSystem {
    const char* name;
    SystemCalls calls;
};

void PrintTo(const SaveSystem& system, std::ostream* out) { *out << system.name; }

std::vector<SaveSystem> SaveSystems()
{
    std::vector<SaveSystem> systems{{"ThisSystem", SystemCalls::OfThisSystem()}};
#ifdef _WIN32
    systems.push_back({"WindowsXp", {nullptr, MoveFileExW}});
#endif
    return systems;
}

class HwTnlFileTest : public testing::TestWithParam<SaveSystem> {
protected:
    HwTnlSaveResult Save(HwTnlState state) { return WriteHwTnlFile(state, GetParam().calls); }
#ifdef _WIN32
    bool OnWindowsXp() const { return GetParam().calls.setFileInformationByHandle == nullptr; }
#else
    // The save as an ordinary user makes it: 0 when saved, otherwise the error it reported.
    int SaveAsOrdinaryUser(HwTnlState state)
    {
        return RunAsOrdinaryUser([this, state] {
            const HwTnlSaveResult result = Save(state);
            return result ? 0 : static_cast<int>(result.systemError % kOverrideNotDropped);
        });
    }
#endif
};

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

TEST_P(HwTnlFileTest, WritesExactlyOneByteForEachState)
{
    ScratchDirectory dir;
    ASSERT_TRUE(Save(HwTnlState::On));
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");
    ASSERT_TRUE(Save(HwTnlState::Off));
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "0");
    EXPECT_EQ(dir.Listing(), "TandL.ini") << "no temporary file may be left behind";
}

TEST_P(HwTnlFileTest, ReplacesALongerExistingFileWithOneByte)
{
    ScratchDirectory dir;
    WriteWholeFile("TandL.ini", "[Settings]\r\nHwTnl=1\r\n" + std::string(5000, 'x'));
    ASSERT_TRUE(Save(HwTnlState::Off));
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "0");
    EXPECT_EQ(fs::file_size("TandL.ini"), 1u);
}

TEST_P(HwTnlFileTest, LandsInTheWorkingDirectoryAndNotBesideTheExecutable)
{
    const fs::path besideExecutable = ExecutableDirectory() / "TandL.ini";
    ASSERT_FALSE(fs::exists(besideExecutable)) << "a stale file would hide the fault";
    ScratchDirectory dir;
    ASSERT_NE(fs::canonical(dir.Path()), fs::canonical(ExecutableDirectory()));
    ASSERT_TRUE(Save(HwTnlState::On));
    EXPECT_EQ(ReadWholeFile(dir.Path() / "TandL.ini"), "1");
    EXPECT_FALSE(fs::exists(besideExecutable));
}

// Written where it stands, TandL.ini stays the file it was: every name it has sees the
// save, and what the player or an installer set on it stays.
TEST_P(HwTnlFileTest, AnExistingFileStaysTheSameFileWithItsLinksAndAttributes)
{
    ScratchDirectory dir;
    WriteWholeFile("TandL.ini", "1");
    fs::create_hard_link("TandL.ini", "second name.ini");
#ifdef _WIN32
    ASSERT_TRUE(SetFileAttributesW(L"TandL.ini", FILE_ATTRIBUTE_HIDDEN));
#else
    const fs::perms ownerWritesGroupReads = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions("TandL.ini", ownerWritesGroupReads);
#endif

    ASSERT_TRUE(Save(HwTnlState::Off));
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "0");
    EXPECT_EQ(ReadWholeFile("second name.ini"), "0") << "the other name of the same file";
#ifdef _WIN32
    EXPECT_TRUE(GetFileAttributesW(L"TandL.ini") & FILE_ATTRIBUTE_HIDDEN);
#else
    EXPECT_EQ(fs::status("TandL.ini").permissions(), ownerWritesGroupReads);
#endif
    EXPECT_EQ(dir.Listing(), "TandL.ini second name.ini");
}

TEST_P(HwTnlFileTest, ADirectoryInTheWayIsReportedAndLeftAsItWas)
{
    ScratchDirectory dir;
    fs::create_directory("TandL.ini");
    WriteWholeFile("TandL.ini/keep", "k");

    const HwTnlSaveResult result = Save(HwTnlState::On);
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
TEST_P(HwTnlFileTest, AFileHeldOpenForReadingIsRewrittenInPlace)
{
    ScratchDirectory dir;
    WriteWholeFile("TandL.ini", "1\r\nlonger than one byte");
    HeldFile reader(L"TandL.ini", FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(reader.IsOpen());

    const HwTnlSaveResult result = Save(HwTnlState::Off);
    EXPECT_TRUE(result) << result.systemError;
    EXPECT_EQ(reader.ReadFromStart(), "0") << "the reader sees exactly the new byte";
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "0");
    EXPECT_EQ(dir.Listing(), "TandL.ini") << "the temporary file must be removed";
}

// A program that shares nothing blocks every way in: the save fails, says why, and the
// old content stays.
TEST_P(HwTnlFileTest, AFileHeldWithoutSharingIsReportedAndKept)
{
    ScratchDirectory dir;
    WriteWholeFile("TandL.ini", "1");
    {
        HeldFile holder(L"TandL.ini", 0);
        ASSERT_TRUE(holder.IsOpen());
        const HwTnlSaveResult result = Save(HwTnlState::Off);
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
TEST_P(HwTnlFileTest, AWorkingDirectoryThatNoLongerExistsIsReported)
{
    ScratchDirectory dir;
    const fs::path gone = dir.Path() / "gone";
    fs::create_directory(gone);
    ASSERT_EQ(chdir(gone.c_str()), 0);
    fs::remove(gone);

    const HwTnlSaveResult result = Save(HwTnlState::Off);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.systemError, static_cast<unsigned long>(ENOENT));
    EXPECT_FALSE(fs::exists(gone));
}

// A write that the system refuses (here: a file size limit of zero, which holds even for
// root) must be reported, and the previous setting must survive it untouched.
TEST_P(HwTnlFileTest, AFailedWriteKeepsThePreviousFileIntact)
{
    ScratchDirectory dir;
    WriteWholeFile("TandL.ini", "1");

    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit none = previous;
    none.rlim_cur = 0;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
    const HwTnlSaveResult result = Save(HwTnlState::Off);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(result);
    EXPECT_EQ(result.systemError, static_cast<unsigned long>(EFBIG));
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");
    EXPECT_EQ(dir.Listing(), "TandL.ini");
}
#endif

#ifndef _WIN32
TEST_P(HwTnlFileTest, ASymbolicLinkStaysALinkAndItsTargetGetsTheByte)
{
    ScratchDirectory dir;
    fs::create_directory("game");
    WriteWholeFile("game/TandL.ini", "0");
    fs::create_symlink("game/TandL.ini", "TandL.ini");
    ASSERT_TRUE(Save(HwTnlState::On));
    EXPECT_TRUE(fs::is_symlink("TandL.ini"));
    EXPECT_EQ(ReadWholeFile("game/TandL.ini"), "1");
    EXPECT_EQ(dir.Listing(), "TandL.ini game");
}

// Permissions that let a player write TandL.ini but create nothing beside it (an
// installer that opened the one file to its users, a share set up that way): a plain
// write of the file works there, so the save must too.
TEST_P(HwTnlFileTest, AFolderThatForbidsNewFilesStillLetsItsTandLIniBeSaved)
{
    ScratchDirectory dir;
    const auto fileForAll = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                            fs::perms::group_write | fs::perms::others_read | fs::perms::others_write;
    const auto folderReadOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(dir.Path(), folderReadOnly);
    const int probeCreated = RunAsOrdinaryUser([] { return open("probe", O_WRONLY | O_CREAT | O_EXCL, 0666) >= 0; });
    const int withoutFile = SaveAsOrdinaryUser(HwTnlState::Off);
    fs::permissions(dir.Path(), fs::perms::owner_all, fs::perm_options::add);
    WriteWholeFile("TandL.ini", "1");
    fs::permissions("TandL.ini", fileForAll);
    fs::permissions(dir.Path(), folderReadOnly);
    const int withFile = SaveAsOrdinaryUser(HwTnlState::Off);
    fs::permissions(dir.Path(), fs::perms::owner_all, fs::perm_options::add);

    ASSERT_EQ(probeCreated, 0) << "an ordinary user may create no file in this folder";
    EXPECT_EQ(withoutFile, EACCES) << "no TandL.ini yet: it cannot be made here, and that is reported";
    EXPECT_EQ(withFile, 0) << "the existing TandL.ini is written";
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "0");
    EXPECT_EQ(dir.Listing(), "TandL.ini");
}

#endif

// Natively the save runs as an ordinary user; run through the test command, Wine has no
// root's override of file modes either. Both refuse as Windows refuses.
TEST_P(HwTnlFileTest, AReadOnlyFileIsKeptAndTheRefusalReported)
{
    ScratchDirectory dir;
    WriteWholeFile("TandL.ini", "1");
#ifdef _WIN32
    ASSERT_TRUE(SetFileAttributesW(L"TandL.ini", FILE_ATTRIBUTE_READONLY));
    const HwTnlSaveResult result = Save(HwTnlState::Off);
    SetFileAttributesW(L"TandL.ini", FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.systemError, static_cast<unsigned long>(ERROR_ACCESS_DENIED));
#else
    fs::permissions("TandL.ini", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(SaveAsOrdinaryUser(HwTnlState::Off), EACCES);
#endif
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");
    EXPECT_EQ(dir.Listing(), "TandL.ini");
}

#ifdef _WIN32

// What a virus scanner does, roughly: opens each new file in the working directory as
// soon as it sees it, reading and sharing reading and writing, and keeps it open a while.
class NewFileScanner {
public:
    NewFileScanner() : m_thread([this] { Run(); }) {}
    NewFileScanner(const NewFileScanner&) = delete;
    NewFileScanner& operator=(const NewFileScanner&) = delete;
    ~NewFileScanner() { Stop(); }

    // Waits up to two seconds for it to hold TandL.ini open.
    bool HoldsTandLIni() const
    {
        for (int i = 0; i < 100 && !m_holdingTandLIni; ++i)
            Sleep(20);
        return m_holdingTandLIni;
    }
    // Stops, and says which files it held open.
    std::set<std::wstring> Stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        return m_held;
    }

private:
    void Run()
    {
        std::set<std::wstring> looked;
        while (!m_stop) {
            WIN32_FIND_DATAW found;
            HANDLE search = FindFirstFileW(L"TandL.ini*", &found);
            if (search == INVALID_HANDLE_VALUE)
                continue;
            do {
                if (looked.insert(found.cFileName).second)
                    Hold(found.cFileName);
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
    }
    // Waits for a file that is still being written to be let go, as a scanner waits, and
    // holds it. False when the file would not open within half a second.
    bool Hold(const std::wstring& name)
    {
        HANDLE file = INVALID_HANDLE_VALUE;
        for (DWORD start = GetTickCount(); GetTickCount() - start < 500;) {
            file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               0, nullptr);
            if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION)
                break;
        }
        if (file == INVALID_HANDLE_VALUE)
            return false;
        m_held.insert(name);
        m_holdingTandLIni = name == L"TandL.ini";
        Sleep(300);
        m_holdingTandLIni = false;
        CloseHandle(file);
        return true;
    }

    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_holdingTandLIni{false};
    std::set<std::wstring> m_held;
    std::thread m_thread;
};

// The scanner's moment is short; a few rounds make sure it comes.
TEST_P(HwTnlFileTest, AScannerOpeningEachNewFileNeitherFailsTheSaveNorLeavesAFile)
{
    for (int round = 0; round < 4; ++round) {
        ScratchDirectory dir;
        NewFileScanner scanner;
        const HwTnlSaveResult created = Save(HwTnlState::On);
        EXPECT_TRUE(created) << "round " << round << ": " << created.systemError;
        EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");
        ASSERT_TRUE(scanner.HoldsTandLIni()) << "round " << round;
        const HwTnlSaveResult rewritten = Save(HwTnlState::Off);
        EXPECT_TRUE(rewritten) << "round " << round << ": " << rewritten.systemError;
        const std::set<std::wstring> held = scanner.Stop();
        EXPECT_EQ(ReadWholeFile("TandL.ini"), "0");
        EXPECT_EQ(dir.Listing(), "TandL.ini") << "round " << round;
        // Windows XP renames a closed file only, so there the scanner may come first.
        if (!OnWindowsXp()) {
            EXPECT_EQ(held, std::set<std::wstring>{L"TandL.ini"})
                << "round " << round << ": the scanner saw it, and only it";
        }
        if (HasFailure())
            break;
    }
}
#endif

TEST_P(HwTnlFileTest, ALeftoverTemporaryFileDoesNotBlockTheSave)
{
    ScratchDirectory dir;
#ifdef _WIN32
    const std::string pid = std::to_string(GetCurrentProcessId());
#else
    const std::string pid = std::to_string(getpid());
#endif
    const std::string leftover = "TandL.ini." + pid + ".tmp";
    WriteWholeFile(leftover, "stale");
    ASSERT_TRUE(Save(HwTnlState::On));
    EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");
    EXPECT_EQ(ReadWholeFile(leftover), "stale") << "somebody else's file is not ours to touch";
}

#ifdef _WIN32
template <DWORD kError>
BOOL WINAPI RenameRefusedWith(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size)
{
    if (kind != FileRenameInfo)
        return SystemCalls::OfThisSystem().setFileInformationByHandle(file, kind, info, size);
    SetLastError(kError);
    return FALSE;
}
BOOL WINAPI MoveRefused(LPCWSTR, LPCWSTR, DWORD)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}
#else
int LinkRefused(const char*, const char*)
{
    errno = EPERM;
    return -1;
}
#endif

// A file system, network redirector or filter driver that will not rename the new file
// (FAT has no second names; a rename held up for good is not TandL.ini's fault): a plain
// write would still have made TandL.ini, so the save makes it directly.
TEST(HwTnlFileRenameTest, ARefusedRenameEndsInTandLIniMadeDirectly)
{
#ifdef _WIN32
    const SystemCalls refusing[] = {{RenameRefusedWith<ERROR_INVALID_PARAMETER>, MoveFileExW},
                                    {RenameRefusedWith<ERROR_SHARING_VIOLATION>, MoveFileExW},
                                    {nullptr, MoveRefused}};
#else
    const SystemCalls refusing[] = {{LinkRefused}};
#endif
    for (const SystemCalls& calls : refusing) {
        ScratchDirectory dir;
        const HwTnlSaveResult result = WriteHwTnlFile(HwTnlState::On, calls);
        EXPECT_TRUE(result) << result.systemError;
        EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");
        EXPECT_EQ(dir.Listing(), "TandL.ini") << "no temporary file may be left behind";
    }
}

// Faults put in the save's way through its system calls: a temporary name refused with
// kError (a path with no room for it, no free name); with kError 0, new files that take
// no byte; a flush that fails.
#ifdef _WIN32
constexpr unsigned long kPathTooLong = ERROR_FILENAME_EXCED_RANGE, kNameTaken = ERROR_FILE_EXISTS,
                        kDeviceFailed = ERROR_IO_DEVICE;
template <unsigned long kError>
HANDLE WINAPI Create(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD how, DWORD flags,
                     HANDLE model)
{
    if (kError && std::wcsstr(name, L".tmp"))
        return SetLastError(kError), INVALID_HANDLE_VALUE;
    access = !kError && how == CREATE_NEW ? (access & ~GENERIC_WRITE) | GENERIC_READ : access;
    return CreateFileW(name, access, share, security, how, flags, model);
}
BOOL WINAPI FlushFails(HANDLE) { return SetLastError(kDeviceFailed), FALSE; }
BOOL WINAPI SizeUnknown(HANDLE, PLARGE_INTEGER) { return SetLastError(kDeviceFailed), FALSE; }
// A folder that lets us make TandL.ini but not remove it again.
BOOL WINAPI TargetKept(LPCWSTR name)
{
    return std::wcscmp(name, L"TandL.ini") ? DeleteFileW(name) : (SetLastError(ERROR_ACCESS_DENIED), FALSE);
}
#else
constexpr unsigned long kPathTooLong = ENAMETOOLONG, kNameTaken = EEXIST, kDeviceFailed = EIO;
template <unsigned long kError>
int Create(const char* name, int flags, int mode)
{
    if (kError && std::strstr(name, ".tmp"))
        return errno = static_cast<int>(kError), -1;
    return save_steps::OpenFile(name, !kError && (flags & O_CREAT) ? (flags & ~O_ACCMODE) | O_RDONLY : flags, mode);
}
int FlushFails(int) { return errno = EIO, -1; }
int SizeUnknown(int, struct stat*) { return errno = EIO, -1; }
int TargetKept(const char* name) { return std::strcmp(name, "TandL.ini") ? unlink(name) : (errno = EACCES, -1); }
#endif

// Where a plain create would have made TandL.ini, the save does; other faults are told as
// they are, and leave no empty file behind, or say that they do: also one before the byte
// goes into a new TandL.ini (its size cannot be told, once the temporary name is refused).
TEST(HwTnlFileFaultTest, WhereAPlainCreateWouldWorkItDoesAndOtherFaultsAreToldAsTheyAre)
{
    SystemCalls pathTooLong = SystemCalls::OfThisSystem(), noFreeName = pathTooLong, unwritable = pathTooLong,
                unflushable = pathTooLong;
#ifdef _WIN32
    pathTooLong.createFile = Create<kPathTooLong>, noFreeName.createFile = Create<kNameTaken>;
    unwritable.createFile = Create<0>, unflushable.flushFileBuffers = FlushFails;
    SystemCalls unwritableAndKept = unwritable, sizeUnknown = pathTooLong;
    unwritableAndKept.deleteFile = TargetKept, sizeUnknown.getFileSize = SizeUnknown;
    SystemCalls sizeUnknownAndKept = sizeUnknown;
    sizeUnknownAndKept.deleteFile = TargetKept;
#else
    pathTooLong.openFile = Create<kPathTooLong>, noFreeName.openFile = Create<kNameTaken>;
    unwritable.openFile = Create<0>, unflushable.syncFile = FlushFails;
    SystemCalls unwritableAndKept = unwritable, sizeUnknown = pathTooLong;
    unwritableAndKept.removeFile = TargetKept, sizeUnknown.statFile = SizeUnknown;
    SystemCalls sizeUnknownAndKept = sizeUnknown;
    sizeUnknownAndKept.removeFile = TargetKept;
#endif
    using Outcome = HwTnlSaveResult::Outcome;
    const struct {
        const SystemCalls& calls;
        bool existed;
        Outcome outcome;
        const char* listing;
    } cases[] = {{pathTooLong, false, Outcome::Saved, "TandL.ini"},
                 {noFreeName, false, Outcome::Saved, "TandL.ini"},
                 {unflushable, true, Outcome::Unconfirmed, "TandL.ini"},
                 {unflushable, false, Outcome::Unconfirmed, "TandL.ini"},
                 {unwritable, false, Outcome::NotSaved, ""},
                 {unwritableAndKept, false, Outcome::LeftEmpty, "TandL.ini"},
                 {sizeUnknown, false, Outcome::NotSaved, ""},
                 {sizeUnknownAndKept, false, Outcome::LeftEmpty, "TandL.ini"}};
    for (const auto& c : cases) {
        ScratchDirectory dir;
        if (c.existed)
            WriteWholeFile("TandL.ini", "0");
        const HwTnlSaveResult result = WriteHwTnlFile(HwTnlState::On, c.calls);
        EXPECT_EQ(result.outcome, c.outcome) << "case " << &c - cases << ", error " << result.systemError;
        EXPECT_EQ(dir.Listing(), c.listing) << "case " << &c - cases;
        if (c.outcome == Outcome::Unconfirmed) {
            EXPECT_EQ(result.systemError, kDeviceFailed) << "the flush's own reason";
        }
        if (c.outcome != Outcome::NotSaved) {
            EXPECT_EQ(ReadWholeFile("TandL.ini"), c.outcome == Outcome::LeftEmpty ? "" : "1");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, HwTnlFileTest, testing::ValuesIn(SaveSystems()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

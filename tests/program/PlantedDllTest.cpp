// A DLL planted in the program's folder must not run inside it. Windows looks there first
// for a DLL that is not one of its known DLLs; the themed controls load uxtheme.dll so.
// Wine uses its own builtin DLLs unless told to prefer a native one, so each program here
// is told to, through its per-program key, as a Windows system would behave.
#include "res/resource.h"
#include "support/Executables.h"
#include "support/RunningProgram.h"
#include "support/ScratchDirectory.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// Wine's per-program setting that prefers a native uxtheme.dll for one executable name;
// removed again when the object goes.
class PreferNativeUxTheme {
public:
    explicit PreferNativeUxTheme(const std::wstring& exeName)
        : m_key(L"Software\\Wine\\AppDefaults\\" + exeName + L"\\DllOverrides")
    {
        const wchar_t value[] = L"native,builtin";
        m_set =
            RegSetKeyValueW(HKEY_CURRENT_USER, m_key.c_str(), L"uxtheme", REG_SZ, value, sizeof value) == ERROR_SUCCESS;
    }
    PreferNativeUxTheme(const PreferNativeUxTheme&) = delete;
    PreferNativeUxTheme& operator=(const PreferNativeUxTheme&) = delete;
    ~PreferNativeUxTheme() { RegDeleteTreeW(HKEY_CURRENT_USER, m_key.substr(0, m_key.rfind(L'\\')).c_str()); }
    bool IsSet() const { return m_set; }

private:
    std::wstring m_key;
    bool m_set = false;
};

class PlantedDllTest : public testing::Test {
protected:
    // A copy of `exe` in the scratch folder, with the planted uxtheme.dll beside it.
    fs::path PlantBeside(const fs::path& exe)
    {
        const fs::path copy = directory.Path() / exe.filename();
        fs::copy_file(exe, copy);
        fs::copy_file(TestExecutableDirectory() / PLANTED_DLL, directory.Path() / "uxtheme.dll");
        return copy;
    }
    bool PlantRan() const { return fs::exists(directory.Path() / "uxtheme.dll.loaded"); }
    // Whether the plant runs within a few seconds of the program's start.
    bool PlantRunsIn(const fs::path& exe)
    {
        RunningProgram program(exe, L"", directory.Path());
        for (int i = 0; i < 250 && !PlantRan() && program.IsRunning(); ++i)
            Sleep(20);
        return PlantRan();
    }

    ScratchDirectory directory;
};

// Without the program's own defence the plant is loaded: the case is real, and the check
// below can fail.
TEST_F(PlantedDllTest, APlainProgramLoadsAPlantedUxThemeFromItsFolder)
{
    const fs::path baseline = PlantBeside(TestExecutableDirectory() / BASELINE_EXE);
    PreferNativeUxTheme native(baseline.filename().wstring());
    ASSERT_TRUE(native.IsSet());
    EXPECT_TRUE(PlantRunsIn(baseline));
}

// Windows XP, Vista and 7 without KB2533623 have no SetDefaultDllDirectories: a copy whose
// lookup of that name (one letter changed) finds nothing takes the way it takes there.
void WithoutSetDefaultDllDirectories(const fs::path& exe)
{
    std::string bytes = ReadWholeFile(exe);
    const std::string name("SetDefaultDllDirectories", sizeof "SetDefaultDllDirectories");
    const std::size_t at = bytes.find(name);
    ASSERT_NE(at, std::string::npos);
    bytes[at + name.size() - 2] = 'Z';
    WriteWholeFile(exe, bytes);
}

TEST_F(PlantedDllTest, VorlamyLoadsDllsOnlyFromTheSystemWithOrWithoutSetDefaultDllDirectories)
{
    const fs::path exe = PlantBeside(ProgramExecutables().front().path);
    for (bool without : {false, true}) {
        SCOPED_TRACE(without ? "without SetDefaultDllDirectories" : "with SetDefaultDllDirectories");
        if (without)
            WithoutSetDefaultDllDirectories(exe);
        PreferNativeUxTheme native(exe.filename().wstring());
        ASSERT_TRUE(native.IsSet());
        RunningProgram program(exe, L"", directory.Path());
        ASSERT_NE(program.WaitForDialog(), nullptr);
        program.Click(IDC_HWTNL_ON);
        program.Click(IDOK);
        EXPECT_EQ(program.WaitForExit(), 0u);
        EXPECT_EQ(ReadWholeFile("TandL.ini"), "1");
        EXPECT_FALSE(PlantRan()) << "the planted uxtheme.dll ran inside Vorlamy";
    }
}

}  // namespace

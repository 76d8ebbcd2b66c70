// The protections that the built executables ask the Windows loader for, read from their
// PE headers: a program that players put in a game folder should carry all it can.
#include "support/Executables.h"
#include "support/PeImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {

class HardeningTest : public testing::TestWithParam<ProgramExecutable> {
protected:
    void SetUp() override { ASSERT_TRUE(image.IsValid()) << GetParam().path; }

    const PeImage image{GetParam().path};
};

TEST_P(HardeningTest, LoadsAtARandomAddressWithItsRelocations)
{
    EXPECT_TRUE(image.DllCharacteristics() & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE);
    EXPECT_FALSE(image.FileCharacteristics() & IMAGE_FILE_RELOCS_STRIPPED);
    EXPECT_GT(image.Directory(IMAGE_DIRECTORY_ENTRY_BASERELOC).Size, 0u) << "ASLR needs a relocation table";
    if (image.Is64Bit()) {
        EXPECT_TRUE(image.DllCharacteristics() & IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA);
    }
}

TEST_P(HardeningTest, DataIsNeverExecutable)
{
    EXPECT_TRUE(image.DllCharacteristics() & IMAGE_DLLCHARACTERISTICS_NX_COMPAT);
    for (const IMAGE_SECTION_HEADER& section : image.Sections()) {
        const bool writable = section.Characteristics & IMAGE_SCN_MEM_WRITE;
        const bool executable = section.Characteristics & IMAGE_SCN_MEM_EXECUTE;
        EXPECT_FALSE(writable && executable) << PeImage::SectionName(section) << " is writable and executable";
    }
}

TEST_P(HardeningTest, ImportsOnlyTheSystemsOwnDlls)
{
    std::vector<std::string> imports = image.ImportedDlls();
    for (std::string& name : imports)
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    std::sort(imports.begin(), imports.end());
    EXPECT_EQ(imports, (std::vector<std::string>{"gdi32.dll", "kernel32.dll", "msvcrt.dll", "user32.dll"}));
}

// The list of system functions the product may import, as "dll!function" with the oldest
// Windows that has each.
std::map<std::string, std::string> SystemImportList()
{
    std::map<std::string, std::string> since;
    std::ifstream list(TestExecutableDirectory() / SYSTEM_IMPORTS);
    std::string line, dll, function, windows;
    while (std::getline(list, line)) {
        std::istringstream fields(line);
        if (line.empty() || line[0] == '#' || !(fields >> dll >> function >> std::ws))
            continue;
        std::getline(fields, windows);
        since[dll + "!" + function] = windows;
    }
    return since;
}

// A function that Windows XP SP3 lacks in the import table keeps the program from
// starting there at all; the subsystem version is the oldest Windows its loader accepts.
TEST(ImportTableTest, TheProductImportsNothingThatWindowsXpSp3Lacks)
{
    const std::map<std::string, std::string> allowed = SystemImportList();
    ASSERT_GT(allowed.size(), 50u) << "the list " SYSTEM_IMPORTS " was not read";
    const std::set<std::string> onXpSp3{"2000", "XP", "XP SP1", "XP SP2", "XP SP3"};
    for (const auto& [function, windows] : allowed)
        EXPECT_TRUE(onXpSp3.count(windows)) << function << " needs Windows " << windows;
    int productsSeen = 0;
    for (const ProgramExecutable& exe : ProgramExecutables()) {
        const PeImage image(exe.path);
        if (image.Is64Bit())
            continue;
        ++productsSeen;
        const std::pair<WORD, WORD> windowsXp{5, 1};
        EXPECT_LE(image.SubsystemVersion(), windowsXp) << exe.name;
        for (const std::string& function : image.ImportedFunctions())
            EXPECT_TRUE(allowed.count(function)) << exe.name << " imports " << function << ", which is not in the list";
    }
    EXPECT_GT(productsSeen, 0) << "no 32-bit product to look at";
}

INSTANTIATE_TEST_SUITE_P(Executables, HardeningTest, testing::ValuesIn(ProgramExecutables()),
                         [](const auto& info) { return info.param.name; });

}  // namespace

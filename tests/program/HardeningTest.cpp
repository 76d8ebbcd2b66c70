// The protections that the built executables ask the Windows loader for, read from their
// PE headers: a program that players put in a game folder should carry all it can.
#include "support/Executables.h"
#include "support/PeImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

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
    EXPECT_EQ(imports, (std::vector<std::string>{"kernel32.dll", "msvcrt.dll", "user32.dll"}));
}

INSTANTIATE_TEST_SUITE_P(Executables, HardeningTest, testing::ValuesIn(ProgramExecutables()),
                         [](const auto& info) { return info.param.name; });

}  // namespace

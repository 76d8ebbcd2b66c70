// The resources as they stand in the built executables, held against their tables.
#include "res/resource.h"
#include "support/Executables.h"
#include "support/TemplateValues.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace {

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

std::string Describe(const DialogItem& i)
{
    std::ostringstream out;
    out << std::hex << "id 0x" << i.id << " class " << std::string(i.className.begin(), i.className.end())
        << " style 0x" << i.style << " ex 0x" << i.exStyle << " help " << i.helpId << std::dec << " rect " << i.x << ","
        << i.y << " " << i.cx << "x" << i.cy << " text(" << i.text.size() << ")";
    return out.str();
}

class ResourcesTest : public testing::TestWithParam<ProgramExecutable> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(std::filesystem::exists(GetParam().path)) << GetParam().path;
        m_module.reset(LoadLibraryExW(GetParam().path.c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        ASSERT_NE(m_module.get(), nullptr) << GetLastError();
    }

    DialogTemplate Dialog(UINT id) const
    {
        HRSRC found = FindResourceExW(Module(), RT_DIALOG, MAKEINTRESOURCEW(id), kJapanese);
        if (!found)
            return {};
        return ParseDialogTemplate(LockResource(LoadResource(Module(), found)), SizeofResource(Module(), found));
    }
    HMODULE Module() const { return static_cast<HMODULE>(m_module.get()); }

private:
    struct Free {
        void operator()(void* module) const { FreeLibrary(static_cast<HMODULE>(module)); }
    };
    std::unique_ptr<void, Free> m_module;
};

TEST_P(ResourcesTest, SettingsTemplateIsExactlyAsDesigned)
{
    const DialogTemplate t = Dialog(IDD_SETTINGS_DIALOG);
    EXPECT_TRUE(t.extended);
    EXPECT_EQ(t.helpId, 0u);
    EXPECT_EQ(t.style, 0x90C800C0u);
    EXPECT_EQ(t.exStyle, 0x00040000u);
    EXPECT_EQ(t.x, 0);
    EXPECT_EQ(t.y, 0);
    EXPECT_EQ(t.cx, 223);
    EXPECT_EQ(t.cy, 129);
    EXPECT_EQ(t.menu, L"");
    EXPECT_EQ(t.className, L"");
    EXPECT_EQ(t.caption, L"Vorlamy");
    EXPECT_EQ(t.pointSize, 9);
    EXPECT_EQ(t.weight, 0);
    EXPECT_EQ(t.italic, 0);
    EXPECT_EQ(t.charset, 1);
    EXPECT_EQ(t.font, L"ＭＳ Ｐゴシック");

    const DialogItem expected[] = {
        {0, 0, 0x50010001, 55, 105, 50, 14, IDOK, L"#128", L"OK"},
        {0, 0, 0x50010000, 115, 105, 50, 14, IDCANCEL, L"#128", L"ｷｬﾝｾﾙ"},
        {0, 0, 0x50020000, 15, 10, 190, 30, 0xFFFFFFFF, L"#130",
         L"CPUが高速(Pentium 800MHz以上)なマシンの場合、ハードウェア TnL "
         L"対応に設定しても、描画速度(FPS)が低下する場合があります。"},
        {0, 0, 0x50000009, 15, 75, 90, 10, IDC_HWTNL_OFF, L"#128", L"HW TnL に対応させない"},
        {0, 0, 0x50000009, 15, 90, 80, 12, IDC_HWTNL_ON, L"#128", L"HW TnL に対応させる"},
        {0, 0, 0x50020000, 15, 40, 190, 30, 0xFFFFFFFF, L"#130",
         L"また、フレーム数は 50FPS 以上にならないようにリミッタをかけてありますので、50 FPS 出ているようであれば、TnL "
         L"に対応させる必要はありません。"},
    };
    ASSERT_EQ(t.items.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(Describe(t.items[i]), Describe(expected[i])) << "control " << i + 1;
        EXPECT_TRUE(t.items[i].text == expected[i].text) << "text of control " << i + 1;
    }
}

TEST_P(ResourcesTest, AboutTemplateIsExactlyAsDesigned)
{
    const DialogTemplate t = Dialog(IDD_ABOUTBOX);
    EXPECT_FALSE(t.extended);
    EXPECT_EQ(t.style, 0x80C800C0u);
    EXPECT_EQ(t.exStyle, 0u);
    EXPECT_EQ(t.x, 0);
    EXPECT_EQ(t.y, 0);
    EXPECT_EQ(t.cx, 235);
    EXPECT_EQ(t.cy, 55);
    EXPECT_EQ(t.menu, L"");
    EXPECT_EQ(t.className, L"");
    EXPECT_EQ(t.caption, L"Vorlamyのﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(t.pointSize, 9);
    EXPECT_EQ(t.font, L"ＭＳ Ｐゴシック");

    const DialogItem expected[] = {
        {0, 0, 0x50000003, 11, 17, 20, 20, 0xFFFF, L"#130", L"#128"},
        {0, 0, 0x50020080, 40, 10, 119, 8, 0xFFFF, L"#130", L"Vorlamy Version 1.0"},
        {0, 0, 0x50020000, 40, 25, 119, 8, 0xFFFF, L"#130", L""},
        {0, 0, 0x50030001, 178, 7, 50, 14, IDOK, L"#128", L"OK"},
    };
    ASSERT_EQ(t.items.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(Describe(t.items[i]).substr(0, Describe(t.items[i]).find(" text(")),
                  Describe(expected[i]).substr(0, Describe(expected[i]).find(" text(")))
            << "control " << i + 1;
        if (i != 2) {
            EXPECT_TRUE(t.items[i].text == expected[i].text) << "text of control " << i + 1;
        }
    }
    EXPECT_FALSE(t.items[2].text.empty()) << "the second line says something";
}

TEST_P(ResourcesTest, AboutEntryTextIsExactlyAsDesigned)
{
    const wchar_t* text = nullptr;
    const int length = LoadStringW(Module(), IDS_ABOUTBOX, reinterpret_cast<LPWSTR>(&text), 0);
    ASSERT_GT(length, 0);
    EXPECT_TRUE(std::wstring(text, length) == L"Vorlamy のﾊﾞｰｼﾞｮﾝ情報(&A)...");
}

std::wstring LoadedString(HMODULE module, UINT id)
{
    const wchar_t* text = nullptr;
    const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    return std::wstring(text ? text : L"", length > 0 ? length : 0);
}

// A failed save names the file and says what became of the setting, in words that are
// true whether or not there was a TandL.ini before; in English too, on a line of its own.
TEST_P(ResourcesTest, SaveFailureTextsSayWhatBecameOfTheSetting)
{
    const std::wstring failed = LoadedString(Module(), IDS_SAVE_FAILED);
    EXPECT_NE(failed.find(L"「TandL.ini」を保存できませんでした。設定は変更されていません。\nThe "),
              std::wstring::npos);
    const std::wstring unconfirmed = LoadedString(Module(), IDS_SAVE_UNCONFIRMED);
    EXPECT_NE(unconfirmed.find(L"に新しい設定を書き込みましたが、"), std::wstring::npos);
    EXPECT_NE(unconfirmed.find(L"。\nThe new setting was written"), std::wstring::npos);
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_P(ResourcesTest, ApplicationIconHasA32And16PixelImageIn16ColoursWithMasks)
{
    HRSRC group = FindResourceExW(Module(), RT_GROUP_ICON, MAKEINTRESOURCEW(IDR_MAINFRAME), kJapanese);
    ASSERT_NE(group, nullptr);
    const auto* header = static_cast<const WORD*>(LockResource(LoadResource(Module(), group)));
    ASSERT_EQ(header[0], 0);  // reserved
    ASSERT_EQ(header[1], 1);  // icons, not cursors
    ASSERT_EQ(header[2], 2);  // two images
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 3);
    const int sizes[] = {32, 16};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(testing::Message() << "image " << i + 1);
        EXPECT_EQ(entries[i].width, sizes[i]);
        EXPECT_EQ(entries[i].height, sizes[i]);
        EXPECT_EQ(entries[i].colours, 16);
        EXPECT_EQ(entries[i].bitCount, 4);
        EXPECT_EQ(entries[i].id, i + 1);

        HRSRC image = FindResourceExW(Module(), RT_ICON, MAKEINTRESOURCEW(entries[i].id), kJapanese);
        ASSERT_NE(image, nullptr);
        const auto* bitmap = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(Module(), image)));
        EXPECT_EQ(bitmap->biWidth, sizes[i]);
        EXPECT_EQ(bitmap->biHeight, sizes[i] * 2) << "colour image and transparency mask";
        EXPECT_EQ(bitmap->biBitCount, 4);
        const DWORD colourBytes = ((sizes[i] * 4 + 31) / 32 * 4) * sizes[i];
        const DWORD maskBytes = ((sizes[i] + 31) / 32 * 4) * sizes[i];
        EXPECT_EQ(SizeofResource(Module(), image), sizeof(BITMAPINFOHEADER) + 16 * 4 + colourBytes + maskBytes);
    }
}

TEST_P(ResourcesTest, ManifestAsksForThemesAndSystemDpiButNoExecutionLevel)
{
    HRSRC found = FindResourceExW(Module(), RT_MANIFEST, MAKEINTRESOURCEW(1), kJapanese);
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(Module(), found))),
                               SizeofResource(Module(), found));
    EXPECT_NE(manifest.find(R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"), std::string::npos);
    EXPECT_NE(
        manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>"),
        std::string::npos);
    for (const char* os : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + os + "\"/>"), std::string::npos) << os;
    EXPECT_EQ(manifest.find("<requestedExecutionLevel"), std::string::npos);
    EXPECT_EQ(manifest.find("<trustInfo"), std::string::npos);
}

struct ResourceLanguages {
    int resources = 0;
    std::vector<std::string> notJapanese;
};

BOOL CALLBACK NoteLanguage(HMODULE, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR param)
{
    auto* found = reinterpret_cast<ResourceLanguages*>(param);
    ++found->resources;
    if (language != kJapanese)
        found->notJapanese.push_back("type " + std::to_string(reinterpret_cast<UINT_PTR>(type)) + " name " +
                                     std::to_string(reinterpret_cast<UINT_PTR>(name)) + " language " +
                                     std::to_string(language));
    return TRUE;
}
BOOL CALLBACK VisitName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param)
{
    return EnumResourceLanguagesW(module, type, name, &NoteLanguage, param);
}
BOOL CALLBACK VisitType(HMODULE module, LPWSTR type, LONG_PTR param)
{
    return EnumResourceNamesW(module, type, &VisitName, param);
}

TEST_P(ResourcesTest, EveryResourceIsJapanese)
{
    ResourceLanguages found;
    EnumResourceTypesW(Module(), &VisitType, reinterpret_cast<LONG_PTR>(&found));
    EXPECT_GE(found.resources, 3);
    EXPECT_EQ(testing::PrintToString(found.notJapanese), "{}");
}

std::wstring VersionString(const std::vector<char>& block, const wchar_t* key)
{
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\041104B0\\") + key;
    if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return L"<missing>";
    return std::wstring(value, length && value[length - 1] == 0 ? length - 1 : length);
}

TEST_P(ResourcesTest, VersionBlockIsExactlyAsDesigned)
{
    const std::wstring path = GetParam().path.wstring();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, 0x4u);
    EXPECT_EQ(fixed->dwFileType, 0x1u);
    EXPECT_EQ(fixed->dwFileSubtype, 0u);

    EXPECT_EQ(VersionString(block, L"CompanyName"), L"");
    EXPECT_EQ(VersionString(block, L"FileDescription"), L"Vorlamy MFC ｱﾌﾟﾘｹｰｼｮﾝ");
    EXPECT_EQ(VersionString(block, L"FileVersion"), L"1, 0, 0, 1");
    EXPECT_EQ(VersionString(block, L"InternalName"), L"Vorlamy");
    EXPECT_EQ(VersionString(block, L"LegalTrademarks"), L"");
    EXPECT_EQ(VersionString(block, L"OriginalFilename"), L"Vorlamy.EXE");
    EXPECT_EQ(VersionString(block, L"ProductName"), L"Vorlamy ｱﾌﾟﾘｹｰｼｮﾝ");
    EXPECT_EQ(VersionString(block, L"ProductVersion"), L"1, 0, 0, 1");

    WORD* translation = nullptr;
    ASSERT_TRUE(
        VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0411);
    EXPECT_EQ(translation[1], 0x04B0);
}

INSTANTIATE_TEST_SUITE_P(Executables, ResourcesTest, testing::ValuesIn(ProgramExecutables()),
                         [](const testing::TestParamInfo<ProgramExecutable>& info) { return info.param.name; });

}  // namespace

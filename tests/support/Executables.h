#pragma once

// The program's executables that the tests look at, found beside the test executable:
// the one this build made and, when the build was told of it, the 32-bit product.

#include <windows.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

struct ProgramExecutable {
    std::string name;  // for test names: letters and digits only
    std::filesystem::path path;
};

inline std::filesystem::path TestExecutableDirectory()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path();
}

#ifdef VORLAMY_EXE
inline std::vector<ProgramExecutable> ProgramExecutables()
{
    std::vector<ProgramExecutable> exes{{"ThisBuild", TestExecutableDirectory() / VORLAMY_EXE}};
#ifdef VORLAMY_PRODUCT_EXE
    exes.push_back({"Product", TestExecutableDirectory() / VORLAMY_PRODUCT_EXE});
#endif
    return exes;
}
#endif

// Test names and failure messages show the executable by name.
inline void PrintTo(const ProgramExecutable& exe, std::ostream* out) { *out << exe.name; }

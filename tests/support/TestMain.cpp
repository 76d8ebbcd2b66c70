// The tests' main: GoogleTest's own, except that what a test prints goes out at once, and
// that a crash says so. Under Wine a crashing process ends without a word (there is no
// crash dialog in the test prefixes) and takes its buffered output with it, so a test
// that crashed once would otherwise leave nothing to read but its failure.
#include <gtest/gtest.h>

#include <cstdio>

#ifdef _WIN32
#include <windows.h>

namespace {

LONG WINAPI TellCrash(EXCEPTION_POINTERS* crash)
{
    const EXCEPTION_RECORD& what = *crash->ExceptionRecord;
    HMODULE module = nullptr;
    wchar_t name[MAX_PATH] = L"?";
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCWSTR>(what.ExceptionAddress), &module))
        GetModuleFileNameW(module, name, MAX_PATH);
    const auto offset = static_cast<const char*>(what.ExceptionAddress) - reinterpret_cast<const char*>(module);
    std::fprintf(stderr, "crashed: exception 0x%08lx at %ls+0x%tx, in %s\n", what.ExceptionCode, name, offset,
                 testing::UnitTest::GetInstance()->current_test_info()
                     ? testing::UnitTest::GetInstance()->current_test_info()->name()
                     : "no test");
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace
#endif

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
#ifdef _WIN32
    SetUnhandledExceptionFilter(&TellCrash);
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// Runs Vorlamy and the bare Win32 baseline side by side, paired and interleaved, and
// prints what each costs: start to visible dialog, OK to process exit, peak working set,
// executable size, imported DLLs. Figures only; nothing here passes or fails.
//   bench_driver.exe <vorlamy.exe> <baseline.exe> <runs> <scratch directory>
#include "res/resource.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Sample {
    double startToVisibleMs;
    double okToExitMs;
    double peakWorkingSetKiB;
};

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct WindowSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK MatchVisibleDialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && IsWindowVisible(window) && GetDlgItem(window, IDC_HWTNL_OFF)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

bool RunOnce(const std::wstring& exe, const std::wstring& directory, Sample& sample)
{
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double started = Now();
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(), &startup,
                        &process))
        return false;
    WindowSearch search{process.dwProcessId, nullptr};
    while (!search.found && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT && Now() - started < 20000) {
        EnumWindows(&MatchVisibleDialog, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            Sleep(1);
    }
    bool ok = search.found != nullptr;
    if (ok) {
        sample.startToVisibleMs = Now() - started;
        const double pressed = Now();
        PostMessageW(GetDlgItem(search.found, IDOK), BM_CLICK, 0, 0);
        ok = WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0;
        sample.okToExitMs = Now() - pressed;
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        // Not every system keeps the figure once the process has ended: then it is left out.
        sample.peakWorkingSetKiB = GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)
                                       ? static_cast<double>(memory.PeakWorkingSetSize) / 1024.0
                                       : 0;
    }
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ok;
}

// The DLL names in a PE file's import directory, read from the file itself.
std::string ImportedDlls(const std::wstring& exe)
{
    std::ifstream in(std::filesystem::path(exe), std::ios::binary);
    const std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (image.size() < sizeof(IMAGE_DOS_HEADER))
        return "?";
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    const char* nt = image.data() + dos->e_lfanew;
    const auto* file = reinterpret_cast<const IMAGE_FILE_HEADER*>(nt + 4);
    const char* optional = nt + 4 + sizeof(IMAGE_FILE_HEADER);
    const bool pe32plus = *reinterpret_cast<const WORD*>(optional) == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
    const IMAGE_DATA_DIRECTORY importDir =
        pe32plus
            ? reinterpret_cast<const IMAGE_OPTIONAL_HEADER64*>(optional)->DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT]
            : reinterpret_cast<const IMAGE_OPTIONAL_HEADER32*>(optional)->DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(optional + file->SizeOfOptionalHeader);
    auto offsetOf = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < file->NumberOfSections; ++i) {
            const auto& s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData))
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return 0;
    };
    std::string names;
    for (size_t at = offsetOf(importDir.VirtualAddress); at && at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= image.size();
         at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + at);
        if (!descriptor->Name)
            break;
        names += (names.empty() ? "" : " ") + std::string(image.data() + offsetOf(descriptor->Name));
    }
    return names;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
double Quantile(std::vector<double> values, double q)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(q * static_cast<double>(values.size() - 1) + 0.5)];
}

void PrintRow(const char* what, const std::vector<double>& ours, const std::vector<double>& base, const char* unit,
              double targetRatio)
{
    const double ratio = Median(ours) / Median(base);
    std::printf("%-26s %9.1f %-3s [%7.1f..%7.1f] %9.1f %-3s [%7.1f..%7.1f] %6.3f", what, Median(ours), unit,
                Quantile(ours, 0.25), Quantile(ours, 0.75), Median(base), unit, Quantile(base, 0.25),
                Quantile(base, 0.75), ratio);
    if (targetRatio > 0)
        std::printf("   <= %.2f x  %s", targetRatio, ratio <= targetRatio ? "met" : "MISSED");
    std::printf("\n");
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: bench_driver <vorlamy.exe> <baseline.exe> <runs> <scratch directory>\n");
        return 2;
    }
    const std::wstring vorlamy = argv[1], baseline = argv[2], directory = argv[4];
    const int runs = std::max(3, _wtoi(argv[3]));

    std::vector<double> oursStart, oursExit, oursMemory, baseStart, baseExit, baseMemory;
    // One warm-up pair, not counted: the first start pays for the system's own caches.
    Sample warm{};
    RunOnce(vorlamy, directory, warm);
    RunOnce(baseline, directory, warm);
    for (int i = 0; i < runs; ++i) {
        // Alternate which goes first, so that neither always runs in the other's wake.
        for (int turn = 0; turn < 2; ++turn) {
            const bool oursNow = (turn == 0) == (i % 2 == 0);
            Sample sample{};
            if (!RunOnce(oursNow ? vorlamy : baseline, directory, sample)) {
                std::fprintf(stderr, "a run did not complete\n");
                return 1;
            }
            (oursNow ? oursStart : baseStart).push_back(sample.startToVisibleMs);
            (oursNow ? oursExit : baseExit).push_back(sample.okToExitMs);
            if (sample.peakWorkingSetKiB > 0)
                (oursNow ? oursMemory : baseMemory).push_back(sample.peakWorkingSetKiB);
        }
    }

    auto fileKiB = [](const std::wstring& path) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
        return static_cast<double>(data.nFileSizeLow) / 1024.0;
    };
    std::printf("%d paired runs, interleaved; median [25th..75th percentile]\n\n", runs);
    std::printf("%-26s %-29s %-29s %6s\n", "", "Vorlamy", "bare Win32 baseline", "ratio");
    PrintRow("start to dialog visible", oursStart, baseStart, "ms", 1.05);
    PrintRow("OK to process exit", oursExit, baseExit, "ms", 1.05);
    if (!oursMemory.empty() && !baseMemory.empty())
        PrintRow("peak working set", oursMemory, baseMemory, "KiB", 0);
    const double oursSize = fileKiB(vorlamy), baseSize = fileKiB(baseline);
    std::printf("%-26s %9.1f KiB %-17s %9.1f KiB %-17s %6.3f   <= 64 KiB  %s\n", "executable size", oursSize, "",
                baseSize, "", oursSize / baseSize, oursSize <= 64 ? "met" : "MISSED");
    const std::string oursImports = ImportedDlls(vorlamy), baseImports = ImportedDlls(baseline);
    std::printf("%-26s %s\n%-26s %s (baseline)\n", "imported DLLs", oursImports.c_str(), "", baseImports.c_str());
    return 0;
}

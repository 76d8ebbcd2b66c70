// Runs Vorlamy and two bare Win32 baselines (one with Vorlamy's manifest, so themed; one
// without, unthemed) round by round, each round all three in a rotating order, and prints
// what each costs: start to visible dialog, OK to process exit, peak working set,
// executable size, imported DLLs; then Vorlamy's cost against each baseline as the spread
// of the per-round ratios. Figures only; nothing here passes or fails.
//   bench_driver.exe <vorlamy.exe> <themed baseline.exe> <unthemed baseline.exe> <rounds> <scratch directory>
#include "res/resource.h"
#include "support/PeImage.h"

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

// The imported DLLs, as the file names them.
std::string ImportedDlls(const std::wstring& exe)
{
    std::string names;
    for (const std::string& name : PeImage(exe).ImportedDlls())
        names += (names.empty() ? "" : " ") + name;
    return names.empty() ? "?" : names;
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

struct Program {
    const char* title;
    std::wstring exe;
    std::vector<double> start, exit, memory;
};
// One kind of figure of every program: its start times, its exit times or its memory.
using Figures = std::vector<double> Program::*;

std::string Spread(const std::vector<double>& values, const char* format)
{
    char text[96];
    std::snprintf(text, sizeof text, format, Median(values), Quantile(values, 0.25), Quantile(values, 0.75));
    return text;
}

void PrintFigures(const char* what, const std::vector<Program>& programs, Figures figures, const char* unit)
{
    std::printf("%-24s", what);
    for (const Program& program : programs) {
        const std::vector<double>& values = program.*figures;
        std::printf(" %-30s", values.empty() ? "n/a" : (Spread(values, "%.1f [%.1f..%.1f] ") + unit).c_str());
    }
    std::printf("\n");
}

// Vorlamy's figure of each round divided by the baseline's of the same round.
std::vector<double> RoundRatios(const std::vector<double>& ours, const std::vector<double>& base)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < ours.size() && i < base.size(); ++i)
        ratios.push_back(ours[i] / base[i]);
    return ratios;
}

void PrintRatios(const char* what, const std::vector<Program>& programs, Figures figures, double target)
{
    std::printf("%-24s", what);
    for (size_t i = 1; i < programs.size(); ++i) {
        const std::vector<double> ratios = RoundRatios(programs[0].*figures, programs[i].*figures);
        std::printf(" %-26s", Spread(ratios, "%.3f [%.3f..%.3f]").c_str());
        if (i == 1)
            std::printf(" <= %.2f x %-7s", target, Median(ratios) <= target ? "met" : "MISSED");
    }
    std::printf("\n");
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: bench_driver <vorlamy.exe> <themed baseline.exe> <unthemed baseline.exe> "
                             "<rounds> <scratch directory>\n");
        return 2;
    }
    std::vector<Program> programs{{"Vorlamy", argv[1], {}, {}, {}},
                                  {"bare, same manifest", argv[2], {}, {}, {}},
                                  {"bare, no manifest", argv[3], {}, {}, {}}};
    const int rounds = std::max(3, _wtoi(argv[4]));
    const std::wstring directory = argv[5];

    // One warm-up round, not counted: the first start pays for the system's own caches.
    Sample sample{};
    for (const Program& program : programs)
        RunOnce(program.exe, directory, sample);
    for (int round = 0; round < rounds; ++round) {
        // Rotate which goes first, so that none always runs in another's wake.
        for (size_t turn = 0; turn < programs.size(); ++turn) {
            Program& program = programs[(turn + static_cast<size_t>(round)) % programs.size()];
            if (!RunOnce(program.exe, directory, sample)) {
                std::fprintf(stderr, "a run did not complete\n");
                return 1;
            }
            program.start.push_back(sample.startToVisibleMs);
            program.exit.push_back(sample.okToExitMs);
            if (sample.peakWorkingSetKiB > 0)
                program.memory.push_back(sample.peakWorkingSetKiB);
        }
    }

    std::printf("%d rounds, each runs every program once, in a rotating order; median [25th..75th percentile]\n\n",
                rounds);
    std::printf("%-24s", "");
    for (const Program& program : programs)
        std::printf(" %-30s", program.title);
    std::printf("\n");
    PrintFigures("start to dialog visible", programs, &Program::start, "ms");
    PrintFigures("OK to process exit", programs, &Program::exit, "ms");
    PrintFigures("peak working set", programs, &Program::memory, "KiB");
    std::printf("%-24s", "executable size");
    for (const Program& program : programs) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExW(program.exe.c_str(), GetFileExInfoStandard, &data);
        char size[32];
        std::snprintf(size, sizeof size, "%.1f KiB", static_cast<double>(data.nFileSizeLow) / 1024.0);
        std::printf(" %-30s", size);
    }
    std::printf("\n");
    for (const Program& program : programs)
        std::printf("%-24s %s\n", &program == &programs[0] ? "imported DLLs" : "", ImportedDlls(program.exe).c_str());

    std::printf("\nVorlamy / bare, round by round: median [25th..75th percentile] of the per-round ratios\n");
    std::printf("%-24s %-26s %-18s %-26s\n", "", "vs same manifest", "target", "vs no manifest");
    PrintRatios("start to dialog visible", programs, &Program::start, 1.05);
    PrintRatios("OK to process exit", programs, &Program::exit, 1.05);
    return 0;
}

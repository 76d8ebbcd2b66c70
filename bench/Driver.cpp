// Runs Vorlamy and bare Win32 baselines round by round, each round all of them in a
// rotating order, and prints what each costs: start to visible dialog, start to a dialog
// drawn and waiting for the user, OK to process exit,
// peak working set, executable size, imported DLLs; then each one's cost against the
// first baseline (the reference: Vorlamy's manifest, nothing else) as the spread of the
// per-round ratios. Figures only; nothing here passes or fails.
//   bench_driver.exe <rounds> <scratch directory> <title> <vorlamy.exe> <title> <reference.exe> [<title> <exe>]...
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
    double startToReadyMs;
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
        // Waiting for input: its dialog drawn, with nothing left in its queue.
        WaitForInputIdle(process.hProcess, 20000);
        sample.startToReadyMs = Now() - started;
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
    std::string title;
    std::wstring exe;
    std::vector<double> start, ready, exit, memory;
};
// One kind of figure of every program: its start times, its exit times or its memory.
using Figures = std::vector<double> Program::*;

std::string Spread(const std::vector<double>& values, const char* format)
{
    char text[96];
    std::snprintf(text, sizeof text, format, Median(values), Quantile(values, 0.25), Quantile(values, 0.75));
    return text;
}

// One row per program: the median and quartiles of one kind of figure.
void PrintFigures(const char* what, const std::vector<Program>& programs, Figures figures, const char* unit)
{
    std::printf("%s\n", what);
    for (const Program& program : programs) {
        const std::vector<double>& values = program.*figures;
        std::printf("  %-34s %s\n", program.title.c_str(),
                    values.empty() ? "n/a" : (Spread(values, "%.1f [%.1f..%.1f] ") + unit).c_str());
    }
}

// Each round's figure of one program divided by another's of the same round.
std::vector<double> Ratios(const Program& program, const Program& reference, Figures figures)
{
    std::vector<double> ratios;
    for (size_t r = 0; r < (program.*figures).size() && r < (reference.*figures).size(); ++r)
        ratios.push_back((program.*figures)[r] / (reference.*figures)[r]);
    return ratios;
}

// Each program's figures against the reference's, the second program (the like-for-like one): the first program's
// against its target, where there is one, and beside it against the third program too.
void PrintRatios(const char* what, const std::vector<Program>& programs, Figures figures, double target)
{
    std::printf("%s, against %s\n", what, programs[1].title.c_str());
    for (size_t i = 0; i < programs.size(); ++i) {
        if (i == 1)
            continue;
        const std::vector<double> ratios = Ratios(programs[i], programs[1], figures);
        std::printf("  %-34s %-26s", programs[i].title.c_str(), Spread(ratios, "%.3f [%.3f..%.3f]").c_str());
        if (i == 0 && target > 0)
            std::printf(" target <= %.2f: %s", target, Median(ratios) <= target ? "met" : "MISSED");
        if (i == 0 && programs.size() > 2)
            std::printf("  (against %s: %.3f)", programs[2].title.c_str(),
                        Median(Ratios(programs[0], programs[2], figures)));
        std::printf("\n");
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 7 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: bench_driver <rounds> <scratch directory> <title> <vorlamy.exe> <title> "
                             "<reference.exe> [<title> <exe>]...\n");
        return 2;
    }
    const int rounds = std::max(3, _wtoi(argv[1]));
    const std::wstring directory = argv[2];
    std::vector<Program> programs;
    for (int i = 3; i + 1 < argc; i += 2) {
        char title[64];
        WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, title, sizeof title, nullptr, nullptr);
        programs.push_back({title, argv[i + 1], {}, {}, {}, {}});
    }

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
            program.ready.push_back(sample.startToReadyMs);
            program.exit.push_back(sample.okToExitMs);
            if (sample.peakWorkingSetKiB > 0)
                program.memory.push_back(sample.peakWorkingSetKiB);
        }
    }

    std::printf("%d rounds, each runs every program once, in a rotating order; median [25th..75th percentile]\n\n",
                rounds);
    PrintFigures("start to dialog visible", programs, &Program::start, "ms");
    PrintFigures("start to dialog drawn and waiting for input", programs, &Program::ready, "ms");
    PrintFigures("OK to process exit", programs, &Program::exit, "ms");
    PrintFigures("peak working set", programs, &Program::memory, "KiB");
    std::printf("executable size, imported DLLs\n");
    for (const Program& program : programs) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExW(program.exe.c_str(), GetFileExInfoStandard, &data);
        std::printf("  %-34s %.1f KiB  %s\n", program.title.c_str(), static_cast<double>(data.nFileSizeLow) / 1024.0,
                    ImportedDlls(program.exe).c_str());
    }
    std::printf("\nRound by round: median [25th..75th percentile] of the per-round ratios\n");
    PrintRatios("start to dialog visible", programs, &Program::start, 1.02);
    PrintRatios("start to dialog drawn and waiting for input", programs, &Program::ready, 0);
    PrintRatios("OK to process exit", programs, &Program::exit, 1.05);
    return 0;
}

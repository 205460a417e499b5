// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of Zelvorn.exe beside the floor (a bare Win32 window with the same
// controls), measured inside Windows or Wine: time from CreateProcessW to the
// window "ZELVORN 0.7" shown with the program idle for input (so painted).
// The programs run alternately, `rounds` times each; medians and their ratio
// are printed. Run by hand (bench/wine_startup/run_bench.sh), never by CTest.
//   startup_bench ROUNDS ZELVORN.EXE FLOOR.EXE
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

// The shown window "ZELVORN 0.7" of one process, if it has one yet.
struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindShown(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<Search*>(search);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t caption[16] = {};
    if (process == s->process && IsWindowVisible(window) &&
        GetWindowTextW(window, caption, 16) > 0 && std::wcscmp(caption, L"ZELVORN 0.7") == 0) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

// Starts `program`, waits for its window, closes it and returns the time in
// milliseconds to the window, or a negative number when it never came.
double RunOnce(const wchar_t* program) {
    std::wstring line = std::wstring(L"\"") + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double started = Now();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    WaitForInputIdle(process.hProcess, 20000);
    Search search{process.dwProcessId, nullptr};
    while (!search.found && Now() - started < 20000) {
        EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(1);
    }
    const double shown = Now();
    if (search.found) PostMessageW(search.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return search.found ? shown - started : -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    if (argc != 4) {
        std::fputs("usage: startup_bench ROUNDS ZELVORN.EXE FLOOR.EXE\n", stderr);
        return 2;
    }
    const int rounds = std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10)));
    RunOnce(argv[2]);  // warms the file cache and the system's own DLLs for both
    RunOnce(argv[3]);
    std::vector<double> zelvorn, floor;
    for (int i = 0; i < rounds; ++i) {
        const double z = RunOnce(argv[2]);
        const double f = RunOnce(argv[3]);
        if (z < 0 || f < 0) {
            std::fputs("startup_bench: a window did not show\n", stderr);
            return 1;
        }
        zelvorn.push_back(z);
        floor.push_back(f);
    }
    const double z = Median(zelvorn), f = Median(floor);
    std::printf("start to window shown, median of %d rounds:\n", rounds);
    std::printf("  Zelvorn.exe  %7.1f ms\n  floor        %7.1f ms\n", z, f);
    std::printf("  ratio        %7.2f (target <= 1.2)\n", z / f);
    // The fastest rounds say the same with less of the machine's other work in them.
    const double zf = *std::min_element(zelvorn.begin(), zelvorn.end());
    const double ff = *std::min_element(floor.begin(), floor.end());
    std::printf("fastest: %.1f ms against %.1f ms, ratio %.2f\n", zf, ff, zf / ff);
    return 0;
}

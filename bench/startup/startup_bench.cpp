// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of Zelvorn beside the floor (a minimal Qt program showing a window
// with as many widgets): time from process start to the first paint of the
// main window, and peak resident memory. Each program runs `rounds` times,
// alternately; medians and ratios are printed. Run by hand, not by CTest.
//   startup_bench ROUNDS ZELVORN_PROBE FLOOR_PROBE
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

struct Run {
    double ms = 0;
    double peakMiB = 0;
    long long widgets = 0;
};

long long MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

// Starts `program`, reads the probe's line and reaps it.
bool RunOnce(const char* program, Run& run) {
    int fds[2];
    if (pipe(fds) != 0) {
        return false;
    }
    const long long startedAt = MonotonicNanoseconds();
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        setenv("ZELVORN_BENCH_FD", std::to_string(fds[1]).c_str(), 1);
        execl(program, program, static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    close(fds[1]);
    std::string line;
    char buffer[128];
    ssize_t got;
    while ((got = read(fds[0], buffer, sizeof buffer)) > 0) {
        line.append(buffer, static_cast<size_t>(got));
    }
    close(fds[0]);
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "startup_bench: %s did not report its window\n", program);
        return false;
    }
    long long shownAt = 0;
    if (std::sscanf(line.c_str(), "%lld %lld", &shownAt, &run.widgets) != 2) {
        return false;
    }
    run.ms = static_cast<double>(shownAt - startedAt) / 1e6;
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: startup_bench ROUNDS ZELVORN_PROBE FLOOR_PROBE\n");
        return 2;
    }
    const int rounds = std::max(1, std::atoi(argv[1]));
    const char* programs[2] = {argv[2], argv[3]};
    std::vector<double> ms[2], mib[2];
    long long widgets[2] = {0, 0};
    Run run;
    for (const char* program : programs) {  // warm the page cache first
        if (!RunOnce(program, run)) {
            return 1;
        }
    }
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < 2; ++i) {
            if (!RunOnce(programs[i], run)) {
                return 1;
            }
            ms[i].push_back(run.ms);
            mib[i].push_back(run.peakMiB);
            widgets[i] = run.widgets;
        }
    }
    const double zelvornMs = Median(ms[0]), floorMs = Median(ms[1]);
    const double zelvornMiB = Median(mib[0]), floorMiB = Median(mib[1]);
    std::printf("start-up to main window shown, median of %d rounds\n", rounds);
    std::printf("  %-8s %8s %10s %8s\n", "", "ms", "peak MiB", "widgets");
    std::printf("  %-8s %8.1f %10.1f %8lld\n", "zelvorn", zelvornMs, zelvornMiB, widgets[0]);
    std::printf("  %-8s %8.1f %10.1f %8lld\n", "floor", floorMs, floorMiB, widgets[1]);
    std::printf("  ratio    time %.2fx  memory %.2fx  (target: at most 1.30x each)\n",
                zelvornMs / floorMs, zelvornMiB / floorMiB);
    return 0;
}

// In a terminal window of its own (PDIXTRACT_HOLD_ON_ERROR set, standard input
// a terminal), a failing pdixtract waits for Enter so its message can be read;
// anywhere else it ends at once.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr char kPrompt[] = "Press Enter to close this window.";

struct Case {
    const char* name;
    std::vector<std::string> args;
    bool hold;      // PDIXTRACT_HOLD_ON_ERROR=1 in the environment
    bool stdinTty;  // standard input is the terminal, not /dev/null
    bool prompts;   // waits for Enter before it ends
    int status;
};

struct Outcome {
    bool prompted = false;
    int status = -1;
    std::string output;
};

// Runs pdixtract on a fresh pseudo-terminal, answering its prompt with Enter.
Outcome RunOnTerminal(const Case& c) {
    Outcome outcome;
    int master = -1;
    const pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
    if (child == 0) {
        if (c.hold)
            setenv("PDIXTRACT_HOLD_ON_ERROR", "1", 1);
        else
            unsetenv("PDIXTRACT_HOLD_ON_ERROR");
        if (!c.stdinTty) {
            const int null = open("/dev/null", O_RDONLY);
            dup2(null, STDIN_FILENO);
        }
        std::vector<char*> argv{const_cast<char*>(PDIXTRACT_EXE)};
        for (const std::string& arg : c.args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(PDIXTRACT_EXE, argv.data());
        _exit(127);
    }
    if (child < 0) return outcome;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd ready{master, POLLIN, 0};
        if (poll(&ready, 1, 100) > 0) {
            char buffer[512];
            const ssize_t got = read(master, buffer, sizeof buffer);
            if (got > 0) {
                outcome.output.append(buffer, static_cast<size_t>(got));
            } else {
                usleep(10'000);  // the terminal was hung up: the process is ending
            }
        }
        if (!outcome.prompted && outcome.output.find(kPrompt) != std::string::npos) {
            outcome.prompted = true;
            if (write(master, "\n", 1) != 1) break;
        }
        if (waitpid(child, &status, WNOHANG) == child) {
            outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            break;
        }
    }
    if (outcome.status == -1) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    close(master);
    return outcome;
}

class HoldOnError : public ::testing::TestWithParam<Case> {};

TEST_P(HoldOnError, WaitsForEnterOnlyAfterAFailureInItsOwnTerminal) {
    const Case& c = GetParam();
    const Outcome outcome = RunOnTerminal(c);
    EXPECT_EQ(outcome.prompted, c.prompts) << outcome.output;
    EXPECT_EQ(outcome.status, c.status) << outcome.output;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HoldOnError,
    ::testing::Values(Case{"usage_error_held", {"-q"}, true, true, true, 2},
                      Case{"missing_set_held",
                           {"-gb", "/nonexistent/list.txt", "/nonexistent/a.pdi"},
                           true,
                           true,
                           true,
                           3},
                      Case{"success_not_held", {"--help"}, true, true, false, 0},
                      Case{"not_asked", {"-q"}, false, true, false, 2},
                      Case{"no_terminal_to_answer", {"-q"}, true, false, false, 2}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace

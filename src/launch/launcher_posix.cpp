// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/launcher_posix.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "base/utf8.h"

extern char** environ;

namespace zelvorn {

namespace {

const char* EnvOr(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : fallback;
}

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// Watched children that were let go before they ended, reaped at the next
// start so none stays a zombie for long.
std::vector<pid_t>& Unreaped() {
    static std::vector<pid_t> children;
    return children;
}

void ReapWhatHasEnded() {
    std::erase_if(Unreaped(), [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

// A watched child: asked after with waitpid, never waited for.
class ChildProcess : public RunningProcess {
public:
    // `ownStatus`: the child is the extractor itself, not a terminal around it.
    ChildProcess(pid_t pid, bool ownStatus) : m_pid(pid), m_ownStatus(ownStatus) {}
    ~ChildProcess() override {
        if (!m_end && ::waitpid(m_pid, nullptr, WNOHANG) == 0) Unreaped().push_back(m_pid);
    }

    std::optional<ProcessEnd> ended() override {
        if (m_end) return m_end;
        int status = 0;
        const pid_t got = ::waitpid(m_pid, &status, WNOHANG);
        if (got == 0 || (got < 0 && errno == EINTR)) return std::nullopt;
        m_end = ProcessEnd{};
        if (got == m_pid && m_ownStatus && WIFEXITED(status)) {
            m_end = {ProcessEnd::How::Exited, static_cast<std::uint32_t>(WEXITSTATUS(status))};
        } else if (got == m_pid && m_ownStatus && WIFSIGNALED(status)) {
            m_end = {ProcessEnd::How::Signalled, static_cast<std::uint32_t>(WTERMSIG(status))};
        }
        return m_end;
    }

private:
    pid_t m_pid;
    bool m_ownStatus;
    std::optional<ProcessEnd> m_end;
};

// Starts `argv` in a session of its own, so it outlives us: unwatched as a
// grandchild, which leaves no zombie behind; watched as our child, which the
// caller reaps. Returns the watched child's pid (0 otherwise), or the errno
// of the failed start. Everything is allocated before fork(): the children
// only make system calls.
struct Start {
    pid_t pid = 0;
    int error = 0;
};
Start StartDetached(const std::vector<std::string>& arguments, const std::vector<std::string>& env,
                    bool watched) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return {0, errno};
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return {0, error};
    }
    if (child == 0) {
        ::setsid();
        const pid_t grandchild = watched ? 0 : ::fork();
        if (grandchild != 0) {
            if (grandchild < 0) {
                const int error = errno;
                (void)!::write(report[1], &error, sizeof error);
            }
            ::_exit(0);
        }
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::signal(SIGPIPE, SIG_DFL);
        // The extractor is on its own: it reads nothing from us.
        const int devnull = ::open("/dev/null", O_RDONLY);
        if (devnull >= 0) ::dup2(devnull, STDIN_FILENO);
        ::execve(argv[0], argv.data(), envp.data());
        const int error = errno;
        (void)!::write(report[1], &error, sizeof error);
        ::_exit(127);
    }
    ::close(report[1]);
    if (!watched) {
        while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    // The pipe closes unread when exec succeeds; otherwise it carries errno.
    int error = 0;
    ssize_t n;
    while ((n = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    if (n != sizeof error) return {watched ? child : 0, 0};
    if (watched) {
        while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    return {0, error};
}

}  // namespace

std::vector<std::string> TerminalArguments(WindowStyle style,
                                           const std::vector<std::string>& arguments) {
    std::vector<std::string> terminal{
        style == WindowStyle::MaximizedActive ? "-maximized" : "-iconic", "-e"};
    terminal.insert(terminal.end(), arguments.begin(), arguments.end());
    return terminal;
}

std::optional<std::string> FindExecutable(std::string_view program, std::string_view searchPath) {
    if (program.empty()) return std::nullopt;
    if (program.find('/') != std::string_view::npos) {
        std::string path(program);
        if (IsExecutableFile(path)) return path;
        return std::nullopt;
    }
    for (std::size_t start = 0;;) {
        const std::size_t colon = searchPath.find(':', start);
        std::string folder(searchPath.substr(start, colon - start));
        if (folder.empty()) folder = ".";
        const std::string candidate = folder + "/" + std::string(program);
        if (IsExecutableFile(candidate)) return candidate;
        if (colon == std::string_view::npos) return std::nullopt;
        start = colon + 1;
    }
}

LaunchResult ProcessLauncher::launch(std::u16string_view commandLine, WindowStyle style) {
    return start(commandLine, style, false);
}

LaunchResult ProcessLauncher::launchWatched(std::u16string_view commandLine, WindowStyle style) {
    return start(commandLine, style, true);
}

LaunchResult ProcessLauncher::start(std::u16string_view commandLine, WindowStyle style,
                                    bool watched) {
    ReapWhatHasEnded();
    std::vector<std::string> arguments;
    for (const std::u16string& argument : SplitCommandLine(commandLine)) {
        arguments.push_back(base::Utf16ToUtf8(argument));
    }
    if (arguments.empty()) {
        return {LaunchResult::Status::StartFailed, u"the command line is empty", nullptr};
    }
    const std::string searchPath = EnvOr("PATH", "/usr/local/bin:/usr/bin:/bin");
    const auto program = FindExecutable(arguments.front(), searchPath);
    if (!program) return {LaunchResult::Status::ProgramNotFound, {}, nullptr};
    arguments.front() = *program;

    constexpr std::string_view kHold = "PDIXTRACT_HOLD_ON_ERROR=";
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        if (!std::string_view(*e).starts_with(kHold)) env.emplace_back(*e);
    }
    // xterm is an X client: on a Wayland session it needs XWayland, which sets
    // DISPLAY. Without it the extractor runs directly rather than not at all.
    const bool display = *EnvOr("DISPLAY", "") != '\0';
    const auto terminal = m_terminal == Terminal::WhenAvailable && display
                              ? FindExecutable("xterm", searchPath)
                              : std::nullopt;
    if (terminal) {
        arguments = TerminalArguments(style, arguments);
        arguments.insert(arguments.begin(), *terminal);
        // Our pdixtract then keeps its window open after a failure until the
        // user has read why; a success closes it as before. A watched one
        // ends at once: its watcher is waiting to report the failure.
        if (!watched) env.emplace_back(std::string(kHold) + "1");
    }
    const Start started = StartDetached(arguments, env, watched);
    if (started.error != 0) {
        return {LaunchResult::Status::StartFailed, base::Utf8ToUtf16(std::strerror(started.error)),
                nullptr};
    }
    LaunchResult result;
    if (watched) result.process = std::make_unique<ChildProcess>(started.pid, !terminal);
    return result;
}

}  // namespace zelvorn

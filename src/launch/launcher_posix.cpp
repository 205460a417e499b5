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

// Starts `argv` as a grandchild in a session of its own, so it outlives us
// and leaves no zombie behind; returns 0 or the errno of the failed start.
// Everything is allocated before fork(): the children only make system calls.
int StartDetached(const std::vector<std::string>& arguments, const std::vector<std::string>& env) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return errno;
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return error;
    }
    if (child == 0) {
        ::setsid();
        const pid_t grandchild = ::fork();
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
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    // The pipe closes unread when exec succeeds; otherwise it carries errno.
    int error = 0;
    ssize_t n;
    while ((n = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    return n == sizeof error ? error : 0;
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
    std::vector<std::string> arguments;
    for (const std::u16string& argument : SplitCommandLine(commandLine)) {
        arguments.push_back(base::Utf16ToUtf8(argument));
    }
    if (arguments.empty()) {
        return {LaunchResult::Status::StartFailed, u"the command line is empty"};
    }
    const std::string searchPath = EnvOr("PATH", "/usr/local/bin:/usr/bin:/bin");
    const auto program = FindExecutable(arguments.front(), searchPath);
    if (!program) return {LaunchResult::Status::ProgramNotFound, {}};
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
        // user has read why; a success closes it as before.
        env.emplace_back(std::string(kHold) + "1");
    }
    if (const int error = StartDetached(arguments, env)) {
        return {LaunchResult::Status::StartFailed, base::Utf8ToUtf16(std::strerror(error))};
    }
    return {};
}

}  // namespace zelvorn

// SPDX-License-Identifier: GPL-3.0-or-later
// Running pdixtract on POSIX systems.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "test_support.h"

namespace pdixtract {

RunResult RunPdixtract(const std::vector<std::string>& args, const fs::path& cwd,
                       const Limits& limits, const std::function<void()>& stopped, int signal) {
    TempDir capture;
    const fs::path out = capture.path / "out", err = capture.path / "err", in = capture.path / "in";
    WriteWholeFile(in, limits.input);
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(::open(in.c_str(), O_RDONLY), 0);
        ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        ::close_range(3, ~0u, 0);  // only the standard three descriptors reach the program
        for (const std::string& e : limits.env) ::putenv(const_cast<char*>(e.c_str()));
        // A write past the file size limit fails with EFBIG, as on a full disk with ENOSPC.
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit size{limits.fileSize, limits.fileSize}, files{limits.openFiles, limits.openFiles};
        if (limits.fileSize > 0) ::setrlimit(RLIMIT_FSIZE, &size);
        if (limits.openFiles > 0) ::setrlimit(RLIMIT_NOFILE, &files);
        ::alarm(30);  // a hang fails instead of stalling the suite
        std::string program = limits.program.empty() ? PDIXTRACT_EXE : limits.program;
        std::vector<char*> argv{program.data()};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (::chdir(cwd.c_str()) == 0) ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    if (stopped) {
        for (int i = 0; i < 10000 && !HasTemporary(cwd); ++i) ::usleep(500);
        ::kill(pid, SIGSTOP);
        stopped();
        if (signal) ::kill(pid, signal);
        ::kill(pid, SIGCONT);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadWholeFile(out),
            ReadWholeFile(err)};
}

}  // namespace pdixtract

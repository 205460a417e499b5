// SPDX-License-Identifier: GPL-3.0-or-later
// Running pdixtract on POSIX systems.
#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>

#include "test_support.h"

namespace pdixtract {

namespace {

// Makes the system calls limits names fail, as a file system or disk would.
void RefuseCalls(const Limits& limits) {
    std::vector<sock_filter> filter{BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr))};
    const auto fail = [&](unsigned call, unsigned error) {
        filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, call, 0, 1));
        filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | error));
    };
    if (limits.noFlush) {
        for (unsigned call : {SYS_fsync, SYS_fdatasync, SYS_syncfs, SYS_sync}) fail(call, EIO);
    }
    if (limits.noUnnamedFiles) {  // O_TMPFILE in open's or openat's flags, as on FAT
        for (auto [call, flags] : {std::pair{SYS_open, 1u}, std::pair{SYS_openat, 2u}}) {
            filter.push_back(
                BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<unsigned>(call), 0, 3));
            filter.push_back(
                BPF_STMT(BPF_LD | BPF_W | BPF_ABS,
                         static_cast<unsigned>(offsetof(seccomp_data, args) + 8 * flags)));
            filter.push_back(BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, O_TMPFILE & ~O_DIRECTORY, 0, 1));
            filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EOPNOTSUPP));
            filter.push_back(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)));
        }
    }
    if (filter.size() == 1) return;
    filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
        ::_exit(126);
}

// Whether process pid has a temporary file open under dir: one without a name, or a ".part".
bool HoldsTemporary(pid_t pid, const fs::path& dir) {
    const std::string inside = fs::canonical(dir).string() + "/";
    std::error_code ec;
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
        const std::string file = fs::read_symlink(fd.path(), ec).string();
        if (file.starts_with(inside) &&
            (file.ends_with(" (deleted)") || fs::path(file).extension() == ".part"))
            return true;
    }
    return false;
}

}  // namespace

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
        if (stopped) ::setenv("PDIXTRACT_TEST_HOLD", "1", 1);
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
        if (::chdir(cwd.c_str()) == 0) {
            RefuseCalls(limits);
            ::execvp(argv[0], argv.data());
        }
        ::_exit(127);
    }
    int status = 0;
    bool held = false;
    // Held, the run stops itself as soon as its first temporary file is made.
    if (stopped) {
        ::waitpid(pid, &status, WUNTRACED);
        held = WIFSTOPPED(status) && HoldsTemporary(pid, cwd);
        stopped();
        if (signal) ::kill(pid, signal);
        ::kill(pid, SIGCONT);
    }
    if (!stopped || WIFSTOPPED(status)) ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadWholeFile(out),
            ReadWholeFile(err), held};
}

}  // namespace pdixtract

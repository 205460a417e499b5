// SPDX-License-Identifier: GPL-3.0-or-later
// Running pdixtract and making temporary folders on POSIX systems.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "test_support.h"

namespace pdix_test {

pid_t start_pdixtract(const std::vector<std::string>& args, const fs::path& cwd,
                      const fs::path& out, const fs::path& err, const Limits& limits) {
    pid_t pid = ::fork();
    if (pid != 0) return pid;
    ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    for (const std::string& e : limits.env) ::putenv(const_cast<char*>(e.c_str()));
    // A write past the file size limit fails with EFBIG, as on a full disk with ENOSPC.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit size{limits.file_size, limits.file_size}, files{limits.open_files, limits.open_files};
    if (limits.file_size > 0) ::setrlimit(RLIMIT_FSIZE, &size);
    if (limits.open_files > 0) ::setrlimit(RLIMIT_NOFILE, &files);
    ::alarm(30);
    std::vector<char*> argv{const_cast<char*>(PDIXTRACT_EXE)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    if (::chdir(cwd.c_str()) == 0) ::execv(PDIXTRACT_EXE, argv.data());
    ::_exit(127);
}

RunResult run_on_terminal(const std::vector<std::string>& args, const fs::path& cwd, int columns,
                          const Limits& limits, bool stdin_terminal) {
    std::string inner = "stty cols " + std::to_string(columns) + " rows 24; trap '' XFSZ; ";
    if (limits.file_size > 0)
        inner += "ulimit -f " + std::to_string(limits.file_size / 1024) + "; ";
    inner += std::string("exec ") + PDIXTRACT_EXE;
    for (const std::string& a : args) inner += " '" + a + "'";
    if (!stdin_terminal) inner += " </dev/null";
    std::string command = "cd '" + cwd.string() + "' && printf '\\n' | env";
    for (const std::string& e : limits.env) command += " '" + e + "'";
    command += " timeout 30 script -qfec \"" + inner + "\" /dev/null";
    RunResult r;
    FILE* p = ::popen(command.c_str(), "r");
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
    int status = ::pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

TempDir::TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "pdixtract-test-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    m_path = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

}  // namespace pdix_test

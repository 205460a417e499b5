// SPDX-License-Identifier: GPL-3.0-or-later
// What the pdixtract tests share, GoogleTest and the standard headers they use included:
// building disc images, and running the pdixtract under test on them, on POSIX systems and
// on Windows.
#pragma once

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace pdixtract {

namespace fs = std::filesystem;

// Files of a folder tree: relative path -> content.
using Tree = std::map<std::string, std::string>;

// A short name for bytes (FNV-1a).
inline std::string Fingerprint(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037u;
    for (char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    return std::to_string(hash);
}

// Reproducible bytes for generated files.
inline std::string RandomBytes(std::size_t size, unsigned seed) {
    std::string s(size, '\0');
    std::generate(s.begin(), s.end(), std::mt19937_64(seed));  // each byte the low one of a draw
    return s;
}

// Whole content of a file; empty if it cannot be read.
inline std::string ReadWholeFile(const fs::path& path) {
    std::string bytes(fs::file_size(path), '\0');
    std::ifstream(path, std::ios::binary).read(bytes.data(), std::streamsize(bytes.size()));
    return bytes;
}

// Writes content to path, creating parent folders.
inline void WriteWholeFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// A fresh empty folder for one test, removed by the destructor.
struct TempDir {
    const fs::path path =
        fs::temp_directory_path() / ("pdixtract-test-" + std::to_string(std::random_device()()));
    TempDir() { fs::create_directory(path); }
    ~TempDir() { fs::remove_all(path, ignored); }
    std::error_code ignored;
};

// Image makers: the command that turns folder SRC into image OUT.
inline const std::string kRockRidgeJoliet = "xorriso -as mkisofs -quiet -R -J -o OUT SRC";
inline const std::string kPlainNames = "xorriso -as mkisofs -quiet --norock -o OUT SRC";
inline const std::string kJolietOnly =
    "xorriso -as mkisofs -quiet -input-charset utf-8 --norock -J -o OUT SRC";
inline const std::string kHardLinks = "xorriso -as mkisofs -quiet -R --hardlinks -o OUT SRC";
inline const std::string kZisofs =
    "xorriso -outdev OUT -blank as_needed -hardlinks on -map SRC / -set_filter_r --zisofs / -- "
    "-commit";
inline const std::string kUdfBridge = "genisoimage -quiet -input-charset utf-8 -udf -o OUT SRC";

// Builds an image of tree with maker; links makes paths of tree hard links to others (path ->
// path), in place of their copies.
inline std::string MakeImage(const Tree& tree, const std::string& maker = kRockRidgeJoliet,
                             const std::map<std::string, std::string>& links = {}) {
    // Kept for the run under Wine, named by everything that shapes it, in the folder
    // PDIXTRACT_TEST_IMAGES names, if any.
    std::string shape = maker;
    for (const auto& [rel, content] : tree) shape += '\0' + rel + '\0' + content;
    for (const auto& [rel, target] : links) shape += '\1' + rel + '\0' + target;
    const char* dir = std::getenv("PDIXTRACT_TEST_IMAGES");
    const fs::path kept = dir && *dir ? fs::path(dir) / (Fingerprint(shape) + ".iso") : "";
#ifdef _WIN32  // without xorriso, the image the Linux run kept, or none
    if (fs::exists(kept)) return ReadWholeFile(kept);
#endif
    TempDir work;
    fs::path src = work.path / "src", iso = work.path / "image.iso";
    for (const auto& [rel, content] : tree)
        if (!links.contains(rel)) WriteWholeFile(src / rel, content);
    for (const auto& [rel, target] : links) fs::create_hard_link(src / target, src / rel);
    std::string command = maker;
    command.replace(command.find("OUT"), 3, "'" + iso.string() + "'");
    command.replace(command.find("SRC"), 3, "'" + src.string() + "'");
    if (std::system((command + " >/dev/null 2>&1").c_str())) throw std::runtime_error(command);
    if (!kept.empty()) {  // copied beside it, then renamed: a parallel run never reads half
        fs::create_directories(kept.parent_path());
        fs::copy_file(iso, kept.string() + work.path.filename().string());
        fs::rename(kept.string() + work.path.filename().string(), kept);
    }
    return ReadWholeFile(iso);
}

// Splits image into dir/disc.pdi, disc.1.pdi, ... of memberSize bytes.
inline void WriteMembers(const std::string& image, const fs::path& dir, std::size_t memberSize) {
    for (std::size_t at = 0, i = 0; at < image.size(); at += memberSize, ++i) {
        const std::string index = i ? "." + std::to_string(i) : "";
        WriteWholeFile(dir / ("disc" + index + ".pdi"), image.substr(at, memberSize));
    }
}

// Whether there is a temporary file (".part") anywhere under dir.
inline bool HasTemporary(const fs::path& dir) {
    // Read while pdixtract may be adding and removing files: an entry may vanish meanwhile.
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".part") return true;
    return false;
}

// What a finished pdixtract run left: its exit status (or 128 + signal) and output.
struct RunResult {
    int status = -1;
    std::string out, err;
};

// The signal that ends a process at once; on Windows, TerminateProcess with status 128 + it.
inline constexpr int kKill = 9;

// Limits on the size of files written (a full disk) and on open files, environment entries
// ("NAME=VALUE"), standard input, a program run instead of pdixtract (searched on PATH), and
// system calls that fail: flushing to disk (EIO), unnamed files (EOPNOTSUPP, as on FAT), for
// a run on POSIX systems.
struct Limits {
    std::uint64_t fileSize = 0, openFiles = 0;
    std::vector<std::string> env{};
    std::string input{}, program{};
    bool noFlush = false, noUnnamedFiles = false;
};

// Runs the pdixtract under test in cwd to its end; one still running after 30 s is ended.
// With stopped, it holds as soon as its first temporary file is made (PDIXTRACT_TEST_HOLD),
// which the run checks, stopped() is called, and it goes on after receiving signal, if any:
// on Windows SIGINT is a Ctrl+C in a console of its own, kKill is TerminateProcess.
#ifdef _WIN32
inline RunResult RunPdixtract(const std::vector<std::string>& args, const fs::path& cwd,
                              const Limits& = {}, const std::function<void()>& stopped = {},
                              int signal = 0) {
    std::wstring line = L"pdixtract.exe";  // found first in the folder of this program
    for (const std::string& arg : args)    // no argument here holds a double quote or ends in "\"
        line += L" \"" + fs::path(std::u8string(arg.begin(), arg.end())).wstring() + L"\"";
    TempDir capture;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    auto output = [&](const char* name) {
        return CreateFileW((capture.path / name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                           CREATE_ALWAYS, 0, nullptr);
    };
    // A held run waits until its standard input, this pipe, ends.
    HANDLE input = nullptr, release = nullptr;
    CreatePipe(&input, &release, &inherit, 0);
    SetHandleInformation(release, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output("out");
    startup.hStdError = output("err");
    SetEnvironmentVariableW(L"PDIXTRACT_TEST_HOLD", stopped ? L"1" : nullptr);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                        signal == SIGINT ? CREATE_NEW_CONSOLE : CREATE_NO_WINDOW, nullptr,
                        cwd.c_str(), &startup, &process))
        throw std::runtime_error("cannot start pdixtract.exe: " + std::to_string(GetLastError()));
    for (HANDLE h : {input, startup.hStdOutput, startup.hStdError}) CloseHandle(h);
    if (stopped) {
        // Held, its temporary file stays until it goes on. (The first console of a Wine prefix
        // takes seconds to open.)
        for (int i = 0; i < 20000 && !HasTemporary(cwd); ++i)
            if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
        EXPECT_TRUE(HasTemporary(cwd)) << "no temporary file seen while held";
        stopped();
    }
    if (signal == SIGINT) {
        // Ctrl+C goes to every process of a console: join its console, ignoring it here.
        FreeConsole();
        AttachConsole(process.dwProcessId);
        SetConsoleCtrlHandler(nullptr, TRUE);
        GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
        FreeConsole();
    }
    if (signal == kKill) TerminateProcess(process.hProcess, 128 + kKill);
    // Released, a held run goes on; one sent a signal ends where it is held, as on POSIX.
    if (!signal) CloseHandle(release);
    DWORD status = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, status);
    if (signal) CloseHandle(release);
    GetExitCodeProcess(process.hProcess, &status);
    for (HANDLE h : {process.hThread, process.hProcess}) CloseHandle(h);
    return {static_cast<int>(status), ReadWholeFile(capture.path / "out"),
            ReadWholeFile(capture.path / "err")};
}
#else
inline RunResult RunPdixtract(const std::vector<std::string>& args, const fs::path& cwd,
                              const Limits& limits = {}, const std::function<void()>& stopped = {},
                              int signal = 0) {
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
        // The system calls limits names fail, as a file system or disk would.
        std::vector<sock_filter> bpf{
            BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr))};
        // Fails with error where the word loaded last passes test (BPF_JEQ, BPF_JSET) with value.
        const auto fail = [&](unsigned test, unsigned value, unsigned error) {
            bpf.push_back(BPF_JUMP(BPF_JMP | test | BPF_K, value, 0, 1));
            bpf.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | error));
        };
        if (limits.noFlush) {
            for (unsigned call : {SYS_fsync, SYS_fdatasync, SYS_syncfs, SYS_sync})
                fail(BPF_JEQ, call, EIO);
        }
        if (limits.noUnnamedFiles) {  // O_TMPFILE in openat's flags (glibc's open is openat)
            bpf.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_openat, 0, 3));
            bpf.push_back(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args) + 16));
            fail(BPF_JSET, O_TMPFILE & ~O_DIRECTORY, EOPNOTSUPP);  // last: nr is not loaded again
        }
        bpf.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
        sock_fprog rules{static_cast<unsigned short>(bpf.size()), bpf.data()};
        if (::chdir(cwd.c_str()) == 0 && ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
            ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &rules) == 0)
            ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    if (stopped) {  // it stops itself, its temporary file open: a ".part" or one without a name
        ::waitpid(pid, &status, WUNTRACED);
        bool held = false;
        for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd")) {
            const std::string file = fs::read_symlink(fd).string();
            held |= file.starts_with(fs::canonical(cwd).string() + "/") &&
                    (file.ends_with(".part") || file.ends_with(" (deleted)"));
        }
        EXPECT_TRUE(held) << "no temporary file open while held";
        stopped();
        if (signal) ::kill(pid, signal);
        ::kill(pid, SIGCONT);
    }
    if (!stopped || WIFSTOPPED(status)) ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadWholeFile(out),
            ReadWholeFile(err)};
}
#endif

}  // namespace pdixtract

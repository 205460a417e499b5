#include "test_support.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <tuple>

namespace pdix_test {

std::string random_bytes(std::size_t size, unsigned seed) {
    std::mt19937_64 gen(seed);
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; i += 8) {
        std::uint64_t v = gen();
        for (std::size_t k = 0; k < 8 && i + k < size; ++k)
            s[i + k] = static_cast<char>(v >> (8 * k));
    }
    return s;
}

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void write_file(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

Tree dvd_tree(std::size_t vob_size) {
    return {
        {"VIDEO_TS/VIDEO_TS.IFO", random_bytes(12288, 1)},
        {"VIDEO_TS/VIDEO_TS.BUP", random_bytes(12288, 2)},
        {"VIDEO_TS/VIDEO_TS.VOB", random_bytes(100000, 3)},
        {"VIDEO_TS/VTS_01_0.IFO", random_bytes(30720, 4)},
        {"VIDEO_TS/VTS_01_0.BUP", random_bytes(30720, 5)},
        {"VIDEO_TS/VTS_01_1.VOB", random_bytes(vob_size, 6)},
        {"VIDEO_TS/VTS_01_2.VOB", random_bytes(vob_size / 2 + 777, 7)},
        {"EXTRA/MY NOTES.TXT", "notes\n"},
        {"EXTRA/EMPTY.DAT", ""},
    };
}

namespace {

std::string run_capture(const std::string& command) {
    std::string out;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) throw std::runtime_error("cannot run " + command);
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    if (::pclose(p) != 0) throw std::runtime_error("failed: " + command);
    return out;
}

}  // namespace

std::string make_image(const Tree& tree, const fs::path& work,
                       const std::map<std::string, std::string>& links) {
    fs::path src = work / "src";
    fs::remove_all(src);
    for (const auto& [rel, content] : tree) write_file(src / rel, content);
    for (const auto& [rel, target] : links) {
        fs::create_directories((src / rel).parent_path());
        fs::create_hard_link(src / target, src / rel);
    }
    fs::path iso = work / "image.iso";
    run_capture("xorriso -as mkisofs -quiet -R -J -o '" + iso.string() + "' '" + src.string() +
                "' 2>&1");
    std::string bytes = read_file(iso);
    return bytes;
}

std::vector<std::pair<std::string, std::uint64_t>> image_order(const fs::path& image) {
    std::string report = run_capture("xorriso -indev '" + image.string() +
                                     "' -find / -type f -exec report_lba -- 2>/dev/null");
    // "File data lba:  0 ,  35 ,  147 ,  300000 , '/VIDEO_TS/VIDEO_TS.IFO'"
    std::vector<std::tuple<std::uint64_t, std::string, std::uint64_t>> rows;
    std::istringstream lines(report);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("File data lba:", 0) != 0) continue;
        unsigned extent;
        unsigned long long lba, blocks, size;
        if (std::sscanf(line.c_str(), "File data lba: %u , %llu , %llu , %llu", &extent, &lba,
                        &blocks, &size) != 4)
            continue;
        std::string path = line.substr(line.find('\'') + 1);
        path.pop_back();
        // An empty file has no data; libarchive hands such files out after all others.
        rows.emplace_back(size == 0 ? UINT64_MAX : lba, path.substr(path.rfind('/') + 1), size);
    }
    std::sort(rows.begin(), rows.end());
    std::vector<std::pair<std::string, std::uint64_t>> out;
    for (const auto& [lba, name, size] : rows) out.emplace_back(name, size);
    return out;
}

std::vector<fs::path> write_members(const std::string& image, const fs::path& dir,
                                    const std::string& stem, std::size_t member_size) {
    std::vector<fs::path> paths;
    for (std::size_t off = 0, i = 0; off < image.size(); off += member_size, ++i) {
        fs::path p = dir / (i == 0 ? stem + ".pdi" : stem + "." + std::to_string(i) + ".pdi");
        write_file(p, image.substr(off, member_size));
        paths.push_back(p);
    }
    return paths;
}

RunResult run_pdixtract(const std::vector<std::string>& args, const fs::path& cwd,
                        std::uint64_t file_limit) {
    // Captured outside cwd so the tests see only what pdixtract wrote there.
    static int counter = 0;
    std::string stem =
        "pdixtract-run-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
    fs::path out_file = fs::temp_directory_path() / (stem + ".out");
    fs::path err_file = fs::temp_directory_path() / (stem + ".err");
    pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(cwd.c_str()) != 0) ::_exit(127);
        int out = ::open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = ::open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, 1);
        ::dup2(err, 2);
        if (file_limit > 0) {
            // A write past the limit then fails with EFBIG, as a full disk fails with ENOSPC.
            ::signal(SIGXFSZ, SIG_IGN);
            rlimit lim{file_limit, file_limit};
            ::setrlimit(RLIMIT_FSIZE, &lim);
        }
        std::vector<char*> argv;
        std::string exe = PDIXTRACT_EXE;
        argv.push_back(exe.data());
        std::vector<std::string> copy = args;
        for (std::string& a : copy) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(exe.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    RunResult r;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = read_file(out_file);
    r.err = read_file(err_file);
    fs::remove(out_file);
    fs::remove(err_file);
    return r;
}

std::vector<std::string> list_dir(const fs::path& dir) {
    std::vector<std::string> names;
    if (!fs::is_directory(dir)) return names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
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

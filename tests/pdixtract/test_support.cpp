// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_support.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace pdix_test {

std::string random_bytes(std::size_t size, unsigned seed) {
    std::mt19937_64 gen(seed);
    std::string s(size, '\0');
    for (char& c : s) c = static_cast<char>(gen());
    return s;
}

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void write_file(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string make_image(const Tree& tree, const std::string& maker,
                       const std::map<std::string, std::string>& links) {
    TempDir work;
    fs::path src = work.path() / "src", iso = work.path() / "image.iso";
    fs::create_directories(src);
    for (const auto& [rel, content] : tree) write_file(src / rel, content);
    for (const auto& [rel, target] : links) fs::create_hard_link(src / target, src / rel);
    std::string command = maker;
    command.replace(command.find("OUT"), 3, "'" + iso.string() + "'");
    command.replace(command.find("SRC"), 3, "'" + src.string() + "'");
    if (std::system((command + " >/dev/null 2>&1").c_str())) throw std::runtime_error(command);
    return read_file(iso);
}

std::string udf_only(std::string image) {
    // The recognition sequence (BEA01, NSR02, TEA01) moves up over the ISO 9660 descriptors.
    const std::size_t sector = 2048, first = 16 * sector, vrs = image.find("BEA01") - 1;
    std::string sequence = image.substr(vrs, 3 * sector);
    std::fill(image.begin() + first, image.begin() + vrs + 3 * sector, '\0');
    return image.replace(first, sequence.size(), sequence);
}

std::size_t record_of(const std::string& image, const std::string& id) {
    std::size_t at = image.find(static_cast<char>(id.size()) + id);
    if (at == std::string::npos) throw std::runtime_error("no record " + id);
    return at - 32;
}

std::uint32_t field(const std::string& image, const std::string& id, int at) {
    const auto* p =
        reinterpret_cast<const unsigned char*>(image.data() + record_of(image, id) + at);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void set_field(std::string& image, const std::string& id, int at, std::uint32_t value) {
    std::size_t r = record_of(image, id) + static_cast<std::size_t>(at);
    for (int i = 0; i < 4; ++i) {
        image[r + i] = static_cast<char>(value >> (8 * i));
        image[r + 7 - i] = static_cast<char>(value >> (8 * i));
    }
}

void write_members(const std::string& image, const fs::path& dir, const std::string& stem,
                   std::size_t member_size) {
    for (std::size_t off = 0, i = 0; off < image.size(); off += member_size, ++i) {
        std::string name = i == 0 ? stem + ".pdi" : stem + "." + std::to_string(i) + ".pdi";
        write_file(dir / name, image.substr(off, member_size));
    }
}

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

std::vector<std::string> leftovers(const fs::path& dir) {
    // Read while pdixtract may be adding and removing files: an entry may vanish meanwhile.
    std::vector<std::string> found;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() == ".part") found.push_back(it->path().string());
    }
    return found;
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

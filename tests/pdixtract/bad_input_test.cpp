// What pdixtract does with a destination it cannot write, a full disk, a
// member that vanishes while it reads, and list requests that race: a clear
// exit status and message, no half-written file, and -r deletes nothing
// unless everything asked for was written completely.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "commands.h"
#include "errors.h"
#include "test_support.h"

extern char** environ;

using namespace pdix_test;

namespace {

// A tmpfs mounted for one test, or the reason it could not be.
class TmpfsMount {
public:
    TmpfsMount(const fs::path& at, const std::string& options) : m_at(at) {
        fs::create_directories(at);
        if (::mount("tmpfs", at.c_str(), "tmpfs", 0, options.c_str()) == 0) {
            m_mounted = true;
        } else {
            m_why = std::string("cannot mount a tmpfs here (") + std::strerror(errno) +
                    "); needs root with CAP_SYS_ADMIN";
        }
    }
    ~TmpfsMount() {
        if (m_mounted) ::umount2(m_at.c_str(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    const std::string& why() const { return m_why; }

private:
    fs::path m_at;
    bool m_mounted = false;
    std::string m_why;
};

// A stdio stream that calls back on every write: pdixtract prints one line per
// finished file, so the callback runs between two files.
std::FILE* CallbackStream(std::function<void()>* onWrite) {
    cookie_io_functions_t io{};
    io.write = [](void* cookie, const char*, std::size_t size) -> ssize_t {
        (*static_cast<std::function<void()>*>(cookie))();
        return static_cast<ssize_t>(size);
    };
    return ::fopencookie(onWrite, "w", io);
}

class BadInput : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_work = new TempDir;
        s_image = make_image(dvd_tree(3 << 20), s_work->path());
    }
    static void TearDownTestSuite() {
        delete s_work;
        s_work = nullptr;
    }

    // The set in 1 MiB members, so the large files span several of them.
    std::vector<fs::path> members() {
        return write_members(s_image, m_dir.path(), "disc", 1 << 20);
    }
    bool all_exist(const std::vector<fs::path>& paths) {
        for (const fs::path& p : paths) {
            if (!fs::exists(p)) return false;
        }
        return true;
    }
    // Files whose names say they are temporary, anywhere under dir.
    std::vector<std::string> leftovers(const fs::path& dir) {
        std::vector<std::string> found;
        for (const auto& e : fs::recursive_directory_iterator(dir)) {
            if (e.path().extension() == ".part") found.push_back(e.path().string());
        }
        return found;
    }

    static inline TempDir* s_work = nullptr;
    static inline std::string s_image;
    TempDir m_dir;
};

TEST_F(BadInput, DestinationThatIsAFileIsRefusedAndMembersStay) {
    std::vector<fs::path> paths = members();
    write_file(m_dir.path() / "out", "a file, not a folder");
    RunResult r = run_pdixtract({"-r", "-m", "out", "disc.pdi"}, m_dir.path());
    EXPECT_EQ(r.status, 6) << r.err;
    EXPECT_NE(r.err.find("cannot create destination folder out"), std::string::npos) << r.err;
    EXPECT_EQ(read_file(m_dir.path() / "out"), "a file, not a folder");
    EXPECT_TRUE(all_exist(paths));
}

TEST_F(BadInput, ReadOnlyDestinationIsRefusedAndMembersStay) {
    std::vector<fs::path> paths = members();
    TmpfsMount readOnly(m_dir.path() / "ro", "ro,size=1m");
    if (!readOnly.mounted()) GTEST_SKIP() << readOnly.why();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-r", "-m", "ro/out", "disc.pdi"},
          std::vector<std::string>{"-r", "-i", "ro/disc.iso", "disc.pdi"},
          std::vector<std::string>{"-gb", "ro/list.txt", "disc.pdi"}}) {
        RunResult r = run_pdixtract(args, m_dir.path());
        EXPECT_EQ(r.status, 6) << args[args.size() - 2] << ": " << r.err;
        EXPECT_NE(r.err.find("Read-only file system"), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_TRUE(list_dir(m_dir.path() / "ro").empty());
    EXPECT_TRUE(all_exist(paths));
}

TEST_F(BadInput, FullDiskKeepsFinishedFilesRemovesTheFailingOneAndTheMembers) {
    std::vector<fs::path> paths = members();
    // 2 MiB hold the small files but not the 3 MiB VOB.
    TmpfsMount small(m_dir.path() / "small", "size=2m");
    if (!small.mounted()) GTEST_SKIP() << small.why();
    RunResult r = run_pdixtract({"-r", "-m", "small", "disc.pdi"}, m_dir.path());
    EXPECT_EQ(r.status, 6) << r.err;
    EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("VTS_01_1.VOB"), std::string::npos) << r.err;
    std::vector<std::string> landed = list_dir(m_dir.path() / "small");
    EXPECT_FALSE(landed.empty()) << "the files before the full disk stay";
    EXPECT_EQ(std::count(landed.begin(), landed.end(), "VTS_01_1.VOB"), 0);
    EXPECT_TRUE(leftovers(m_dir.path() / "small").empty());
    EXPECT_TRUE(all_exist(paths));

    RunResult iso = run_pdixtract({"-r", "-i", "small/disc.iso", "disc.pdi"}, m_dir.path());
    EXPECT_EQ(iso.status, 6) << iso.err;
    EXPECT_FALSE(fs::exists(m_dir.path() / "small" / "disc.iso"));
    EXPECT_TRUE(leftovers(m_dir.path() / "small").empty());
    EXPECT_TRUE(all_exist(paths));
}

// Runs an extraction in-process and, after the first finished file, does
// something to the set's last member (the large VOBs lie there).
struct VanishCase {
    const char* label;
    std::function<void(const fs::path&)> act;
    int status;           // the exit status run() gives
    const char* message;  // part of the error line
    bool members_stay;
};

void PrintTo(const VanishCase& c, std::ostream* os) {
    *os << c.label;
}

class MemberVanishes : public BadInput, public ::testing::WithParamInterface<VanishCase> {};

TEST_P(MemberVanishes, WhileItIsRead) {
    const VanishCase& c = GetParam();
    std::vector<fs::path> paths = members();
    bool done = false;
    std::function<void()> afterFirstFile = [&] {
        if (!done) c.act(paths.back());
        done = true;
    };
    std::FILE* out = CallbackStream(&afterFirstFile);
    std::FILE* err = std::tmpfile();
    ASSERT_TRUE(out && err);
    std::setvbuf(out, nullptr, _IONBF, 0);

    pdix::Options opts;
    opts.mode = pdix::Options::Mode::extract;
    opts.remove_members = true;
    opts.target = (m_dir.path() / "out").string();
    opts.set = (m_dir.path() / "disc.pdi").string();
    int status = pdix::run(opts, pdix::Console{out, err, false});
    std::fclose(out);
    std::rewind(err);
    char line[512] = {};
    std::fgets(line, sizeof line, err);
    std::fclose(err);

    EXPECT_TRUE(done);
    EXPECT_EQ(status, c.status) << line;
    EXPECT_NE(std::string(line).find(c.message), std::string::npos) << line;
    EXPECT_TRUE(leftovers(m_dir.path()).empty());
    for (std::size_t i = 0; i + 1 < paths.size(); ++i) {
        EXPECT_EQ(fs::exists(paths[i]), c.members_stay) << paths[i];
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MemberVanishes,
                         ::testing::Values(
                             // Cut short: the read fails clearly and -r deletes nothing.
                             VanishCase{"truncated",
                                        [](const fs::path& p) { fs::resize_file(p, 0); }, 4,
                                        "set member shrank while reading", true},
                             // Deleted: the open member is still read whole, so the extraction
                             // completes; -r then says it could not delete the vanished member.
                             VanishCase{"deleted", [](const fs::path& p) { fs::remove(p); }, 7,
                                        "cannot delete set member", false}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(BadInput, NamesThatLookLikeOptionsAreNamesAndDeleteNothing) {
    std::vector<fs::path> paths = members();
    RunResult r = run_pdixtract({"-m", "out", "disc.pdi", "-r", "--help"}, m_dir.path());
    EXPECT_EQ(r.status, 5) << r.err;
    EXPECT_NE(r.err.find(R"(not in the image: "-r", "--help")"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(m_dir.path() / "out"));
    EXPECT_TRUE(all_exist(paths));
}

// Starts pdixtract without waiting for it.
pid_t Spawn(const std::vector<std::string>& args) {
    std::vector<std::string> copy = args;
    std::string exe = PDIXTRACT_EXE;
    std::vector<char*> argv{exe.data()};
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

TEST_F(BadInput, ListRequestsInQuickSuccessionNeverShowAHalfWrittenList) {
    // Two sets with long, different lists, listed into the same file again
    // and again while a reader keeps reading it the way the window does.
    std::vector<std::string> lists;
    for (const char* stem : {"one", "two"}) {
        Tree tree;
        for (int i = 0; i < 1500; ++i) tree[std::string(stem) + "/F" + std::to_string(i)] = stem;
        TempDir work;
        write_members(make_image(tree, work.path()), m_dir.path(), stem, 1 << 20);
        RunResult r = run_pdixtract({"-gb", std::string(stem) + ".txt", std::string(stem) + ".pdi"},
                                    m_dir.path());
        ASSERT_EQ(r.status, 0) << r.err;
        lists.push_back(read_file(m_dir.path() / (std::string(stem) + ".txt")));
        ASSERT_GT(lists.back().size(), 10000u);
    }
    const fs::path list = m_dir.path() / "pdilist.txt";
    int reads = 0, complete = 0;
    for (int round = 0; round < 15; ++round) {
        std::vector<pid_t> running;
        for (const char* stem : {"one", "two"}) {
            running.push_back(Spawn(
                {"-gb", list.string(), (m_dir.path() / (std::string(stem) + ".pdi")).string()}));
            ASSERT_GT(running.back(), 0);
        }
        while (!running.empty()) {
            const std::string seen = read_file(list);
            ++reads;
            if (!seen.empty()) {
                ASSERT_TRUE(seen == lists[0] || seen == lists[1])
                    << "read " << seen.size() << " bytes that are neither whole list";
                ++complete;
            }
            for (auto it = running.begin(); it != running.end();) {
                int status = 0;
                if (::waitpid(*it, &status, WNOHANG) == *it) {
                    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
                    it = running.erase(it);
                } else {
                    ++it;
                }
            }
        }
    }
    EXPECT_GT(complete, 0);
    EXPECT_TRUE(leftovers(m_dir.path()).empty());
    std::printf("%d reads while lists were written, %d saw a whole list\n", reads, complete);
}

}  // namespace

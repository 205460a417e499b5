// SPDX-License-Identifier: GPL-3.0-or-later
// The pdixtract commands run as a user runs them, on images that xorriso and genisoimage
// build here: real kinds of disc byte for byte, then damaged and hostile ones.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "commands.h"
#include "test_support.h"

using namespace pdix_test;

namespace {

Tree flat(const Tree& tree) {
    Tree out;
    for (const auto& [rel, content] : tree) out[fs::path(rel).filename().string()] = content;
    return out;
}

// Text that compresses, as zisofs images hold it.
std::string text_of(std::size_t size) {
    std::string text;
    for (int i = 0; text.size() < size; ++i) text += std::to_string(i * 7919 % 10007) + " ";
    return text.substr(0, size);
}

const Tree& dvd() {
    static const Tree tree = {
        {"VIDEO_TS/VIDEO_TS.IFO", random_bytes(12288, 1)},
        {"VIDEO_TS/VTS_01_0.IFO", random_bytes(30720, 4)},
        {"VIDEO_TS/VTS_01_1.VOB", random_bytes(3 << 20, 6)},
        {"VIDEO_TS/VTS_01_2.VOB", random_bytes((3 << 19) + 777, 7)},
        {"EXTRA/MY NOTES.TXT", "notes\n"},
        {"EXTRA/EMPTY.DAT", ""},
    };
    return tree;
}

// Three files in one folder, plain names: one record each, easy to patch.
const Tree abc = {{"A.TXT", "alpha"}, {"B.TXT", random_bytes(5000, 2)}, {"C.TXT", ""}};

// The set as 1 MiB members, named by its second member.
std::string members_of(const std::string& image, const fs::path& dir) {
    write_members(image, dir, "disc", 1 << 20);
    return "disc.pdi";
}

struct RealImage {
    const char* label;
    std::function<std::string(Tree&)> build;  // the image; fills in the files it must give
    std::vector<std::string> options{};       // before -m
    std::vector<std::string> names{};         // after SET
    std::function<std::string(const std::string&, const fs::path&)> layout = members_of;
    Limits limits{};
};

void PrintTo(const RealImage& c, std::ostream* os) {
    *os << c.label;
}

class RealImages : public ::testing::TestWithParam<RealImage> {};

// Every file comes out byte for byte; -r then deletes the members and nothing else.
TEST_P(RealImages, ExtractByteForByteThenDeleteTheSet) {
    const RealImage& c = GetParam();
    TempDir dir;
    Tree expected;
    std::string set = c.layout(c.build(expected), dir.path());
    for (const char* bystander : {"disc.99999.pdi", "disc.iso", "disco.pdi"}) {
        write_file(dir.path() / bystander, "keep");
    }

    RunResult list = run_pdixtract({"-gb", "list.txt", set}, dir.path(), c.limits);
    EXPECT_EQ(list.status, 0) << list.err;
    if (c.names.empty()) {
        EXPECT_NE(list.out.find("Listed " + std::to_string(expected.size()) + " files"),
                  std::string::npos)
            << list.out;
    }
    fs::remove(dir.path() / "list.txt");

    std::vector<std::string> args = c.options;
    args.insert(args.begin(), "-r");
    args.insert(args.end(), {"-m", "out", set});
    args.insert(args.end(), c.names.begin(), c.names.end());
    RunResult r = run_pdixtract(args, dir.path(), c.limits);
    ASSERT_EQ(r.status, 0) << r.err;
    fs::path out = dir.path() / (c.options.empty() ? "out" : "out/VIDEO_TS");
    std::vector<std::string> names;
    for (const auto& [name, content] : expected) {
        names.push_back(name);
        EXPECT_TRUE(read_file(out / name) == content) << name;
    }
    EXPECT_EQ(list_dir(out), names);
    EXPECT_NE(r.out.find("Extracted " + std::to_string(expected.size()) + " file"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(list_dir(dir.path()),
              (std::vector<std::string>{"disc.99999.pdi", "disc.iso", "disco.pdi", "out"}));
}

const Tree unicode = {{"café.txt", "crème"}, {"日本語の名前.txt", "名前"}, {"DIR/Ünï.bin", "ü"}};

INSTANTIATE_TEST_SUITE_P(
    Kinds, RealImages,
    ::testing::Values(
        RealImage{"RockRidgeAndJolietOverMembers",
                  [](Tree& e) {
                      e = flat(dvd());
                      return make_image(dvd());
                  }},
        RealImage{"VideoTsNamedFiles",
                  [](Tree& e) {
                      e = {{"VTS_01_1.VOB", dvd().at("VIDEO_TS/VTS_01_1.VOB")},
                           {"MY NOTES.TXT", "notes\n"}};
                      return make_image(dvd());
                  },
                  {"-v"},
                  {"VTS_01_1.VOB", "MY NOTES.TXT", "VTS_01_1.VOB"}},
        RealImage{"PlainIsoNames",
                  [](Tree& e) {
                      e = {{"README", "r"}, {"X.TXT", "x"}};
                      return make_image({{"README", "r"}, {"DIR/X.TXT", "x"}}, plain_names);
                  }},
        RealImage{"JolietOnlyNonAsciiNamesInTheCLocale",
                  [](Tree& e) {
                      e = flat(unicode);
                      return make_image(unicode, joliet_only);
                  },
                  {},
                  {},
                  members_of,
                  Limits{0, 0, {"LC_ALL=C"}}},
        RealImage{"UdfOnly",
                  [](Tree& e) {
                      e = flat(unicode);
                      return udf_only(make_image(unicode, udf_bridge));
                  }},
        RealImage{"ZisofsCompressed",
                  [](Tree& e) {
                      e = {{"big.txt", text_of(650000)}, {"s.txt", "s"}};
                      return make_image(e, zisofs);
                  }},
        RealImage{"HardLinkedRecords",
                  [](Tree& e) {
                      Tree t = {{"V/VTS_01_0.IFO", random_bytes(70000, 9)}, {"B/OTHER.DAT", "x"}};
                      e = flat(t);
                      e["COPY.IFO"] = t["V/VTS_01_0.IFO"];
                      return make_image(t, hard_links, {{"COPY.IFO", "V/VTS_01_0.IFO"}});
                  }},
        RealImage{"MultiExtentFileAcrossMembers",
                  [](Tree& e) {
                      Tree t = {{"MULTI.DAT", random_bytes(4096, 3)},
                                {"MULTJ.DAT", random_bytes(3000, 4)}};
                      std::string image = make_image(t, plain_names);
                      image[record_of(image, "MULTI.DAT;1") + 25] |=
                          0x80;  // continues in the next record
                      image[record_of(image, "MULTJ.DAT;1") + 37] = 'I';
                      e = {{"MULTI.DAT", t["MULTI.DAT"] + t["MULTJ.DAT"]}};
                      return image;
                  },
                  {},
                  {},
                  [](const std::string& image, const fs::path& dir) {
                      write_members(image, dir, "disc", 3001);
                      return std::string("disc.2.pdi");
                  }},
        RealImage{"TwoRecordsShareAnExtentWithDifferentSizes",
                  [](Tree& e) {
                      std::string image = make_image(abc, plain_names);
                      set_field(image, "A.TXT;1", 2, field(image, "B.TXT;1", 2));
                      e = {{"A.TXT", abc.at("B.TXT").substr(0, 5)},
                           {"B.TXT", abc.at("B.TXT")},
                           {"C.TXT", ""}};
                      return image;
                  }},
        RealImage{
            "FileSharesTheExtentOfAFolder",
            [](Tree& e) {
                std::string image = make_image({{"DIR/X.TXT", "x"}, {"F.TXT", "f"}}, plain_names);
                std::uint32_t folder = field(image, "DIR", 2);
                set_field(image, "F.TXT;1", 2, folder);
                set_field(image, "F.TXT;1", 10, 100);
                e = {{"X.TXT", "x"}, {"F.TXT", image.substr(folder * 2048, 100)}};
                return image;
            }},
        RealImage{"TrailingPaddingMissing",
                  [](Tree& e) {
                      e = flat(abc);
                      std::string image = make_image(abc, plain_names);
                      return image.substr(0, image.size() - 100 * 2048);
                  }},
        RealImage{"NamesOf255Bytes",
                  [](Tree& e) {
                      e = {{std::string(251, 'n') + ".bin", "long"}};
                      return make_image({{"D/" + std::string(251, 'n') + ".bin", "long"}});
                  }},
        RealImage{"MixedCaseMemberNames",
                  [](Tree& e) {
                      e = flat(dvd());
                      return make_image(dvd());
                  },
                  {},
                  {},
                  [](const std::string& image, const fs::path& dir) {
                      write_members(image, dir, "disc", 1 << 20);
                      fs::rename(dir / "disc.pdi", dir / "disc.PDI");
                      fs::rename(dir / "disc.2.pdi", dir / "disc.2.Pdi");
                      return std::string("disc.PDI");
                  }},
        RealImage{"MoreMembersThanOpenFiles",
                  [](Tree& e) {
                      e = flat(abc);
                      return make_image(abc, plain_names);
                  },
                  {},
                  {},
                  [](const std::string& image, const fs::path& dir) {
                      write_members(image, dir, "disc", 1024);
                      return std::string("disc.pdi");
                  },
                  Limits{0, 32, {}}}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace

namespace {

// What lies in a folder: content of files, targets of links, the kind of anything else.
std::map<std::string, std::string> snapshot(const fs::path& dir) {
    std::map<std::string, std::string> seen;
    for (const auto& e : fs::directory_iterator(dir)) {
        std::string name = e.path().filename().string();
        if (e.is_symlink())
            seen[name] = "-> " + fs::read_symlink(e.path()).string();
        else if (e.is_regular_file())
            seen[name] = std::to_string(std::hash<std::string>()(read_file(e.path())));
        else if (name != "out")
            seen[name] = "<other>";
    }
    return seen;
}

// Prepares the folder and returns the arguments.
using Setup = std::function<std::vector<std::string>(const fs::path&)>;

struct Hostile {
    const char* label;
    Setup setup;
    int status;
    const char* message;               // part of the last error line
    std::vector<std::string> lands{};  // files that still come out in "out"
    Limits limits{};
};

void PrintTo(const Hostile& c, std::ostream* os) {
    *os << c.label;
}

// An image of abc, damaged by patch, as the set disc.pdi; extracted with -r.
Setup damaged(std::function<void(std::string&)> patch, const Tree& tree = abc,
              const std::string& maker = plain_names) {
    return [=](const fs::path& dir) {
        std::string image = make_image(tree, maker);
        patch(image);
        members_of(image, dir);
        return std::vector<std::string>{"-r", "-m", "out", "disc.pdi"};
    };
}

// A whole set of abc in three members, then something else is put in place.
Setup set_and(std::function<void(const fs::path&)> more, std::vector<std::string> args) {
    return [=](const fs::path& dir) {
        write_members(make_image(abc, plain_names), dir, "disc", 131072);
        more(dir);
        return args;
    };
}

Setup args_only(std::vector<std::string> args) {
    return [=](const fs::path&) { return args; };
}

// Turns the Rock Ridge name of B.TXT into "." (flags 2) or ".." (flags 4).
std::function<void(std::string&)> rock_ridge_name_flags(char flags) {
    return [=](std::string& image) {
        image[image.find(std::string("NM\x0a\x01\x00"
                                     "B.TXT",
                                     10)) +
              4] = flags;
    };
}

class HostileImages : public ::testing::TestWithParam<Hostile> {};

// A clear last line and exit status; every readable file out; nothing that was there
// changed or deleted (-r included); no temporary file left.
TEST_P(HostileImages, FailClearlyAndKeepEverything) {
    const Hostile& c = GetParam();
    TempDir dir;
    std::vector<std::string> args = c.setup(dir.path());
    auto before = snapshot(dir.path());
    RunResult r = run_pdixtract(args, dir.path(), c.limits);
    EXPECT_EQ(r.status, c.status) << r.err;
    std::string last = r.err.substr(r.err.rfind('\n', r.err.size() - 2) + 1);
    EXPECT_EQ(r.err.rfind("pdixtract: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(last.find("pdixtract: "), 0u) << r.err;
    EXPECT_EQ(snapshot(dir.path()), before);
    EXPECT_EQ(list_dir(dir.path() / "out"), c.lands);
    EXPECT_TRUE(leftovers(dir.path()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileImages,
    ::testing::Values(
        Hostile{"ExtentPastTheEnd",
                damaged([](std::string& i) { set_field(i, "B.TXT;1", 2, 99999); }),
                4,
                "file data lies past the end of the image",
                {"A.TXT", "C.TXT"}},
        Hostile{"FileReallyCut",
                damaged([](std::string& i) { i.resize(field(i, "B.TXT;1", 2) * 2048 + 1000); }),
                4,
                "needs",
                {"A.TXT", "C.TXT"}},
        Hostile{"RockRidgeNameDot",
                damaged(rock_ridge_name_flags(2), abc, rock_ridge_joliet),
                5,
                "name cannot be a file name, skipped",
                {"A.TXT", "C.TXT"}},
        Hostile{"RockRidgeNameDotDot",
                damaged(rock_ridge_name_flags(4), abc, rock_ridge_joliet),
                5,
                "skipped",
                {"A.TXT", "C.TXT"}},
        Hostile{"EmptyPlainName",
                damaged([](std::string& i) {
                    i.replace(record_of(i, "B.TXT;1") + 33, 7, std::string(";1\0\0\0\0\0", 7));
                }),
                5,
                "skipped",
                {"A.TXT", "C.TXT"}},
        Hostile{"ZisofsDataShort",
                damaged(
                    [](std::string& i) {
                        set_field(i, "BIG.TXT;1", 10, field(i, "BIG.TXT;1", 10) - 3000);
                    },
                    {{"big.txt", text_of(650000)}, {"s.txt", "s"}}, zisofs),
                4,
                "holds only",
                {"s.txt"}},
        Hostile{"FolderClaims4GiB",
                set_and(
                    [](const fs::path& dir) {
                        std::string image =
                            make_image({{"DIR/X.TXT", "x"}, {"A.TXT", "a"}}, plain_names);
                        set_field(image, "DIR", 10, 0xFFFFF800u);
                        write_file(dir / "big.pdi", image);
                    },
                    {"-r", "-m", "out", "big.pdi"}),
                4,
                "folder lies past the end",
                {"A.TXT"}},
        Hostile{"FifoMember",
                set_and(
                    [](const fs::path& dir) {
                        fs::remove(dir / "disc.1.pdi");
                        ::mkfifo((dir / "disc.1.pdi").c_str(), 0644);
                    },
                    {"-r", "-m", "out", "disc.pdi"}),
                3, "not a regular file: disc.1.pdi"},
        Hostile{"FifoAsTheSet",
                set_and([](const fs::path& dir) { ::mkfifo((dir / "pipe").c_str(), 0644); },
                        {"-gb", "l.txt", "pipe"}),
                3, "not a regular file: pipe"},
        Hostile{"FifoAsTheIso",
                set_and([](const fs::path& dir) { ::mkfifo((dir / "x.iso").c_str(), 0644); },
                        {"-r", "-i", "x.iso", "disc.pdi"}),
                6, "not a regular file: x.iso"},
        Hostile{
            "LinkToStdoutAsTheList",
            set_and(
                [](const fs::path& dir) { fs::create_symlink("/proc/self/fd/1", dir / "l.txt"); },
                {"-gb", "l.txt", "disc.pdi"}),
            6, "not a regular file: l.txt"},
        Hostile{"FolderAsTheIso",
                set_and([](const fs::path& dir) { fs::create_directory(dir / "x.iso"); },
                        {"-r", "-i", "x.iso", "disc.pdi"}),
                6, "not a regular file"},
        Hostile{"IsoNamedLikeTheNextMember",
                set_and([](const fs::path&) {}, {"-r", "-i", "disc.3.pdi", "disc.pdi"}), 6,
                "join the set: disc.3.pdi"},
        Hostile{"IsoOverAMember",
                set_and([](const fs::path&) {}, {"-r", "-i", "disc.1.pdi", "disc.2.pdi"}), 6,
                "overwrite a set member"},
        Hostile{"DiskFullKeepsTheOldIso",
                set_and([](const fs::path& dir) { write_file(dir / "x.iso", "OLD"); },
                        {"-r", "-i", "x.iso", "disc.pdi"}),
                6,
                "cannot write x.iso",
                {},
                Limits{100000}},
        Hostile{"DiskFullKeepsFinishedFiles",
                damaged([](std::string&) {},
                        {{"A.BIN", "a"}, {"B.BIN", random_bytes(200000, 5)}, {"C.BIN", "c"}}),
                6,
                "cannot write out/B.BIN",
                {"A.BIN"},
                Limits{100000}},
        Hostile{"DestinationIsAFile",
                set_and([](const fs::path& dir) { write_file(dir / "out", "a file"); },
                        {"-r", "-m", "out", "disc.pdi"}),
                6, "cannot create destination folder out"},
        Hostile{"NotAnImage",
                set_and([](const fs::path&
                               dir) { write_file(dir / "notes.pdi", std::string(100000, 'x')); },
                        {"-r", "-m", "out", "notes.pdi"}),
                4, "not a disc image"},
        Hostile{"FirstMemberMissing",
                set_and([](const fs::path& dir) { fs::remove(dir / "disc.pdi"); },
                        {"-gb", "l.txt", "disc.1.pdi"}),
                3, "first member of the set is missing"},
        Hostile{"MemberBehindAGap",
                set_and([](const fs::path& dir) { fs::remove(dir / "disc.1.pdi"); },
                        {"-gb", "l.txt", "disc.2.pdi"}),
                3, "member 1 is missing"},
        Hostile{"NoSuchSet", args_only({"-gb", "l.txt", "nothing.pdi"}), 3, "nothing.pdi"},
        Hostile{"SameFileNameTwice",
                damaged([](std::string&) {}, {{"A/X.DAT", "one"}, {"B/X.DAT", "two"}}), 5,
                "several files are named X.DAT"},
        Hostile{"NamesThatLookLikeOptions",
                set_and([](const fs::path&) {}, {"-r", "-m", "out", "disc.pdi", "-r", "--help"}), 5,
                R"(not in the image: "-r", "--help")"},
        Hostile{"NoCommand", args_only({}), 2, "no command"},
        Hostile{"UnknownOption", args_only({"-x", "-m", "a", "b"}), 2, "unknown option -x"},
        Hostile{"MissingSet", args_only({"-m", "out"}), 2, "option -m needs"},
        Hostile{"SurplusArgument", args_only({"-i", "a.iso", "b.pdi", "c"}), 2,
                "unexpected argument c"},
        Hostile{"VWithI", args_only({"-v", "-i", "a.iso", "b.pdi"}), 2, "-v applies only to -m"},
        Hostile{"RWithGb", args_only({"-r", "-gb", "l.txt", "b.pdi"}), 2, "-r does not apply"},
        Hostile{"EmptyDestination", args_only({"-m", "", "b.pdi"}), 2, "no destination"},
        Hostile{"EmptySet", args_only({"-gb", "l.txt", ""}), 2, "no set named"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace

namespace {

// A stdio stream that calls back on every write: pdixtract prints one line per finished
// file, so the callback runs between two files.
std::FILE* callback_stream(std::function<void()>* on_write) {
    cookie_io_functions_t io{};
    io.write = [](void* cookie, const char*, std::size_t size) -> ssize_t {
        (*static_cast<std::function<void()>*>(cookie))();
        return static_cast<ssize_t>(size);
    };
    std::FILE* f = ::fopencookie(on_write, "w", io);
    std::setvbuf(f, nullptr, _IONBF, 0);
    return f;
}

struct Vanish {
    const char* label;
    std::function<void(const fs::path&)> act;  // done to the last member after the first file
    int status;
    const char* message;
    bool kept;  // the other members are still there
};

void PrintTo(const Vanish& c, std::ostream* os) {
    *os << c.label;
}

class MemberChanges : public ::testing::TestWithParam<Vanish> {};

// -r deletes a member only if it is still the file that was read, and only after success.
TEST_P(MemberChanges, WhileTheSetIsRead) {
    const Vanish& c = GetParam();
    TempDir dir;
    std::vector<fs::path> paths = write_members(make_image(dvd()), dir.path(), "disc", 1 << 20);
    bool done = false;
    std::function<void()> after_first = [&] {
        if (!done) c.act(paths.back());
        done = true;
    };
    std::FILE* out = callback_stream(&after_first);
    std::FILE* err = std::tmpfile();
    pdix::Options opts;
    opts.mode = pdix::Options::Mode::extract;
    opts.remove_members = true;
    opts.target = (dir.path() / "out").string();
    opts.set = (dir.path() / "disc.pdi").string();
    int status = pdix::run(opts, pdix::Console{out, err, false, false});
    std::fclose(out);
    std::string message(4096, '\0');
    std::rewind(err);
    message.resize(std::fread(message.data(), 1, message.size(), err));
    std::fclose(err);

    EXPECT_EQ(status, c.status) << message;
    EXPECT_NE(message.find(c.message), std::string::npos) << message;
    EXPECT_TRUE(leftovers(dir.path()).empty());
    EXPECT_EQ(fs::exists(paths.front()), c.kept);
    if (std::string(c.label) == "Replaced") {
        EXPECT_EQ(read_file(paths.back()), "newcomer");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MemberChanges,
    ::testing::Values(Vanish{"CutShort", [](const fs::path& p) { fs::resize_file(p, 0); }, 4,
                             "set member shrank while reading", true},
                      // An open member is still read whole; -r then cannot delete what is gone.
                      Vanish{"Deleted", [](const fs::path& p) { fs::remove(p); }, 7,
                             "cannot delete set member", false},
                      Vanish{"Replaced",
                             [](const fs::path& p) {
                                 fs::rename(p, p.string() + ".away");
                                 write_file(p, "newcomer");
                             },
                             7, "set member was replaced during the run, not deleted", false}),
    [](const auto& info) { return std::string(info.param.label); });

struct Interrupt {
    const char* label;
    int signal;
    std::vector<std::string> args;
};

void PrintTo(const Interrupt& c, std::ostream* os) {
    *os << c.label;
}

class Interrupted : public ::testing::TestWithParam<Interrupt> {};

// Ctrl+C, kill or a closed terminal while a file is written leave no temporary file.
TEST_P(Interrupted, LeavesNoTemporaryFile) {
    const Interrupt& c = GetParam();
    TempDir dir;
    // A 1 GiB file whose data is a hole at the end of the set: big, yet made at once.
    std::string image = make_image({{"BIG.DAT", "x"}}, plain_names);
    std::uint64_t at = field(image, "BIG.DAT;1", 2) * 2048ull;
    set_field(image, "BIG.DAT;1", 10, 1u << 30);
    write_file(dir.path() / "big.pdi", image);
    fs::resize_file(dir.path() / "big.pdi", at + (1u << 30));
    pid_t pid = start_pdixtract(c.args, dir.path(), dir.path() / "o.txt", dir.path() / "e.txt");
    for (int i = 0; i < 5000 && leftovers(dir.path()).empty(); ++i) ::usleep(1000);
    ASSERT_FALSE(leftovers(dir.path()).empty()) << "never saw the file being written";
    ::kill(pid, c.signal);
    EXPECT_EQ(wait_for(pid), 128 + c.signal);
    EXPECT_TRUE(leftovers(dir.path()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Signals, Interrupted,
    ::testing::Values(Interrupt{"CtrlCWhileExtracting", SIGINT, {"-m", "out", "big.pdi"}},
                      Interrupt{"HangUpWhileExtracting", SIGHUP, {"-m", "out", "big.pdi"}},
                      Interrupt{"KillWhileConverting", SIGTERM, {"-r", "-i", "x.iso", "big.pdi"}}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The pdixtract commands run as a user runs them, on images that xorriso and genisoimage
// build here: real kinds of disc byte for byte, then damaged and hostile ones.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>

#include "fuzz_checks.h"
#endif

#include <csignal>
#include <regex>

#include "base/disc_image.h"
#include "test_support.h"

namespace pdixtract {

namespace {

// Text that compresses, as zisofs images hold it.
std::string TextOf(std::size_t size) {
    std::string text;
    for (int i = 0; text.size() < size; ++i) text += std::to_string(i * 7919 % 10007) + " ";
    return text.substr(0, size);
}

const Tree kDvd = {
    {"VIDEO_TS/VIDEO_TS.IFO", RandomBytes(12288, 1)},           {"VIDEO_TS/VTS_01_0.IFO", "ifo"},
    {"VIDEO_TS/VTS_01_1.VOB", RandomBytes(3 << 20, 6)},         {"EXTRA/MY NOTES.TXT", "notes\n"},
    {"VIDEO_TS/VTS_01_2.VOB", RandomBytes((3 << 19) + 777, 7)}, {"EXTRA/EMPTY.DAT", ""}};
const Tree kAbc = {{"A.TXT", "alpha"}, {"B.TXT", RandomBytes(5000, 2)}, {"C.TXT", ""}};
const Tree kAc = {{"A.TXT", "alpha"}, {"C.TXT", ""}};
const Tree kUnicode = {{"café.txt", "crème"}, {"日本語の名前.txt", "名前"}, {"DIR/Ünï.bin", "ü"}};
const Tree kZisofsFiles = {{"big.txt", TextOf(650000)}, {"s.txt", "s"}};

// The files of tree by file name alone, as -m puts them.
Tree Flat(const Tree& tree) {
    Tree out;
    for (const auto& [rel, content] : tree) out[rel.substr(rel.rfind('/') + 1)] = content;
    return out;
}

using Image = std::function<std::string(Tree& lands)>;  // builds it, says what comes out

// An image of tree by maker, changed by patch, from which lands comes out.
Image ImageOf(const Tree& lands, std::function<void(std::string&)> patch, const Tree& tree = kAbc,
              const std::string& maker = kPlainNames) {
    return [=](Tree& out) {
        out = lands;
        std::string image = MakeImage(tree, maker);
        if (patch) patch(image);
        return image;
    };
}
Image Whole(const Tree& tree, const std::string& maker = kRockRidgeJoliet) {
    return ImageOf(Flat(tree), nullptr, tree, maker);
}

struct Case {
    const char* label;
    Image image;  // written as disc.pdi, disc.1.pdi, ... (or nothing)
    std::vector<std::string> args;
    int status = 0;
    const char* message = "";  // part of the error output, or after a success of the output
    std::function<void(const fs::path&)> then{};  // done to the folder before the run
    std::size_t memberSize = 1 << 20;
    Limits limits{};
    // Done while the run is stopped writing its first file, before signal is sent.
    std::function<void(const fs::path&)> during{};
    int signal = 0;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.label;
}

// What lies in a folder: files by size and time, links by target, anything else by kind.
std::map<std::string, std::string> Snapshot(const fs::path& dir) {
    std::map<std::string, std::string> seen;
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        if (name == "out" || name.ends_with(".part")) continue;
        const std::string time = std::to_string(e.last_write_time().time_since_epoch().count());
        seen[name] = e.is_symlink()         ? "-> " + fs::read_symlink(e.path()).string()
                     : !e.is_regular_file() ? "<other>"
                                            : std::to_string(e.file_size()) + " at " + time;
    }
    return seen;
}

class Commands : public ::testing::TestWithParam<Case> {};

// Success: every file byte for byte, and -r deletes the members, nothing else. Failure: one
// clear last line and exit status, every readable file still out, nothing that was there
// changed or deleted. Never a temporary file left.
TEST_P(Commands, GiveEveryReadableFileAndKeepEverythingElse) {
    const Case& c = GetParam();
    TempDir dir;
    Tree lands;
    if (c.image) WriteMembers(c.image(lands), dir.path, c.memberSize);
    for (const char* other : {"disc.99999.pdi", "disc.iso", "disco.pdi"})
        WriteWholeFile(dir.path / other, other);
    if (c.then) c.then(dir.path);
    auto before = Snapshot(dir.path);
    const std::function<void()> stopped = [&] {
        c.during(dir.path);
        before = Snapshot(dir.path);
    };
    const RunResult r =
        RunPdixtract(c.args, dir.path, c.limits, c.during ? stopped : nullptr, c.signal);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out.find_first_of("\r\x1b"), std::string::npos) << "redrawn, or raw: " << r.out;
    EXPECT_NE((c.status ? r.err : r.out).find(c.message), std::string::npos) << r.err << r.out;
    if (c.status > 0 && c.status < 128) {
        EXPECT_TRUE(std::regex_match(r.err, std::regex("(pdixtract: .*\n)+"))) << r.err;
    } else if (c.status == 0 && c.args[0] == "-r") {  // the members go, and nothing else
        const std::regex member(R"(disc(\.[1-9]\d{0,3})?\.pdi)", std::regex::icase);
        std::erase_if(before, [&](const auto& e) { return std::regex_match(e.first, member); });
    }
    EXPECT_EQ(Snapshot(dir.path), before);
    const fs::path out =
        dir.path / (c.args.size() > 1 && c.args[1] == "-v" ? "out/VIDEO_TS" : "out");
    for (const auto& [name, content] : lands)
        EXPECT_TRUE(ReadWholeFile(out / Utf8Path(name)) == content) << name;
    std::error_code ec;
    EXPECT_EQ(std::distance(fs::directory_iterator(out, ec), {}), std::ssize(lands)) << "more out";
    EXPECT_FALSE(HasTemporary(dir.path));
}

// clang-format off
// One row a line, or a few, reads best as a table.
constexpr std::size_t kThreeMembers = 131072;  // the image of kAbc in three members
const Image kKept = ImageOf({}, nullptr, kAbc, kRockRidgeJoliet);  // nothing of it may come out
const std::vector<std::string> kExtract = {"-r", "-m", "out", "disc.pdi"};
auto MakeDir(const char* dir) { return [=](const fs::path& d) { fs::create_directory(d / dir); }; }

// Names Windows refuses for files (a stream's ":", a device, a final dot, a control character,
// a double quote) come out elsewhere; on Windows each is skipped, the rest comes out, and the
// run ends in this status.
#ifdef _WIN32
constexpr int kRefused = 5;
#else
constexpr int kRefused = 0;
#endif
const char* const kRefusal = kRefused ? "name cannot be a file name" : "";
const Tree kOddNames = {{"OK.TXT", "ok"}, {"A:B.TXT", "ab"}, {"CON", "con"}, {"DOT.", "dot"},
                        {"\x01.TXT", "x"}};

// A run stopped while it writes BIG.DAT, 256 MiB in one member whose data is a hole at its
// end (big, yet made at once): during is done, then signal is sent. With lands the file is
// expected out.
Case Big(const char* label, std::vector<std::string> args, int status, const char* message,
         int signal, std::function<void(const fs::path&)> during = [](const fs::path&) {},
         bool lands = false) {
    constexpr std::uint32_t size = 256u << 20;
    Image image = [=](Tree& out) {
        if (lands) out = {{"BIG.DAT", std::string(size, '\0')}};
        std::string image = MakeImage({{"BIG.DAT", "x"}}, kPlainNames);
        SetField(image, "BIG.DAT;1", 10, size);
        return image.substr(0, Field(image, "BIG.DAT;1", 2) * base::kSectorSize) + std::string(4096, '\0');
    };
    auto grow = [](const fs::path& d) {
        fs::resize_file(d / "disc.pdi", fs::file_size(d / "disc.pdi") - 4096 + size);
    };
    return {label, image, args, status, message, grow, 1 << 30, {}, during, signal};
}
const auto kLabel = [](const auto& info) { return std::string(info.param.label); };

INSTANTIATE_TEST_SUITE_P(RealImages, Commands, ::testing::Values(
    Case{"RockRidgeAndJolietOverMembers", Whole(kDvd), {"-r", "-m", "out", "disc.2.pdi"}},
    Case{"NamedFilesIntoVideoTs", ImageOf({{"VTS_01_1.VOB", kDvd.at("VIDEO_TS/VTS_01_1.VOB")},
         {"MY NOTES.TXT", "notes\n"}}, nullptr, kDvd, kRockRidgeJoliet),
         {"-r", "-v", "-m", "out", "disc.pdi", "VTS_01_1.VOB", "MY NOTES.TXT", "VTS_01_1.VOB"}},
    Case{"ListInImageOrder", [](Tree& lands) {
            lands = {{"list.txt", "\"MY NOTES.TXT 6\"\r\nVIDEO_TS.IFO 12288\r\nVTS_01_0.IFO 3\r\n"
                "VTS_01_1.VOB 3145728\r\nVTS_01_2.VOB 1573641\r\nEMPTY.DAT 0\r\n"}};
            Tree tree = kDvd;
            tree["X/say \"hi\".txt"] = "a name the list cannot carry";
            return MakeImage(tree);
        }, {"-gb", "out/list.txt", "disc.pdi"}, kRefused, kRefusal, MakeDir("out")},
    Case{"PlainIsoNames", Whole({{"README", "r"}, {"DIR/X.TXT", "x"}}, kPlainNames), kExtract},
    Case{"JolietOnlyNamesInTheCLocale", Whole(kUnicode, kJolietOnly), kExtract, 0, "", {}, 1 << 20,
         Limits{0, 0, {"LC_ALL=C"}}},
    Case{"UdfOnly", ImageOf(Flat(kUnicode), [](std::string& image) {
            // The recognition sequence (BEA01, NSR02, TEA01) moves up over the ISO 9660 ones.
            const std::size_t first = base::kDescriptorsOffset, vrs = image.find("BEA01") - 1,
                              length = 3 * base::kSectorSize;
            const std::string sequence = image.substr(vrs, length);
            image.replace(first, vrs + length - first, sequence + std::string(vrs - first, '\0'));
        }, kUnicode, kUdfBridge), kExtract},
    Case{"Zisofs", Whole(kZisofsFiles, kZisofs), kExtract},
    Case{"HardLinkedRecords", [](Tree& lands) {
            Tree tree = {{"V/VTS_01_0.IFO", RandomBytes(70000, 9)}, {"B/OTHER.DAT", "x"}};
            lands = Flat(tree);
            lands["COPY.IFO"] = tree["V/VTS_01_0.IFO"];
            return MakeImage(tree, kHardLinks, {{"COPY.IFO", "V/VTS_01_0.IFO"}});
        }, kExtract},
    Case{"MultiExtentFileAcrossMembers", [](Tree& lands) {
            Tree tree = {{"MULTI.DAT", RandomBytes(4096, 3)},
                         {"MULTJ.DAT", RandomBytes(3000, 4)}};
            lands = {{"MULTI.DAT", tree["MULTI.DAT"] + tree["MULTJ.DAT"]}};
            std::string image = MakeImage(tree, kPlainNames);
            image[RecordOf(image, "MULTI.DAT;1") + 25] |= 0x80;  // continued in the next record
            image[RecordOf(image, "MULTJ.DAT;1") + 37] = 'I';
            return image;
        }, {"-r", "-m", "out", "disc.3.pdi"}, 0, "", {}, 3001},
    Case{"RecordsShareAnExtentWithOtherSizes", ImageOf({{"A.TXT", kAbc.at("B.TXT").substr(0, 5)},
         {"B.TXT", kAbc.at("B.TXT")}, {"C.TXT", ""}},
         [](std::string& i) { SetField(i, "A.TXT;1", 2, Field(i, "B.TXT;1", 2)); }), kExtract},
    Case{"FileSharesAFolderExtent", [](Tree& lands) {
            std::string image = MakeImage({{"DIR/X.TXT", "x"}, {"F.TXT", "f"}}, kPlainNames);
            SetField(image, "F.TXT;1", 2, Field(image, "DIR", 2));
            SetField(image, "F.TXT;1", 10, 100);
            lands = {{"X.TXT", "x"}, {"F.TXT", image.substr(Field(image, "DIR", 2) * base::kSectorSize, 100)}};
            return image;
        }, kExtract},
    Case{"TrailingPaddingMissing",
         ImageOf(Flat(kAbc), [](std::string& i) { i.resize(i.size() - 204800); }), kExtract},
    Case{"NamesOf255Bytes", Whole({{"D/" + std::string(251, 'n') + ".bin", "long"}}), kExtract},
    Case{"MixedCaseMemberNames", Whole(kDvd), {"-r", "-m", "out", "disc.PDI"}, 0, "",
         [](const fs::path& d) {
            fs::rename(d / "disc.pdi", d / "disc.PDI");
            fs::rename(d / "disc.2.pdi", d / "disc.2.Pdi");
        }},
    Case{"NamesWindowsRefuses", ImageOf(kRefused ? Tree{{"OK.TXT", "ok"}} : kOddNames, nullptr,
         kOddNames, kRockRidgeJoliet), kExtract, kRefused, kRefusal},
    Case{"ReplacesAnOldFile", Whole(kAbc), kExtract, 0, "",
         [](const fs::path& d) { WriteWholeFile(d / "out/A.TXT", "an old A"); }},
    Case{"YearLikeNameIsASetOfItsOwn", Whole(kAbc), {"-r", "-m", "out", "disc.2005.pdi"}, 0, "",
         [](const fs::path& d) { fs::rename(d / "disc.pdi", d / "disc.2005.pdi"); }},
    // Room for two descriptors beside the standard kThreeMembers: a member and the file written.
    Case{"MoreMembersThanOpenFiles", Whole(kAbc, kPlainNames), kExtract, 0, "", {}, 1024,
         Limits{0, OPEN_FILE_ROOM}}),
    kLabel);

INSTANTIATE_TEST_SUITE_P(HostileImages, Commands, ::testing::Values(
    Case{"ExtentPastTheEnd",
         ImageOf(kAc, [](std::string& i) { SetField(i, "B.TXT;1", 2, 99999); }), kExtract, 4,
         "file data lies past the end of the image"},
    Case{"FileReallyCut",
         ImageOf(kAc, [](std::string& i) { i.resize(Field(i, "B.TXT;1", 2) * base::kSectorSize + 9); }),
         kExtract, 4, "past the end of the image (needs"},
    Case{"RockRidgeNameDot", ImageOf(kAc, [](std::string& i) {
            i[i.find(std::string("NM\x0a\x01\x00" "B.TXT", 10)) + 4] = 2;  // the "current" flag
        }, kAbc, kRockRidgeJoliet), kExtract, 5, "name cannot be a file name, skipped: ."},
    Case{"EmptyPlainName", ImageOf(kAc, [](std::string& i) {
            i.replace(RecordOf(i, "B.TXT;1") + 33, 7, std::string(";1\0\0\0\0\0", 7));
        }), kExtract, 5, "skipped"},
    Case{"ZisofsDataShort", ImageOf({{"s.txt", "s"}}, [](std::string& i) {
            SetField(i, "BIG.TXT;1", 10, Field(i, "BIG.TXT;1", 10) - 3000);
        }, kZisofsFiles, kZisofs), kExtract, 4, "holds only"},
    Case{"FolderClaims4GiB", ImageOf({{"A.TXT", "a"}}, [](std::string& i) {
            SetField(i, "DIR", 10, 0xFFFFF800u);
        }, {{"DIR/X.TXT", "x"}, {"A.TXT", "a"}}), kExtract, 4, "folder lies past the end"},
    Case{"IsoNamedLikeTheNextMember", kKept, {"-r", "-i", "disc.3.pdi", "disc.pdi"}, 6,
         "join the set: disc.3.pdi", {}, kThreeMembers},
    Case{"IsoOverAMember", kKept, {"-r", "-i", "disc.1.pdi", "disc.2.pdi"}, 6,
         "overwrite a set member", {}, kThreeMembers},
    Case{"DestinationIsAFile", kKept, kExtract, 6, "cannot create destination folder out",
         [](const fs::path& d) { WriteWholeFile(d / "out", "a file"); }},
    Case{"NotAnImage", nullptr, {"-r", "-m", "out", "disco.pdi"}, 4, "not a disc image"},
    Case{"FirstMemberMissing", kKept, {"-gb", "l.txt", "disc.1.pdi"}, 3, "first member",
         [](const fs::path& d) { fs::remove(d / "disc.pdi"); }, kThreeMembers},
    Case{"MemberBehindAGap", kKept, {"-gb", "l.txt", "disc.2.pdi"}, 3, "member 1 is missing",
         [](const fs::path& d) { fs::remove(d / "disc.1.pdi"); }, kThreeMembers},
    Case{"NoSuchSet", nullptr, {"-gb", "l.txt", "nothing.pdi"}, 3, "cannot find set member"},
    Case{"SameFileNameTwice", ImageOf({}, nullptr, {{"A/X.DAT", "one"}, {"B/X.DAT", "two"}},
         kRockRidgeJoliet), kExtract, 5, "several files are named X.DAT (A/X.DAT, B/X.DAT)"},
    Case{"NamesThatLookLikeOptions", kKept, {"-r", "-m", "out", "disc.pdi", "-r", "--help"}, 5,
         R"(not in the image: "-r", "--help")"},
    Case{"UnknownOption", nullptr, {"-x", "-m", "a", "b"}, 2, "unknown option -x"},
    Case{"SurplusArgument", nullptr, {"-i", "a.iso", "b.pdi", "c"}, 2, "unexpected argument c"},
    Case{"EmptyDestination", nullptr, {"-m", "", "b.pdi"}, 2, "no destination"},
    Case{"EmptySet", nullptr, {"-gb", "l.txt", ""}, 2, "no set named"}),
    kLabel);

#ifdef _WIN32
// The list file in the ANSI code page, here 1252: a name it cannot hold is left out.
INSTANTIATE_TEST_SUITE_P(WindowsImages, Commands, ::testing::Values(
    Case{"ListInTheAnsiCodePage",
         ImageOf({{"list.txt", "caf\xE9.txt 6\r\n\xDCn\xEF.bin 2\r\n"}}, nullptr, kUnicode,
                  kJolietOnly), {"-gb", "out/list.txt", "disc.pdi"}, 0, "", MakeDir("out")},
    Big("CtrlCWhileExtracting", kExtract, static_cast<int>(0xC000013Au), "", SIGINT)),
    kLabel);
#else
INSTANTIATE_TEST_SUITE_P(PosixOnly, Commands, ::testing::Values(
    Case{"NamesThatTryToSteerTheTerminal", Whole({{"\x1b]2;pwned\x07.txt", "1"}, {"\x1b[2J", "2"}}),
         kExtract, 0, "\\x1B[2J 1\n\\x1B]2;pwned\\x07.txt 1\n"},
    Case{"FifoMember", kKept, kExtract, 3, "not a regular file: disc.3.pdi",
         [](const fs::path& d) { ::mkfifo((d / "disc.3.pdi").c_str(), 0644); }, kThreeMembers},
    Case{"FifoAsTheIso", kKept, {"-r", "-i", "x.iso", "disc.pdi"}, 6, "not a regular file: x.iso",
         [](const fs::path& d) { ::mkfifo((d / "x.iso").c_str(), 0644); }},
    Case{"LinkToStdoutAsTheList", kKept, {"-gb", "l.txt", "disc.pdi"}, 6, "regular file: l.txt",
         [](const fs::path& d) { fs::create_symlink("/proc/self/fd/1", d / "l.txt"); }},
    Case{"DiskFullKeepsTheOldIso", kKept, {"-r", "-i", "disc.iso", "disc.pdi"}, 6,
         "cannot write disc.iso", {}, kThreeMembers, Limits{100000}},
    Case{"DiskFullKeepsFinishedFiles", ImageOf({{"A.BIN", "a"}}, nullptr,
         {{"A.BIN", "a"}, {"B.BIN", RandomBytes(200000, 5)}, {"C.BIN", "c"}}), kExtract, 6,
         "cannot write out/B.BIN", {}, kThreeMembers, Limits{100000}},
    Big("MemberCutShortWhileRead", kExtract, 4, "set member shrank while reading", 0,
        [](const fs::path& d) { fs::resize_file(d / "disc.pdi", 0); }),
    Big("MemberReplacedWhileRead", kExtract, 7,
        "set member was replaced during the run, not deleted: disc.pdi", 0, [](const fs::path& d) {
            fs::rename(d / "disc.pdi", d / "moved.pdi");
            WriteWholeFile(d / "disc.pdi", "new");
        }, true),
    Big("CtrlCWhileExtracting", kExtract, 128 + SIGINT, "", SIGINT),
    Big("TerminalClosedWhileExtracting", kExtract, 128 + SIGHUP, "", SIGHUP),
    Big("KilledWhileConverting", {"-r", "-i", "x.iso", "disc.pdi"}, 128 + SIGTERM, "", SIGTERM)),
    kLabel);
#endif
// clang-format on

#ifndef _WIN32
// Every input the fuzzer keeps (its seeds and each that once broke the reader) is read or
// kRefused cleanly; under the sanitizers a leak or overflow on any of them fails here.
TEST(ImageSetInputs, ReadOrRefusedCleanly) {
    for (const char* dir : {"/fuzz/corpus/image_set", "/tests/data/fuzz/image_set"}) {
        for (const auto& entry : fs::directory_iterator(ZELVORN_SOURCE_DIR + std::string(dir))) {
            const std::string bytes = ReadWholeFile(entry.path());
            const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
            EXPECT_EQ(CheckImageSet(data, bytes.size()), nullptr) << entry.path();
        }
    }
}
#endif

}  // namespace

}  // namespace pdixtract

// SPDX-License-Identifier: GPL-3.0-or-later
// The pdixtract commands run as a user runs them, on images that xorriso and genisoimage
// build here: real kinds of disc byte for byte, then damaged and hostile ones.
#ifndef _WIN32
#include <sys/stat.h>

#include "fuzz/fuzz_checks.h"
#endif

#include <regex>

#include "base/disc_image.h"
#include "test_support.h"

namespace pdixtract {

namespace {

using base::kSectorSize;

// Text that compresses, as zisofs images hold it.
std::string TextOf(std::size_t size) {
    std::string text;
    for (int i = 0; text.size() < size; ++i) text += std::to_string(i * 7919 % 10007) + " ";
    return text.substr(0, size);
}

// Where byte at of the directory record with identifier id ("A.TXT;1") lies in image; far past
// its end if there is none.
std::size_t RecordOf(const std::string& image, const std::string& id, std::size_t at = 0) {
    return image.find(static_cast<char>(id.size()) + id) - 32 + at;
}

// A both-byte-order field of that record (2: first block, 10: size).
std::uint32_t Field(const std::string& image, const std::string& id, int at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | std::uint8_t(image.at(RecordOf(image, id, at) + i));
    return value;
}
void SetField(std::string& image, const std::string& id, int at, std::uint32_t value) {
    const std::size_t r = RecordOf(image, id, at);
    for (int i = 0; i < 4; ++i)
        image.at(r + i) = image.at(r + 7 - i) = static_cast<char>(value >> 8 * i);
}

const Tree kDvd = {
    {"VIDEO_TS/VIDEO_TS.IFO", RandomBytes(12288, 1)},           {"VIDEO_TS/VTS_01_0.IFO", "ifo"},
    {"VIDEO_TS/VTS_01_1.VOB", RandomBytes(3 << 20, 6)},         {"EXTRA/MY NOTES.TXT", "notes\n"},
    {"VIDEO_TS/VTS_01_2.VOB", RandomBytes((3 << 19) + 777, 7)}, {"EXTRA/EMPTY.DAT", ""}};
const Tree kAbc = {{"A.TXT", "alpha"}, {"B.TXT", RandomBytes(5000, 2)}, {"C.TXT", ""}};
const Tree kAc = {{"A.TXT", "alpha"}, {"C.TXT", ""}};
const Tree kUnicode = {{"café.txt", "crème"}, {"日本語の名前.txt", "名前"}, {"DIR/Ünï.bin", "ü"}};
const Tree kZisofsFiles = {{"big.txt", TextOf(650000)}, {"s.txt", "s"}};
// Blocks of zeros are holes in zisofs.
const std::string kHoles =
    TextOf(40000) + std::string(100000, '\0') + TextOf(999) + std::string(200000, '\0');

using Image = std::function<std::string(Tree& lands)>;  // builds it, says what comes out
using Patch = std::function<void(std::string& image)>;
using Step = std::function<void(const fs::path&)>;  // done to the folder of the set

// An image of tree by maker (with links, as MakeImage makes them), changed by patch, from
// which lands comes out.
Image ImageOf(const Tree& lands, Patch patch, const Tree& tree = kAbc,
              const std::string& maker = kPlainNames, const Tree& links = {}) {
    return [=](Tree& out) {
        out = lands;
        std::string image = MakeImage(tree, maker, links);
        if (patch) patch(image);
        return image;
    };
}
// One from which every file of tree comes out, by file name alone as -m puts them.
Image Whole(const Tree& tree, const std::string& maker = kRockRidgeJoliet, Patch patch = nullptr,
            const Tree& links = {}) {
    Tree lands;
    for (const auto& [rel, content] : tree) lands[rel.substr(rel.rfind('/') + 1)] = content;
    return ImageOf(lands, patch, tree, maker, links);
}

struct Case {
    const char* label;
    Image image;  // written as disc.pdi, disc.1.pdi, ... (or nothing)
    std::vector<std::string> args;
    int status = 0;
    const char* message = "";  // part of the error output, or after a success of the output;
                               // "" when there is none
    Step then{};               // done before the run
    std::size_t memberSize = 1 << 20;
    Limits limits{};
    // With either, the run is held as soon as its first temporary file is made; during is
    // done, then signal is sent.
    int signal = 0;
    Step during{};
    friend void PrintTo(const Case& c, std::ostream* os) { *os << c.label; }
};

// What lies under dir, temporary files aside: files by their bytes, links by their target,
// anything else by its kind.
Tree Snapshot(const fs::path& dir) {
    Tree seen;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        const std::u8string name = e.path().lexically_relative(dir).generic_u8string();
        if (e.is_directory() || e.path().extension() == ".part") continue;
        seen[{name.begin(), name.end()}] =
            e.is_symlink()        ? "-> " + fs::read_symlink(e.path()).string()
            : e.is_regular_file() ? Fingerprint(ReadWholeFile(e.path()))
                                  : "<other>";
    }
    return seen;
}

class Commands : public ::testing::TestWithParam<Case> {};

// Success: every file byte for byte into out and nothing else, and -r deletes the members,
// nothing else. Failure: one clear last line and exit status, every readable file still out,
// nothing that was there changed or deleted. Never a temporary file left.
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
        if (c.during) c.during(dir.path);
        before = Snapshot(dir.path);
    };
    const RunResult r = RunPdixtract(c.args, dir.path, c.limits,
                                     c.signal || c.during ? stopped : nullptr, c.signal);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out.find_first_of("\r\x1b"), std::string::npos) << "redrawn, or raw: " << r.out;
    const std::string& shown = c.status ? r.err : r.out;
    EXPECT_TRUE(*c.message ? shown.find(c.message) != std::string::npos : shown.empty()) << shown;
    if (c.status > 0 && c.status < 128) {
        EXPECT_TRUE(std::regex_match(r.err, std::regex("(pdixtract: .*\n)+"))) << r.err;
    } else if (c.status == 0 && c.args[0] == "-r") {  // the members go, and nothing else
        const std::regex member(R"(disc(\.[1-9]\d{0,3})?\.pdi)", std::regex::icase);
        std::erase_if(before, [&](const auto& e) { return std::regex_match(e.first, member); });
    }
    for (const auto& [name, bytes] : lands) before["out/" + name] = Fingerprint(bytes);
    EXPECT_EQ(Snapshot(dir.path), before);
    EXPECT_FALSE(HasTemporary(dir.path));
}

// clang-format off
// One row a line, or a few, reads best as a table.
constexpr std::size_t kThreeMembers = 131072;  // the image of kAbc in three members
const Image kKept = ImageOf({}, nullptr, kAbc, kRockRidgeJoliet);  // nothing of it may come out
const std::vector<std::string> kExtract = {"-r", "-m", "out", "disc.pdi"};
const Step kMakeOut = [](auto& d) { fs::create_directory(d / "out"); };
const Limits kNamed{.noUnnamedFiles = true};
const auto kLabel = [](const auto& info) { return std::string(info.param.label); };

// Names Windows refuses for files (a stream's ":", a device, a final dot, a control character,
// a double quote) come out elsewhere, those that would steer a terminal shown escaped; on
// Windows each is skipped, the rest comes out, and the run ends in status kRefused saying so.
constexpr int kRefused = fs::path::preferred_separator == '\\' ? 5 : 0;
const char* Refusal(const char* other) { return kRefused ? "name cannot be a file name" : other; }
const Tree kOddNames = {{"OK.TXT", "ok"}, {"A:B.TXT", "ab"}, {"CON", "con"}, {"DOT.", "dot"},
                        {"\x01.TXT", "x"}, {"\x1b]2;pwned\x07.txt", "1"}, {"\x1b[2J", "2"}};

INSTANTIATE_TEST_SUITE_P(RealImages, Commands, ::testing::ValuesIn(std::vector<Case>{
    {"RockRidgeAndJolietOverMembersOfMixedCase", Whole(kDvd), {"-r", "-m", "out", "disc.2.Pdi"}, 0,
     "Extracted 6 files", [](auto& d) {
        fs::rename(d / "disc.pdi", d / "disc.PDI");
        fs::rename(d / "disc.2.pdi", d / "disc.2.Pdi");
    }},
    {"NamedFilesIntoVideoTs", ImageOf({{"VIDEO_TS/VTS_01_1.VOB", kDvd.at("VIDEO_TS/VTS_01_1.VOB")},
     {"VIDEO_TS/MY NOTES.TXT", "notes\n"}}, nullptr, kDvd, kRockRidgeJoliet),
     {"-r", "-v", "-m", "out", "disc.pdi", "VTS_01_1.VOB", "MY NOTES.TXT", "VTS_01_1.VOB"}, 0,
     "Extracted 2 files"},
    {"IsoOfTheWholeSet", [](auto& lands) { return lands["x.iso"] = MakeImage(kDvd); },
     {"-r", "-i", "out/x.iso", "disc.2.pdi"}, 0, "Converted ", kMakeOut},
    {"ListInImageOrder", [](auto& lands) {
        lands["list.txt"] = "\"MY NOTES.TXT 6\"\r\nVIDEO_TS.IFO 12288\r\nVTS_01_0.IFO 3\r\n"
                            "VTS_01_1.VOB 3145728\r\nVTS_01_2.VOB 1573641\r\nEMPTY.DAT 0\r\n";
        Tree tree = kDvd;
        tree["X/say \"hi\".txt"] = "a name the list cannot carry";
        return MakeImage(tree);
    }, {"-gb", "out/list.txt", "disc.pdi"}, kRefused, Refusal("Listed 6 files"), kMakeOut},
    {"PlainIsoNames", Whole({{"README", "r"}, {"DIR/X.TXT", "x"}}, kPlainNames), kExtract, 0,
     "Extracted 2 files"},
    {"JolietOnlyNamesInTheCLocale", Whole(kUnicode, kJolietOnly), kExtract, 0, "Extracted 3 files",
     {}, 1 << 20, Limits{0, 0, {"LC_ALL=C"}}},
    {"UdfOnly", Whole(kUnicode, kUdfBridge, [](auto& i) {
        // The recognition sequence (BEA01, NSR02, TEA01) moves up over the ISO 9660 ones.
        const std::size_t first = base::kDescriptorsOffset, vrs = i.find("BEA01") - 1;
        i.insert(vrs + 3 * kSectorSize, vrs - first, '\0');
        i.erase(first, vrs - first);
    }), kExtract, 0, "Extracted 3 files"},
    // Blocks of zeros are holes; a hard link is given its data by the decompressor only under
    // the first name.
    {"ZisofsWithHolesAndAHardLink", Whole({{"big.txt", TextOf(650000)}, {"s.txt", "s"},
     {"holes.txt", kHoles}, {"LINK.TXT", kHoles}}, kZisofs, nullptr, {{"LINK.TXT", "holes.txt"}}),
     kExtract, 0, "Extracted 4 files"},
    // As in libarchive's overflow image: a block size of 4 bytes and a size near 4 GiB is no
    // zisofs, so the file is what it stores.
    {"ZisofsEntryOfAnotherBlockSize", [](auto& lands) {
        std::string i = MakeImage(kZisofsFiles, kZisofs);
        const std::size_t zf = i.find("ZF", RecordOf(i, "BIG.TXT;1"));
        i.at(zf + 7) = 2;
        for (int n = 0; n < 4; ++n) i[zf + 8 + n] = i[zf + 15 - n] = "\xF9\xFB\xFF\xFF"[n];
        lands = {{"s.txt", "s"}, {"big.txt", i.substr(Field(i, "BIG.TXT;1", 2) * kSectorSize,
                                                       Field(i, "BIG.TXT;1", 10))}};
        return i;
    }, kExtract, 0, "Extracted 2 files"},
    {"HardLinkedRecords", Whole({{"V/VTS_01_0.IFO", RandomBytes(70000, 9)}, {"B/OTHER.DAT", "x"},
     {"COPY.IFO", RandomBytes(70000, 9)}}, kHardLinks, nullptr, {{"COPY.IFO", "V/VTS_01_0.IFO"}}),
     kExtract, 0, "Extracted 3 files"},
    {"MultiExtentFileAcrossMembers",
     ImageOf({{"MULTI.DAT", RandomBytes(4096, 3) + RandomBytes(3000, 4)}}, [](auto& i) {
        i.at(RecordOf(i, "MULTI.DAT;1", 25)) |= 0x80;  // continued in the next record
        i.at(RecordOf(i, "MULTJ.DAT;1", 37)) = 'I';
    }, {{"MULTI.DAT", RandomBytes(4096, 3)}, {"MULTJ.DAT", RandomBytes(3000, 4)}}),
     {"-r", "-m", "out", "disc.3.pdi"}, 0, "Extracted 1 file,", {}, 3001},
    {"RecordsShareAnExtentWithOtherSizes", ImageOf({{"A.TXT", kAbc.at("B.TXT").substr(0, 5)},
     {"B.TXT", kAbc.at("B.TXT")}, {"C.TXT", ""}},
     [](auto& i) { SetField(i, "A.TXT;1", 2, Field(i, "B.TXT;1", 2)); }), kExtract, 0,
     "Extracted 3 files"},
    {"FileSharesAFolderExtent", [](auto& lands) {
        std::string i = MakeImage({{"DIR/X.TXT", "x"}, {"F.TXT", "f"}}, kPlainNames);
        SetField(i, "F.TXT;1", 2, Field(i, "DIR", 2));
        SetField(i, "F.TXT;1", 10, 100);
        lands = {{"X.TXT", "x"}, {"F.TXT", i.substr(Field(i, "DIR", 2) * kSectorSize, 100)}};
        return i;
    }, kExtract, 0, "Extracted 2 files"},
    {"NamesOf255Bytes", Whole({{"D/" + std::string(251, 'n') + ".bin", "long"}}), kExtract, 0,
     "Extracted 1 file,"},
    {"OddNames", ImageOf(kRefused ? Tree{{"OK.TXT", "ok"}} : kOddNames, nullptr, kOddNames,
     kRockRidgeJoliet), kExtract, kRefused, Refusal("\\x1B[2J 1\n\\x1B]2;pwned\\x07.txt 1\n")},
    {"ReplacesAnOldFile", Whole(kAbc), kExtract, 0, "Extracted 3 files",
     [](auto& d) { WriteWholeFile(d / "out/A.TXT", "an old A"); }},
    {"YearLikeNameIsASetOfItsOwn", Whole(kAbc), {"-r", "-m", "out", "disc.2005.pdi"}, 0,
     "Extracted 3 files", [](auto& d) { fs::rename(d / "disc.pdi", d / "disc.2005.pdi"); }},
    // Many members, the last one short of the trailing padding; room for two descriptors beside
    // the standard three: a member and the file written.
    {"MoreMembersThanOpenFilesNoTrailingPadding", Whole(kAbc, kPlainNames,
     [](auto& i) { i.resize(i.size() - 204800); }), kExtract, 0, "Extracted 3 files", {}, 1024,
     Limits{0, OPEN_FILE_ROOM}}}),
    kLabel);

INSTANTIATE_TEST_SUITE_P(HostileImages, Commands, ::testing::ValuesIn(std::vector<Case>{
    {"ExtentPastTheEnd", ImageOf(kAc, [](auto& i) { SetField(i, "B.TXT;1", 2, 99999); }), kExtract,
     4, "file data lies past the end of the image"},
    {"FileReallyCut",
     ImageOf(kAc, [](auto& i) { i.resize(Field(i, "B.TXT;1", 2) * kSectorSize + 9); }), kExtract, 4,
     "past the end of the image (needs"},
    {"RockRidgeNameDot", ImageOf(kAc, [](auto& i) {  // the "current" flag
        i[i.find(std::string("NM\x0a\x01\x00" "B.TXT", 10)) + 4] = 2;
    }, kAbc, kRockRidgeJoliet), kExtract, 5, "name cannot be a file name, skipped: ."},
    {"EmptyPlainName", ImageOf(kAc, [](auto& i) {
        i.replace(RecordOf(i, "B.TXT;1", 33), 7, std::string(";1\0\0\0\0\0", 7));
    }), kExtract, 5, "skipped"},
    {"ZisofsDataShort", ImageOf({{"s.txt", "s"}}, [](auto& i) {
        SetField(i, "BIG.TXT;1", 10, Field(i, "BIG.TXT;1", 10) - 3000);
    }, kZisofsFiles, kZisofs), kExtract, 4, "holds only"},
    {"FolderClaims4GiB", ImageOf({{"A.TXT", "a"}}, [](auto& i) { SetField(i, "DIR", 10, ~2047u); },
     {{"DIR/X.TXT", "x"}, {"A.TXT", "a"}}), kExtract, 4, "folder lies past the end"},
    // Within a large set (sparse here), yet larger than any disc's folder: not read.
    {"FolderLargerThanAnyDisc", ImageOf({{"A.TXT", "a"}},
     [](auto& i) { SetField(i, "DIR", 10, 1 << 27); }, {{"DIR/X.TXT", "x"}, {"A.TXT", "a"}}),
     kExtract, 4, "folder claims 134217728 bytes",
     [](auto& d) { fs::resize_file(d / "disc.pdi", 256u << 20); }},
    {"IsoNamedLikeTheNextMember", kKept, {"-r", "-i", "disc.3.pdi", "disc.pdi"}, 6,
     "join the set: disc.3.pdi", {}, kThreeMembers},
    {"IsoOverAMember", kKept, {"-r", "-i", "disc.1.pdi", "disc.2.pdi"}, 6, "overwrite a set member",
     {}, kThreeMembers},
    {"DestinationIsAFile", kKept, kExtract, 6, "cannot create destination folder out",
     [](auto& d) { WriteWholeFile(d / "out", "a file"); }},
    {"NotAnImage", nullptr, {"-r", "-m", "out", "disco.pdi"}, 4, "not a disc image"},
    {"FirstMemberMissing", kKept, {"-gb", "l.txt", "disc.1.pdi"}, 3, "first member",
     [](auto& d) { fs::remove(d / "disc.pdi"); }, kThreeMembers},
    {"MemberBehindAGap", kKept, {"-gb", "l.txt", "disc.2.pdi"}, 3, "member 1 is missing",
     [](auto& d) { fs::remove(d / "disc.1.pdi"); }, kThreeMembers},
    {"NoSuchSet", nullptr, {"-gb", "l.txt", "nothing.pdi"}, 3, "cannot find set member"},
    {"SameFileNameTwice", ImageOf({}, nullptr, {{"A/X.DAT", "one"}, {"B/X.DAT", "two"}},
     kRockRidgeJoliet), kExtract, 5, "several files are named X.DAT (A/X.DAT, B/X.DAT)"},
    {"NamesThatLookLikeOptions", kKept, {"-r", "-m", "out", "disc.pdi", "-r", "--help"}, 5,
     R"(not in the image: "-r", "--help")"},
    {"UnknownOption", nullptr, {"-x", "-m", "a", "b"}, 2, "unknown option -x"},
    {"SurplusArgument", nullptr, {"-i", "a.iso", "b.pdi", "c"}, 2, "unexpected argument c"},
    {"EmptyDestination", nullptr, {"-m", "", "b.pdi"}, 2, "no destination"},
    {"EmptySet", nullptr, {"-gb", "l.txt", ""}, 2, "no set named"},
    {"KilledWhileExtracting", kKept, kExtract, 128 + kKill, "", {}, 1 << 20, {}, kKill}}),
    kLabel);

#ifdef _WIN32
// The list file in the ANSI code page, here 1252: a name it cannot hold is left out.
INSTANTIATE_TEST_SUITE_P(WindowsImages, Commands, ::testing::ValuesIn(std::vector<Case>{
    {"ListInTheAnsiCodePage", ImageOf({{"list.txt", "caf\xE9.txt 6\r\n\xDCn\xEF.bin 2\r\n"}},
     nullptr, kUnicode, kJolietOnly), {"-gb", "out/list.txt", "disc.pdi"}, 0, "Listed 2 files",
     kMakeOut},
    {"CtrlCWhileExtracting", kKept, kExtract, int(0xC000013Au), "", {}, 1 << 20, {}, SIGINT}}),
    kLabel);
#else
INSTANTIATE_TEST_SUITE_P(PosixOnly, Commands, ::testing::ValuesIn(std::vector<Case>{
    {"FifoMember", kKept, kExtract, 3, "not a regular file: disc.3.pdi",
     [](auto& d) { ::mkfifo((d / "disc.3.pdi").c_str(), 0644); }, kThreeMembers},
    {"FifoAsTheIso", kKept, {"-r", "-i", "x.iso", "disc.pdi"}, 6, "not a regular file: x.iso",
     [](auto& d) { ::mkfifo((d / "x.iso").c_str(), 0644); }},
    {"LinkToStdoutAsTheList", kKept, {"-gb", "l.txt", "disc.pdi"}, 6, "regular file: l.txt",
     [](auto& d) { fs::create_symlink("/proc/self/fd/1", d / "l.txt"); }},
    {"DiskFullKeepsTheOldIso", kKept, {"-r", "-i", "disc.iso", "disc.pdi"}, 6,
     "cannot write disc.iso", {}, kThreeMembers, Limits{100000}},
    {"DiskFullKeepsFinishedFiles", ImageOf({{"A.BIN", "a"}}, nullptr,
     {{"A.BIN", "a"}, {"B.BIN", RandomBytes(200000, 5)}, {"C.BIN", "c"}}), kExtract, 6,
     "cannot write out/B.BIN", {}, kThreeMembers, Limits{100000}},
    // -r removes the links, as rm does, never what they point to; nothing is flushed unasked.
    {"LinkedMembersNothingFlushed", Whole(kAbc), kExtract, 0, "Extracted 3 files", [](auto& d) {
        for (const std::string m : {"disc.pdi", "disc.1.pdi", "disc.2.pdi"}) {
            fs::rename(d / m, d / ("target of " + m));
            fs::create_symlink("target of " + m, d / m);
        }
    }, kThreeMembers, Limits{.noFlush = true}},
    {"FlushFailsWhenAsked", kKept, {"--sync", "-r", "-m", "out", "disc.pdi"}, 6,
     "cannot write out/A.TXT: Input/output error", {}, 1 << 20, Limits{.noFlush = true}},
    {"MemberCutShortWhileRead", ImageOf({{"C.TXT", ""}}, nullptr, kAbc, kRockRidgeJoliet), kExtract,
     4, "set member shrank while reading", {}, 1 << 20, {}, 0,
     [](auto& d) { fs::resize_file(d / "disc.pdi", 0); }},
    {"MemberReplacedWhileRead", Whole(kAbc), kExtract, 7,
     "set member was replaced during the run, not deleted: disc.pdi", {}, 1 << 20, {}, 0,
     [](auto& d) { fs::rename(d / "disco.pdi", d / "disc.pdi"); }},
    // Where files have no name until they are whole, a signal has nothing to remove: these
    // remove the named ones of other file systems.
    {"CtrlCWhileExtracting", kKept, kExtract, 128 + SIGINT, "", {}, 1 << 20, kNamed, SIGINT},
    {"TerminalClosedWhileExtracting", kKept, kExtract, 128 + SIGHUP, "", {}, 1 << 20, kNamed,
     SIGHUP},
    {"KilledWhileConverting", kKept, {"-r", "-i", "x.iso", "disc.pdi"}, 128 + SIGTERM, "", {},
     1 << 20, kNamed, SIGTERM}}),
    kLabel);
// clang-format on

// Every input the fuzzer keeps (its seeds and each that once broke the reader) is read or
// refused cleanly; under the sanitizers a leak or overflow on any of them fails here.
TEST(ImageSetInputs, ReadOrRefusedCleanly) {
    for (const char* dir : {"/fuzz/corpus/image_set", "/tests/data/fuzz/image_set"}) {
        for (const auto& entry : fs::directory_iterator(ZELVORN_SOURCE_DIR + std::string(dir))) {
            const std::string bytes = ReadWholeFile(entry.path());
            const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
            EXPECT_EQ(CheckImageSet(data, bytes.size()), nullptr) << entry.path();
        }
    }
}

// What a person sees of a run on a terminal: one line that fits, a window title and a
// summary, never a raw control character from a file name; and after a failure in a window
// of its own, the message stays until Enter is pressed.
struct Shown {
    const char* label;
    std::vector<std::string> args;
    int columns;
    std::vector<std::string> env;  // TERM, and whether the window is held on an error
    std::uint64_t fileSize = 0;    // beyond it a write fails, as on a full disk
    bool stdinTerminal = true;     // or /dev/null
    int status = 0;
    friend void PrintTo(const Shown& c, std::ostream* os) { *os << c.label; }
};

class OnATerminal : public ::testing::TestWithParam<Shown> {};

// Extracting fills one line that fits, and shows a title unless TERM is dumb; it waits for
// Enter only after a failure, held, with input from the terminal, the last progress line and
// the message still in view.
TEST_P(OnATerminal, OneLineThatFitsATitleASummaryAndAMessageThatStays) {
    const Shown& c = GetParam();
    TempDir dir;
    // Every name printed in full would be wider than any terminal; two try to steer it.
    WriteMembers(MakeImage({{"VIDEO_TS/VTS_01_1.VOB", RandomBytes(4 << 20, 1)},
                            {"EXTRA/" + std::string(200, 'L') + ".TXT", "long"},
                            {"EXTRA/\x1b]2;pwned\x07.txt", "title"},
                            {"EXTRA/\x1b[2J.txt", "clear"}}),
                 dir.path, 1 << 20);
    // Run under script(1), whose output is all the terminal showed. Where it is to wait, an
    // Enter is typed ahead; elsewhere the terminal's input ends, which ends a wait at once.
    const bool held = c.status != 0 && c.stdinTerminal && c.env.size() > 1;
    std::string shell = "stty cols " + std::to_string(c.columns) + " rows 24; exec " PDIXTRACT_EXE;
    for (const std::string& a : c.args) shell += " '" + a + "'";
    if (!c.stdinTerminal) shell += " </dev/null";
    const RunResult r = RunPdixtract({"-qfec", shell, "/dev/null"}, dir.path,
                                     Limits{c.fileSize, 0, c.env, held ? "\n" : "", "script"});
    EXPECT_EQ(r.status, c.status) << r.out;
    // The widest redrawn line ("\r" ... "\x1b[K"), in columns: UTF-8 continuation bytes take none.
    std::size_t widest = 0, columns = static_cast<std::size_t>(c.columns);
    for (std::size_t end = 0; (end = r.out.find("\x1b[K", end + 1)) != std::string::npos;) {
        const auto column = [](char ch) { return (ch & 0xC0) != 0x80; };
        const std::size_t start = r.out.rfind('\r', end) + 1;
        widest = std::max<std::size_t>(widest, std::count_if(&r.out[start], &r.out[end], column));
    }
    EXPECT_LE(widest, columns) << r.out;
    std::size_t error = r.out.find("pdixtract: "), prompt = r.out.find("Press Enter to close");
    EXPECT_TRUE(held ? error < prompt && prompt != std::string::npos : prompt == std::string::npos)
        << r.out;
    if (c.args[0] != "-m") return;
    EXPECT_LT(r.out.find(" of "), error) << "the progress line stays: " << r.out;
    EXPECT_GT(widest, columns - 5) << r.out;
    const bool title = c.env[0] != "TERM=dumb";
    EXPECT_EQ(r.out.find("% Extracting disc.pdi \u2013 pdixtract\a") != std::string::npos, title);
    EXPECT_EQ(r.out.find("\x1b]") != std::string::npos, title) << r.out;
    EXPECT_EQ(r.out.find("Extracted 4 files, 4.00 MiB in ") != std::string::npos, c.status == 0);
}

const std::vector<std::string> kOut = {"-m", "out", "disc.pdi"}, kXterm = {"TERM=xterm"},
                               kHeld = {"TERM=xterm", "PDIXTRACT_HOLD_ON_ERROR=1"};
INSTANTIATE_TEST_SUITE_P(Runs, OnATerminal,
                         ::testing::ValuesIn(std::vector<Shown>{
                             {"Xterm80", kOut, 80, kXterm},
                             {"Xterm40", kOut, 40, kXterm},
                             {"Dumb80", kOut, 80, {"TERM=dumb"}},
                             {"HeldAfterUsageError", {"-q"}, 80, kHeld, 0, true, 2},
                             {"HeldAfterDiskFull", kOut, 80, kHeld, 100000, true, 6},
                             {"NotHeldAfterSuccess", {"--help"}, 80, kHeld},
                             {"NotAsked", {"-q"}, 80, kXterm, 0, true, 2},
                             {"NoTerminalToAnswer", {"-q"}, 80, kHeld, 0, false, 2}}),
                         kLabel);

#endif

}  // namespace

}  // namespace pdixtract

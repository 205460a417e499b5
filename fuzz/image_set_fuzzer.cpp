// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "base/disc_image.h"
#include "fuzz_checks.h"
#include "pdixtract/commands.h"

namespace {

namespace fs = std::filesystem;

// One folder per process for the set and what is made of it, removed at exit.
struct WorkDir {
    fs::path path = fs::temp_directory_path() / ("zelvorn-fuzz-" + std::to_string(::getpid()));
    std::FILE* null = std::fopen("/dev/null", "w");
    ~WorkDir() { fs::remove_all(path, ignored); }
    std::error_code ignored;
};

}  // namespace

const char* CheckImageSet(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return nullptr;
    static const WorkDir work;
    fs::remove_all(work.path);
    fs::create_directories(work.path);
    // The system area before the first volume descriptor is unused by ISO 9660 readers, so
    // inputs leave it out and stay small.
    std::string image(base::kDescriptorsOffset, '\0');
    image.append(reinterpret_cast<const char*>(data) + 1, size - 1);
    // One to three members, cut where the control byte says: anywhere, even empty.
    const std::size_t count = 1 + data[0] % 3, unit = image.size() / 8 + 1;
    for (std::size_t i = 0, at = 0, length = 0; i < count; ++i, at += length) {
        length = image.size() - at;
        if (i + 1 < count) length = std::min(length, unit * ((data[0] >> (2 + 3 * i)) & 7));
        std::ofstream(work.path / (i ? "set." + std::to_string(i) + ".pdi" : "set.pdi"))
            .write(image.data() + at, static_cast<std::streamsize>(length));
    }
    // List it and extract it as pdixtract does: any image gives a status, never a crash.
    const std::string set = (work.path / "set.pdi").string();
    for (const char* command : {"-gb", "-m"}) {
        const std::string target = (work.path / command).string();
        const char* argv[] = {"pdixtract", command, target.c_str(), set.c_str()};
        const int status =
            pdixtract::Run(pdixtract::ParseArgs(4, argv), {work.null, work.null, false, false});
        if (status == 2 || status == 7 || status == 8) return "an exit status no image can cause";
    }
    return nullptr;
}

#ifdef ZELVORN_FUZZER
// Files written stop at 16 MiB, so a crafted size cannot fill the disk.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{16 << 20, 16 << 20};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* problem = CheckImageSet(data, size);
    Require(problem == nullptr, problem);
    return 0;
}
#endif

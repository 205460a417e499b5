#include "commands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "atomic_file.h"
#include "errors.h"
#include "member_set.h"
#include "progress.h"

namespace pdix {

namespace {

[[noreturn]] void usage_error(const std::string& what) {
    throw Error(ExitCode::usage, what + " (see pdixtract --help)");
}

// Files the set's own members must never be overwritten by an output.
void refuse_member_as_output(const MemberSet& set, const std::string& target) {
    struct stat out {};
    if (::stat(target.c_str(), &out) != 0) return;
    for (const Member& m : set.members()) {
        struct stat in {};
        if (::fstat(m.fd, &in) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino) {
            throw Error(ExitCode::write_failed, "output would overwrite a set member: " + target);
        }
    }
}

// -r: only ever the members, and only once everything else has succeeded.
void remove_members(MemberSet& set) {
    set.close();
    std::string failed;
    int failed_errno = 0;
    for (const Member& m : set.members()) {
        if (::unlink(m.path.c_str()) != 0 && failed.empty()) {
            failed = m.path;
            failed_errno = errno;
        }
    }
    if (!failed.empty()) {
        throw Error(ExitCode::remove_failed, with_errno("cannot delete set member " + failed +
                                                            " (the work itself succeeded)",
                                                        failed_errno));
    }
}

MemberSet open_checked(const std::string& set_path) {
    MemberSet set = MemberSet::open(set_path);
    check_image(set, set_path);
    return set;
}

// Copies len bytes from in at in_off to out at out_off, in the kernel where it can.
void copy_range(int in, std::uint64_t in_off, AtomicFile& out, std::uint64_t out_off,
                std::uint64_t len, const std::string& in_name, Progress* progress) {
    constexpr std::size_t chunk = 64u << 20;  // bounds the time between progress updates
    bool kernel_copy = true;
    std::unique_ptr<char[]> buf;
    while (len > 0) {
        std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(len, chunk));
        ssize_t n = -1;
        if (kernel_copy) {
            loff_t src = static_cast<loff_t>(in_off);
            loff_t dst = static_cast<loff_t>(out_off);
            n = ::copy_file_range(in, &src, out.fd(), &dst, want, 0);
            if (n < 0) {
                if (errno == EINTR) continue;
                if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP &&
                    errno != EBADF && errno != EPERM && errno != ETXTBSY) {
                    if (errno == EIO) {
                        throw Error(ExitCode::bad_image,
                                    with_errno("cannot read set member: " + in_name, errno));
                    }
                    out.fail(errno);
                }
                kernel_copy = false;  // this pair of file systems cannot; copy by hand
                continue;
            }
        } else {
            // A large buffer keeps the number of system calls, and so the overhead, low.
            constexpr std::size_t buf_size = 8u << 20;
            if (!buf) buf.reset(new char[buf_size]);
            want = std::min(want, buf_size);
            n = ::pread(in, buf.get(), want, static_cast<off_t>(in_off));
            if (n < 0) {
                if (errno == EINTR) continue;
                throw Error(ExitCode::bad_image,
                            with_errno("cannot read set member: " + in_name, errno));
            }
            if (n > 0) out.write_at(buf.get(), static_cast<std::size_t>(n), out_off);
        }
        if (n == 0) throw Error(ExitCode::bad_image, "set member shrank while reading: " + in_name);
        in_off += static_cast<std::uint64_t>(n);
        out_off += static_cast<std::uint64_t>(n);
        len -= static_cast<std::uint64_t>(n);
        if (progress) progress->advance(static_cast<std::uint64_t>(n));
    }
}

}  // namespace

Options parse_args(int argc, const char* const* argv) {
    Options o;
    std::vector<std::string> args(argv + 1, argv + argc);
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.mode = Options::Mode::help;
            return o;
        }
        if (a == "-r") {
            o.remove_members = true;
        } else if (a == "-v") {
            o.video_ts = true;
        } else if (a == "-m" || a == "-i" || a == "-gb") {
            o.mode = a == "-m"   ? Options::Mode::extract
                     : a == "-i" ? Options::Mode::convert
                                 : Options::Mode::list;
            const char* what = a == "-m"   ? "DEST and SET"
                               : a == "-i" ? "ISO and SET"
                                           : "LIST and SET";
            if (i + 2 >= args.size()) usage_error("option " + a + " needs " + what);
            o.target = args[i + 1];
            o.set = args[i + 2];
            i += 3;
            break;
        } else if (!a.empty() && a[0] == '-') {
            usage_error("unknown option " + a);
        } else {
            usage_error("expected -m, -i or -gb before " + a);
        }
    }
    if (o.mode == Options::Mode::none) usage_error("no command given");
    for (; i < args.size(); ++i) {
        if (o.mode != Options::Mode::extract) usage_error("unexpected argument " + args[i]);
        o.names.push_back(args[i]);
    }
    if (o.video_ts && o.mode != Options::Mode::extract) usage_error("-v applies only to -m");
    if (o.remove_members && o.mode == Options::Mode::list) usage_error("-r does not apply to -gb");
    return o;
}

std::string usage_text() {
    return R"(Usage:
  pdixtract [-r] [-v] -m DEST SET [NAME ...]   extract files into the folder DEST
  pdixtract [-r] -i ISO SET                    write the whole image to the file ISO
  pdixtract -gb LIST SET                       write the list of files to the file LIST
  pdixtract --help                             show this text

Options:
  -m DEST  Extract every regular file of the image, or only those whose file name is
           one of the NAMEs, directly into the folder DEST (created if missing).
           Folders inside the image are not recreated: files land by file name alone,
           so two selected files with the same name are refused before anything is
           written, as is a NAME the image does not hold. DEST is taken as a folder
           path whatever it looks like ("E:" is a folder called "E:").
  -v       With -m: put the files into DEST/VIDEO_TS/ instead.
  -i ISO   Write the image, byte for byte, to the file ISO.
  -gb LIST Write LIST: for each regular file, in image order, its file name, one
           blank, its size in bytes, then CR LF. An entry whose name holds a blank
           or a comma is written inside double quotes and reported on stderr; a name
           holding a double quote or line break cannot be listed and is reported.
  -r       After the whole command has succeeded, delete the set's member files.
           Nothing is deleted after a failure, and nothing but the members.

Sets:
  A set is one ISO 9660 disc image (Rock Ridge or Joliet names are used where the
  image carries them) stored in member files whose bytes, concatenated in order,
  are the image: NAME.pdi, NAME.1.pdi, NAME.2.pdi, ... Naming any member names the
  whole set. Members are counted up from NAME.pdi and the first missing number ends
  the set; a missing NAME.pdi is an error. A file not ending in .pdi is read alone.

Files are written under a temporary name beside their target and renamed into
place when complete: a failure never leaves a half-written file behind, and files
already completed by a failed extraction stay.

Exit status:
  0  success
  2  usage error: unknown option, missing or surplus argument, empty path
  3  a set member cannot be found or opened
  4  not a disc image, truncated image, or a read error inside it
  5  a NAME the image does not hold, or two files with the same file name
  6  the destination cannot be created or written (the failing file is removed)
  7  -r: everything succeeded but a member could not be deleted

Environment:
  PDIXTRACT_HOLD_ON_ERROR  When set and not empty, and standard input is a terminal,
           a failure waits for Enter before pdixtract ends, so that a terminal window
           of its own stays open until its message has been read.
)";
}

std::string format_list(const std::vector<ImageFile>& files, std::vector<std::string>& flagged,
                        std::vector<std::string>& dropped) {
    std::string text;
    for (const ImageFile& f : files) {
        if (f.name.find_first_of("\"\r\n") != std::string::npos) {
            dropped.push_back(f.path);
            continue;
        }
        std::string line = f.name + " " + std::to_string(f.size);
        if (f.name.find_first_of(" ,") != std::string::npos) {
            flagged.push_back(f.path);
            line = "\"" + line + "\"";
        }
        text += line;
        text += "\r\n";
    }
    return text;
}

void run_list(const Options& opts, const Console& con) {
    if (opts.target.empty()) usage_error("no list file named: the LIST argument is empty");
    MemberSet set = open_checked(opts.set);
    std::vector<ImageFile> files = scan_files(set, opts.set);
    std::vector<std::string> flagged, dropped;
    std::string text = format_list(files, flagged, dropped);
    refuse_member_as_output(set, opts.target);
    AtomicFile out(opts.target);
    out.write_at(text.data(), text.size(), 0);
    out.commit(text.size());
    for (const std::string& p : flagged) {
        std::fprintf(con.err, "pdixtract: name has a blank or comma, listed in double quotes: %s\n",
                     p.c_str());
    }
    for (const std::string& p : dropped) {
        std::fprintf(con.err, "pdixtract: name cannot be listed, left out: %s\n", p.c_str());
    }
    std::fprintf(con.out, "Listed %zu files: %s\n", files.size() - dropped.size(),
                 opts.target.c_str());
}

void run_extract(const Options& opts, const Console& con) {
    if (opts.target.empty()) usage_error("no destination folder named: the DEST argument is empty");
    MemberSet set = open_checked(opts.set);
    std::vector<ImageFile> files = scan_files(set, opts.set);

    // Choose the files, and refuse missing or ambiguous names before writing anything.
    std::vector<bool> chosen(files.size(), opts.names.empty());
    if (!opts.names.empty()) {
        std::set<std::string> wanted(opts.names.begin(), opts.names.end());
        std::set<std::string> found;
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (wanted.count(files[i].name)) {
                chosen[i] = true;
                found.insert(files[i].name);
            }
        }
        std::string missing;
        for (const std::string& n : opts.names) {
            if (!found.count(n) && missing.find("\"" + n + "\"") == std::string::npos) {
                missing += (missing.empty() ? "\"" : ", \"") + n + "\"";
            }
        }
        if (!missing.empty()) {
            throw Error(ExitCode::name_problem, "not in the image: " + missing + ": " + opts.set);
        }
    }
    std::map<std::string, std::vector<std::string>> by_name;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (chosen[i]) by_name[files[i].name].push_back(files[i].path);
    }
    for (const auto& [name, paths] : by_name) {
        if (paths.size() > 1) {
            std::string all;
            for (const std::string& p : paths) all += (all.empty() ? "" : ", ") + p;
            throw Error(ExitCode::name_problem,
                        "several files are named " + name + " (" + all +
                            "), cannot put them in one folder: " + opts.set);
        }
    }

    std::string dest = opts.target;
    if (opts.video_ts) dest += "/VIDEO_TS";
    std::error_code ec;
    std::filesystem::create_directories(dest, ec);
    if (ec || !std::filesystem::is_directory(dest)) {
        throw Error(ExitCode::write_failed,
                    "cannot create destination folder " + dest + ": " +
                        (ec ? ec.message() : std::string("a file of that name exists")));
    }

    // Which outputs each data-carrying file feeds (a hard-linked record shares the data).
    std::vector<std::vector<std::string>> outputs(files.size());
    std::uint64_t total = 0;
    std::size_t last = 0;
    unsigned count = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!chosen[i]) continue;
        std::size_t source = files[i].data_of.value_or(i);
        std::string target = dest + "/" + files[i].name;
        refuse_member_as_output(set, target);
        outputs[source].push_back(target);
        total += files[i].size;
        last = std::max(last, source);
        ++count;
    }

    Progress progress(con.out, con.live, "Extracted", total);
    if (count > 0) {
        ImageReader reader(set, opts.set);
        ImageFile f;
        for (std::size_t i = 0; i <= last && reader.next(f); ++i) {
            if (outputs[i].empty()) continue;
            const std::string& first = outputs[i].front();
            progress.begin(first.substr(first.rfind('/') + 1), f.size);
            {
                AtomicFile out(first);
                reader.read_data([&](const void* data, std::size_t size, std::uint64_t offset) {
                    out.write_at(data, size, offset);
                    progress.advance(size);
                });
                out.commit(f.size);
            }
            progress.end_item();
            if (outputs[i].size() > 1) {
                int in = ::open(first.c_str(), O_RDONLY | O_CLOEXEC);
                if (in < 0) {
                    throw Error(ExitCode::write_failed,
                                with_errno("cannot reopen " + first, errno));
                }
                for (std::size_t k = 1; k < outputs[i].size(); ++k) {
                    const std::string& t = outputs[i][k];
                    progress.begin(t.substr(t.rfind('/') + 1), f.size);
                    try {
                        AtomicFile out(t);
                        copy_range(in, 0, out, 0, f.size, first, &progress);
                        out.commit(f.size);
                    } catch (...) {
                        ::close(in);
                        throw;
                    }
                    progress.end_item();
                }
                ::close(in);
            }
        }
    }
    progress.finish(dest);
    if (opts.remove_members) remove_members(set);
}

void run_convert(const Options& opts, const Console& con) {
    if (opts.target.empty()) usage_error("no ISO file named: the ISO argument is empty");
    MemberSet set = open_checked(opts.set);
    refuse_member_as_output(set, opts.target);
    Progress progress(con.out, con.live, "Converted", set.size(), false);
    {
        AtomicFile out(opts.target);
        std::size_t slash = opts.target.rfind('/');
        progress.begin(slash == std::string::npos ? opts.target : opts.target.substr(slash + 1),
                       set.size());
        for (const Member& m : set.members()) {
            copy_range(m.fd, 0, out, m.start, m.size, m.path, &progress);
        }
        out.commit(set.size());
        progress.end_item();
    }
    progress.finish(opts.target);
    if (opts.remove_members) remove_members(set);
}

int run(const Options& opts, const Console& con) {
    try {
        switch (opts.mode) {
            case Options::Mode::help:
                std::fputs(usage_text().c_str(), con.out);
                return 0;
            case Options::Mode::extract:
                run_extract(opts, con);
                break;
            case Options::Mode::convert:
                run_convert(opts, con);
                break;
            case Options::Mode::list:
                run_list(opts, con);
                break;
            case Options::Mode::none:
                usage_error("no command given");
        }
        return 0;
    } catch (const Error& e) {
        std::fflush(con.out);
        if (con.live) std::fputs("\n", con.out);
        std::fprintf(con.err, "pdixtract: %s\n", e.what());
        return static_cast<int>(e.code());
    } catch (const std::exception& e) {
        std::fprintf(con.err, "pdixtract: %s: %s\n", e.what(), opts.set.c_str());
        return static_cast<int>(ExitCode::bad_image);
    }
}

}  // namespace pdix

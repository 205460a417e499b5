// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdixtract/commands.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <set>

#include "base/terminal_text.h"
#include "pdixtract/atomic_file.h"
#include "pdixtract/errors.h"
#include "pdixtract/member_set.h"

namespace pdixtract {

namespace {

constexpr std::uint64_t kCopyChunk = 64u << 20;  // bounds the time between progress updates

[[noreturn]] void UsageError(const std::string& what) {
    throw Failure(ExitCode::Usage, what + " (see pdixtract --help)");
}

std::string BaseName(const std::string& path) {
    std::size_t slash = LastSeparator(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// An output must never overwrite a member, nor be named so that it joins the set.
void RefuseSetAsOutput(const MemberSet& set, const std::string& target) {
    if (set.wouldTouch(target)) {
        throw Failure(ExitCode::WriteFailed,
                      "output would overwrite a set member or join the set: " + target);
    }
}

// -r: only ever the members, each only if it is still the file that was read, and only
// once everything else has succeeded.
void RemoveMembers(MemberSet& set) {
    set.close();
    std::string failure;
    for (const Member& m : set.members()) {
        const ErrorOr<void> removed = RemoveIfSame(m.path, m.id);
        if (!removed.isError() || !failure.empty()) continue;
        failure = removed.error().is(EEXIST)
                      ? "set member was replaced during the run, not deleted: " + m.path
                      : "cannot delete set member " + m.path +
                            " (the work itself succeeded): " + removed.error().text();
    }
    if (!failure.empty()) throw Failure(ExitCode::RemoveFailed, failure);
}

// Copies the bytes at extents of the image, in order, into out from offset 0.
void CopyExtents(const MemberSet& set, const std::vector<Extent>& extents, AtomicFile& out,
                 Progress& progress) {
    std::uint64_t written = 0;
    for (const Extent& e : extents) {
        for (std::uint64_t done = 0; done < e.length;) {
            std::uint64_t at = e.offset + done;
            std::size_t i = set.memberAt(at);
            const Member& m = set.members()[i];
            std::uint64_t len = std::min({e.length - done, m.start + m.size - at, kCopyChunk});
            std::uint64_t n = out.copyFrom(set.file(i), m.path, at - m.start, written, len);
            if (n == 0)
                throw Failure(ExitCode::BadImage, "set member shrank while reading: " + m.path);
            done += n;
            written += n;
            progress.advance(n);
        }
    }
}

// Everything a command had to leave out: each is reported at once, the first decides the
// exit status, and nothing is deleted afterwards.
class Omissions {
public:
    Omissions(const Console& con) : m_con(con) {}
    void report(ExitCode code, const std::string& message, Progress* progress = nullptr) {
        if (progress) progress->clearLine();
        std::fprintf(m_con.err, "pdixtract: %s\n", base::EscapeForTerminal(message).c_str());
        std::fflush(m_con.err);
        if (m_count++ == 0) m_code = code;
    }
    void reportAll(const Volume& volume) {
        for (const Problem& p : volume.problems()) report(p.code, p.message);
    }
    // Throws unless nothing was left out.
    void check(const Options& opts) const {
        if (m_count == 0) return;
        throw Failure(m_code, std::to_string(m_count) + (m_count == 1 ? " entry" : " entries") +
                                  " of the image left out" +
                                  (opts.removeMembers ? ", set members kept" : "") + ": " +
                                  opts.set);
    }

private:
    Console m_con;
    unsigned m_count = 0;
    ExitCode m_code = ExitCode::Ok;
};

}  // namespace

Options ParseArgs(int argc, const char* const* argv) {
    Options o;
    std::vector<std::string> args(argv + 1, argv + argc);
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.mode = Options::Mode::Help;
            return o;
        }
        if (a == "-r") {
            o.removeMembers = true;
        } else if (a == "-v") {
            o.videoTs = true;
        } else if (a == "-m" || a == "-i" || a == "-gb") {
            o.mode = a == "-m"   ? Options::Mode::Extract
                     : a == "-i" ? Options::Mode::Convert
                                 : Options::Mode::List;
            const char* what = a == "-m"   ? "DEST and SET"
                               : a == "-i" ? "ISO and SET"
                                           : "LIST and SET";
            if (i + 2 >= args.size()) UsageError("option " + a + " needs " + what);
            o.target = args[i + 1];
            o.set = args[i + 2];
            i += 3;
            break;
        } else if (!a.empty() && a[0] == '-') {
            UsageError("unknown option " + a);
        } else {
            UsageError("expected -m, -i or -gb before " + a);
        }
    }
    if (o.mode == Options::Mode::None) UsageError("no command given");
    for (; i < args.size(); ++i) {
        if (o.mode != Options::Mode::Extract) UsageError("unexpected argument " + args[i]);
        o.names.push_back(args[i]);
    }
    if (o.videoTs && o.mode != Options::Mode::Extract) UsageError("-v applies only to -m");
    if (o.removeMembers && o.mode == Options::Mode::List) UsageError("-r does not apply to -gb");
    return o;
}

std::string UsageText() {
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
           path whatever it looks like ("E:" is a folder called "E:"). Every file that
           can be read is extracted; each that cannot is reported on stderr.
  -v       With -m: put the files into DEST/VIDEO_TS/ instead.
  -i ISO   Write the set's bytes, whatever they hold, to the file ISO.
  -gb LIST Write LIST: for each regular file, in image order, its file name, one
           blank, its size in bytes, then CR LF. An entry whose name holds a blank
           or a comma is written inside double quotes and reported on stderr; a name
           holding a double quote or line break cannot be listed and is reported.
  -r       After the whole command has succeeded, delete the set's member files.
           Nothing is deleted after a failure or when anything was left out, and
           nothing but the members, each only if it is still the file that was read.

Sets:
  A set is one disc image (ISO 9660, with Rock Ridge or Joliet names where the image
  carries them, or UDF alone) stored in member files whose bytes, concatenated in
  order, are the image: NAME.pdi, NAME.1.pdi, NAME.2.pdi, ... (".pdi" in any case).
  Naming any member names the whole set. Members are counted up from NAME.pdi and
  the first missing number ends the set; a missing NAME.pdi is an error. A file not
  ending in .pdi is read alone. Members must be regular files.

Files are written under a temporary name beside their target and renamed into
place when complete: a failure or an interruption (Ctrl+C, a closed terminal) never
leaves a half-written file behind, and files already completed stay. A file whose
data the image holds only in part is not written. Only a missing target or a
regular file is ever replaced.

On a terminal a line shows the current file, a bar, the percentage, the bytes done,
the speed and the time left, and the window title shows the percentage.

Exit status:
  0  success
  2  usage error: unknown option, missing or surplus argument, empty path
  3  a set member cannot be found or opened, or is not a regular file
  4  not a disc image, or a file or folder whose data lies outside the set or cannot
     be read (the other files are still extracted)
  5  a NAME the image does not hold, two files with the same file name, or an entry
     whose name cannot be a file name (".", "..", empty: skipped)
  6  the destination cannot be created or written, is not a regular file, or would
     overwrite a member or join the set (the failing file is removed)
  7  -r: everything succeeded but a member could not be deleted or was replaced

Environment:
  PDIXTRACT_HOLD_ON_ERROR  When set and not empty, and standard input is a terminal,
           a failure waits for Enter before pdixtract ends, so that a terminal window
           of its own stays open until its message has been read.
)";
}

std::string FormatList(const std::vector<ImageFile>& files, std::vector<std::string>& flagged,
                       std::vector<std::string>& dropped) {
    std::string text;
    for (const ImageFile& f : files) {
        if (!f.problem.empty()) continue;
        const ErrorOr<std::string> name = f.name.find_first_of("\"\r\n") == std::string::npos
                                              ? ListFileName(f.name)
                                              : Error::fromErrno(EILSEQ);
        if (name.isError()) {
            dropped.push_back(f.path);
            continue;
        }
        std::string line = name.value() + " " + std::to_string(f.size);
        if (f.name.find_first_of(" ,") != std::string::npos) {
            flagged.push_back(f.path);
            line = "\"" + line + "\"";
        }
        text += line;
        text += "\r\n";
    }
    return text;
}

void RunList(const Options& opts, const Console& con) {
    if (opts.target.empty()) UsageError("no list file named: the LIST argument is empty");
    MemberSet set = MemberSet::open(opts.set);
    std::unique_ptr<Volume> volume = OpenVolume(set, opts.set);
    Omissions omitted(con);
    omitted.reportAll(*volume);
    std::size_t listed = 0;
    for (const ImageFile& f : volume->files()) {
        if (f.problem.empty())
            ++listed;
        else
            omitted.report(ExitCode::BadImage, f.problem + ": " + f.path);
    }
    std::vector<std::string> flagged, dropped;
    std::string text = FormatList(volume->files(), flagged, dropped);
    RefuseSetAsOutput(set, opts.target);
    AtomicFile out(opts.target);
    out.writeAt(text.data(), text.size(), 0);
    out.commit(text.size());
    for (const std::string& p : flagged) {
        std::fprintf(con.err, "pdixtract: name has a blank or comma, listed in double quotes: %s\n",
                     base::EscapeForTerminal(p).c_str());
    }
    for (const std::string& p : dropped) {
        std::fprintf(con.err, "pdixtract: name cannot be listed, left out: %s\n",
                     base::EscapeForTerminal(p).c_str());
    }
    std::fprintf(con.out, "Listed %zu files: %s\n", listed - dropped.size(),
                 base::EscapeForTerminal(opts.target).c_str());
    omitted.check(opts);
}

void RunExtract(const Options& opts, const Console& con) {
    if (opts.target.empty()) UsageError("no destination folder named: the DEST argument is empty");
    MemberSet set = MemberSet::open(opts.set);
    std::unique_ptr<Volume> volume = OpenVolume(set, opts.set);
    const std::vector<ImageFile>& files = volume->files();
    Omissions omitted(con);

    // Choose the files, and refuse missing or ambiguous names before writing anything.
    std::vector<bool> chosen(files.size(), opts.names.empty());
    if (opts.names.empty()) {
        omitted.reportAll(*volume);
    } else {
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
            throw Failure(ExitCode::NameProblem, "not in the image: " + missing + ": " + opts.set);
        }
    }
    std::map<std::string, std::vector<std::string>> byName;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (chosen[i]) byName[files[i].name].push_back(files[i].path);
    }
    for (const auto& [name, paths] : byName) {
        if (paths.size() > 1) {
            std::string all;
            for (const std::string& p : paths) all += (all.empty() ? "" : ", ") + p;
            throw Failure(ExitCode::NameProblem,
                          "several files are named " + name + " (" + all +
                              "), cannot put them in one folder: " + opts.set);
        }
    }

    std::string dest = opts.target;
    if (opts.videoTs) dest += "/VIDEO_TS";
    if (const ErrorOr<void> made = MakeFolders(dest); made.isError()) {
        throw Failure(
            ExitCode::WriteFailed,
            "cannot create destination folder " + dest + ": " +
                (made.error().is(EEXIST) ? "a file of that name exists" : made.error().text()));
    }
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!chosen[i]) continue;
        RefuseSetAsOutput(set, dest + "/" + files[i].name);
        if (files[i].problem.empty()) total += files[i].size;
    }

    Progress progress(con, "Extracted", "Extracting", BaseName(opts.set), total);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const ImageFile& f = files[i];
        if (!chosen[i]) continue;
        if (!f.problem.empty()) {
            omitted.report(ExitCode::BadImage, f.problem + ": " + f.path, &progress);
            continue;
        }
        try {
            AtomicFile out(dest + "/" + f.name);
            progress.begin(f.name, f.size);
            if (f.plain) {
                CopyExtents(set, f.extents, out, progress);
            } else {
                volume->read(f, [&](const void* data, std::size_t size, std::uint64_t offset) {
                    out.writeAt(data, size, offset);
                    progress.advance(size);
                });
            }
            out.commit(f.size);
        } catch (const Failure& e) {
            // A file the image cannot give is reported; the others still come out.
            if (e.code() != ExitCode::BadImage) throw;
            omitted.report(e.code(), e.what(), &progress);
            continue;
        }
        progress.endItem();
    }
    progress.finish(dest);
    omitted.check(opts);
    if (opts.removeMembers) RemoveMembers(set);
}

void RunConvert(const Options& opts, const Console& con) {
    if (opts.target.empty()) UsageError("no ISO file named: the ISO argument is empty");
    MemberSet set = MemberSet::open(opts.set);
    RefuseSetAsOutput(set, opts.target);
    Progress progress(con, "Converted", "Converting", BaseName(opts.set), set.size(), false);
    {
        AtomicFile out(opts.target);
        progress.begin(BaseName(opts.target), set.size());
        CopyExtents(set, {{0, set.size()}}, out, progress);
        out.commit(set.size());
        progress.endItem();
    }
    progress.finish(opts.target);
    if (opts.removeMembers) RemoveMembers(set);
}

int Run(const Options& opts, const Console& con) {
    try {
        switch (opts.mode) {
            case Options::Mode::Help:
                std::fputs(UsageText().c_str(), con.out);
                return 0;
            case Options::Mode::Extract:
                RunExtract(opts, con);
                break;
            case Options::Mode::Convert:
                RunConvert(opts, con);
                break;
            case Options::Mode::List:
                RunList(opts, con);
                break;
            case Options::Mode::None:
                UsageError("no command given");
        }
        return 0;
    } catch (const Failure& e) {
        std::fflush(con.out);
        std::fprintf(con.err, "pdixtract: %s\n", base::EscapeForTerminal(e.what()).c_str());
        return static_cast<int>(e.code());
    } catch (const std::exception& e) {
        std::fprintf(con.err, "pdixtract: %s: %s\n", e.what(),
                     base::EscapeForTerminal(opts.set).c_str());
        return static_cast<int>(ExitCode::BadImage);
    }
}

}  // namespace pdixtract

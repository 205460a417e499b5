// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdixtract/commands.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <new>
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
        const ErrorOr<void> removed = RemoveIfSame(m.path, m.id, m.link);
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
    explicit Omissions(const Console& console) : m_console(console) {}
    void report(ExitCode code, const std::string& message, Progress* progress = nullptr) {
        if (progress) progress->clearLine();
        std::fprintf(m_console.err, "pdixtract: %s\n", base::EscapeForTerminal(message).c_str());
        std::fflush(m_console.err);
        if (m_count++ == 0) m_code = code;
    }
    void reportAll(const Volume& volume) {
        for (const Problem& p : volume.problems()) report(p.code, p.message);
    }
    // Throws unless nothing was left out.
    void check(const Options& options) const {
        if (m_count == 0) return;
        throw Failure(m_code, std::to_string(m_count) + (m_count == 1 ? " entry" : " entries") +
                                  " of the image left out" +
                                  (options.removeMembers ? ", set members kept" : "") + ": " +
                                  options.set);
    }

private:
    Console m_console;
    unsigned m_count = 0;
    ExitCode m_code = ExitCode::Ok;
};

// -m: the files to extract, in image order: every file, or those whose file name is one of
// the NAMEs. Throws Failure (NameProblem) for a NAME the image does not hold.
std::vector<const ImageFile*> ChooseFiles(const std::vector<ImageFile>& files,
                                          const Options& options) {
    const std::set<std::string> wanted(options.names.begin(), options.names.end());
    std::vector<const ImageFile*> chosen;
    std::set<std::string> found;
    for (const ImageFile& f : files) {
        if (!wanted.empty() && !wanted.count(f.name)) continue;
        chosen.push_back(&f);
        found.insert(f.name);
    }
    std::string missing;
    for (const std::string& n : options.names) {
        if (!found.count(n) && missing.find("\"" + n + "\"") == std::string::npos) {
            missing += (missing.empty() ? "\"" : ", \"") + n + "\"";
        }
    }
    if (!missing.empty()) {
        throw Failure(ExitCode::NameProblem, "not in the image: " + missing + ": " + options.set);
    }
    return chosen;
}

// Files land in one folder by file name alone: refuses two chosen files of one name before
// anything is written. Throws Failure (NameProblem).
void CheckNames(const std::vector<const ImageFile*>& chosen, const std::string& set) {
    std::map<std::string, std::vector<std::string>> byName;
    for (const ImageFile* f : chosen) byName[f->name].push_back(f->path);
    for (const auto& [name, paths] : byName) {
        if (paths.size() == 1) continue;
        std::string all;
        for (const std::string& p : paths) all += (all.empty() ? "" : ", ") + p;
        throw Failure(ExitCode::NameProblem, "several files are named " + name + " (" + all +
                                                 "), cannot put them in one folder: " + set);
    }
}

// Makes the folder the files go to (DEST, or DEST/VIDEO_TS) and refuses, before anything is
// written, a file that would overwrite a member or join the set. Returns the folder.
std::string PrepareFolder(const Options& options, const MemberSet& set,
                          const std::vector<const ImageFile*>& chosen) {
    const std::string dest = options.videoTs ? options.target + "/VIDEO_TS" : options.target;
    if (const ErrorOr<void> made = MakeFolders(dest); made.isError()) {
        throw Failure(
            ExitCode::WriteFailed,
            "cannot create destination folder " + dest + ": " +
                (made.error().is(EEXIST) ? "a file of that name exists" : made.error().text()));
    }
    for (const ImageFile* f : chosen) RefuseSetAsOutput(set, dest + "/" + f->name);
    return dest;
}

// The bytes the chosen files that can be read add up to.
std::uint64_t TotalSize(const std::vector<const ImageFile*>& chosen) {
    std::uint64_t total = 0;
    for (const ImageFile* f : chosen) {
        if (f->problem.empty()) total += f->size;
    }
    return total;
}

// Writes one file of the image into dest. Throws Failure, BadImage when the image cannot
// give the file.
void ExtractFile(const MemberSet& set, Volume& volume, const ImageFile& file,
                 const std::string& dest, bool flush, Progress& progress) {
    AtomicFile out(dest + "/" + file.name, flush);
    progress.begin(file.name, file.size);
    if (file.plain) {
        CopyExtents(set, file.extents, out, progress);
    } else {
        volume.read(file, [&](const void* data, std::size_t size, std::uint64_t offset) {
            if (data) {
                out.writeAt(data, size, offset);
            } else {
                out.addHole(size);
            }
            progress.advance(size);
        });
    }
    out.commit(file.size);
}

// Extracts the chosen files into dest. A file the image cannot give is reported and left
// out; the others still come out. Any other failure ends the run.
void CopyFiles(const MemberSet& set, Volume& volume, const std::vector<const ImageFile*>& chosen,
               const std::string& dest, bool flush, Omissions& omitted, Progress& progress) {
    for (const ImageFile* f : chosen) {
        if (!f->problem.empty()) {
            omitted.report(ExitCode::BadImage, f->problem + ": " + f->path, &progress);
            continue;
        }
        try {
            ExtractFile(set, volume, *f, dest, flush, progress);
        } catch (const Failure& failure) {
            if (failure.code() != ExitCode::BadImage) throw;
            omitted.report(failure.code(), failure.what(), &progress);
            continue;
        }
        progress.endItem();
    }
}

// The summary, then how the run ends: a failure if anything was left out, and only
// otherwise -r's deletion.
void Report(Progress& progress, const std::string& dest, const Omissions& omitted,
            const Options& options, MemberSet& set) {
    progress.finish(dest);
    omitted.check(options);
    if (options.removeMembers) RemoveMembers(set);
}

// A failure that says nothing about the set or the destination (out of memory, a fault of
// pdixtract's own), in one line of its own. Returns its exit status.
int ReportUnexpected(const Console& console, const std::string& what, const std::string& set) {
    std::fflush(console.out);
    std::fprintf(console.err, "pdixtract: %s\n",
                 base::EscapeForTerminal(what + ": " + set).c_str());
    return static_cast<int>(ExitCode::Unexpected);
}

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
        } else if (a == "--sync") {
            o.flush = true;
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
  pdixtract [--sync] [-r] [-v] -m DEST SET [NAME ...]  extract files into the folder DEST
  pdixtract [--sync] [-r] -i ISO SET                   write the whole image to the file ISO
  pdixtract [--sync] -gb LIST SET                      write the list of files to LIST
  pdixtract --help                                     show this text

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
           nothing but the members, each only if it is still the file that was read;
           a member that is a symbolic link is removed as rm would, never its target.
  --sync   Flush each file to the disk before it takes its name (see below).

Sets:
  A set is one disc image (ISO 9660, with Rock Ridge or Joliet names where the image
  carries them, or UDF alone) stored in member files whose bytes, concatenated in
  order, are the image: NAME.pdi, NAME.1.pdi, NAME.2.pdi, ... (".pdi" in any case).
  Naming any member names the whole set. Members are counted up from NAME.pdi and
  the first missing number ends the set; a missing NAME.pdi is an error. A file not
  ending in .pdi is read alone. Members must be regular files.

Files are written as a temporary file beside their target and take its name only
when complete: a failure, an interruption (Ctrl+C, a closed terminal) or a killed
process never leaves a half-written file behind, and files already completed stay.
The temporary file has no name on Linux (where the file system allows) and is
marked for deletion until complete on Windows; elsewhere it is .NAME.XXXXXXXX.part,
which only a killed process or a power cut can leave. A file whose data the image
holds only in part is not written; blocks of zeros in compressed files are left as
holes. Only a missing target or a regular file is ever replaced. A list file that
may be written where no file may be created beside it (C:\ for a standard Windows
user) is written in place.

Like cp, tar and 7z, pdixtract leaves writing the files to the disk to the system:
a power cut soon after a run can lose the last files, or leave them empty. With
--sync each file is on the disk before it takes its name, so any file found under
its name after a power cut is whole, at some cost in speed.

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
  8  an unexpected failure that says nothing about the set: out of memory, or a
     fault of pdixtract's own

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

void RunList(const Options& options, const Console& console) {
    if (options.target.empty()) UsageError("no list file named: the LIST argument is empty");
    MemberSet set = MemberSet::open(options.set);
    std::unique_ptr<Volume> volume = OpenVolume(set, options.set);
    Omissions omitted(console);
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
    RefuseSetAsOutput(set, options.target);
    AtomicFile out(options.target, options.flush, WithoutTemporary::WriteInPlace);
    out.writeAt(text.data(), text.size(), 0);
    out.commit(text.size());
    for (const std::string& p : flagged) {
        std::fprintf(console.err,
                     "pdixtract: name has a blank or comma, listed in double quotes: %s\n",
                     base::EscapeForTerminal(p).c_str());
    }
    for (const std::string& p : dropped) {
        std::fprintf(console.err, "pdixtract: name cannot be listed, left out: %s\n",
                     base::EscapeForTerminal(p).c_str());
    }
    std::fprintf(console.out, "Listed %zu files: %s\n", listed - dropped.size(),
                 base::EscapeForTerminal(options.target).c_str());
    omitted.check(options);
}

void RunExtract(const Options& options, const Console& console) {
    if (options.target.empty()) {
        UsageError("no destination folder named: the DEST argument is empty");
    }
    MemberSet set = MemberSet::open(options.set);
    std::unique_ptr<Volume> volume = OpenVolume(set, options.set);
    Omissions omitted(console);
    if (options.names.empty()) omitted.reportAll(*volume);
    const std::vector<const ImageFile*> chosen = ChooseFiles(volume->files(), options);
    CheckNames(chosen, options.set);
    const std::string dest = PrepareFolder(options, set, chosen);
    Progress progress(console, "Extracted", "Extracting", BaseName(options.set), TotalSize(chosen));
    CopyFiles(set, *volume, chosen, dest, options.flush, omitted, progress);
    Report(progress, dest, omitted, options, set);
}

void RunConvert(const Options& options, const Console& console) {
    if (options.target.empty()) UsageError("no ISO file named: the ISO argument is empty");
    MemberSet set = MemberSet::open(options.set);
    RefuseSetAsOutput(set, options.target);
    Progress progress(console, "Converted", "Converting", BaseName(options.set), set.size(), false);
    {
        AtomicFile out(options.target, options.flush);
        progress.begin(BaseName(options.target), set.size());
        CopyExtents(set, {{0, set.size()}}, out, progress);
        out.commit(set.size());
        progress.endItem();
    }
    progress.finish(options.target);
    if (options.removeMembers) RemoveMembers(set);
}

int Run(const Options& options, const Console& console) {
    try {
        switch (options.mode) {
            case Options::Mode::Help:
                std::fputs(UsageText().c_str(), console.out);
                return 0;
            case Options::Mode::Extract:
                RunExtract(options, console);
                break;
            case Options::Mode::Convert:
                RunConvert(options, console);
                break;
            case Options::Mode::List:
                RunList(options, console);
                break;
            case Options::Mode::None:
                UsageError("no command given");
        }
        return 0;
    } catch (const Failure& failure) {
        std::fflush(console.out);
        std::fprintf(console.err, "pdixtract: %s\n",
                     base::EscapeForTerminal(failure.what()).c_str());
        return static_cast<int>(failure.code());
    } catch (const std::bad_alloc&) {
        return ReportUnexpected(console, "out of memory", options.set);
    } catch (const std::exception& e) {
        // Nothing an image or the file system does ends up here: a fault of pdixtract's own.
        return ReportUnexpected(console, std::string("unexpected failure (") + e.what() + ")",
                                options.set);
    }
}

}  // namespace pdixtract

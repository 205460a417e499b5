// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdixtract/member_set.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <map>
#include <utility>

#include "base/disc_image.h"
#include "pdixtract/errors.h"

namespace pdixtract {

namespace {

// Members kept open once the set is opened; as they are read, up to m_cap stay open,
// a quarter of what the process may open, so the files written find descriptors too.
constexpr std::size_t kOpenAtFirst = 4;
constexpr std::size_t kMostOpen = 16;

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = LastSeparator(path);
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// An ISO 9660 image has its first volume descriptor at the same place in every image.
bool StartsAnImage(const std::string& path) {
    ErrorOr<InputFile> file = InputFile::open(path);
    if (file.isError()) return false;
    const std::string_view identifier = base::kIso9660Identifier;
    std::string found(identifier.size(), '\0');
    const ErrorOr<std::size_t> read = file.value().readAt(
        found.data(), found.size(), base::kDescriptorsOffset + base::kIdentifierOffset);
    return !read.isError() && found == identifier;
}

[[noreturn]] void NotRegular(const std::string& path) {
    throw Failure(ExitCode::SetMissing, "set member is not a regular file: " + path);
}

// The members of the set name describes, present in its folder, by index.
std::map<unsigned, std::string> FindMembers(const MemberName& name) {
    const std::string dir = FolderOf(name.dirAndStem);
    std::map<unsigned, std::string> found;
    const ErrorOr<std::vector<std::string>> entries = FolderEntries(dir);
    if (entries.isError()) return found;
    for (const std::string& entry : entries.value()) {
        const std::optional<MemberName> n = ParseMemberName(dir + entry);
        if (!n || n->dirAndStem != name.dirAndStem) continue;
        // Two spellings of one index: the one spelled like the named member wins.
        auto [it, fresh] = found.emplace(n->index, dir + entry);
        if (!fresh && n->ext == name.ext) it->second = dir + entry;
    }
    return found;
}

}  // namespace

std::optional<MemberName> ParseMemberName(const std::string& path) {
    if (path.size() < 4 || Lower(path.substr(path.size() - 4)) != ".pdi") return std::nullopt;
    MemberName name;
    name.ext = path.substr(path.size() - 4);
    const std::string rest = path.substr(0, path.size() - 4);
    name.dirAndStem = rest;
    const std::size_t dot = rest.rfind('.');
    const std::size_t slash = LastSeparator(rest);
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return name;
    const std::string digits = rest.substr(dot + 1);
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return name;
    // "disc.0.pdi" is never a member name, so it is a set called "disc.0".
    const unsigned index = static_cast<unsigned>(std::stoul(digits));
    if (index == 0) return name;
    name.dirAndStem = rest.substr(0, dot);
    name.index = index;
    return name;
}

MemberSet MemberSet::open(const std::string& namedMember) {
    if (namedMember.empty())
        throw Failure(ExitCode::Usage, "no set named: the SET argument is empty");
    const FileKind kind = LookAt(namedMember).kind;
    if (kind == FileKind::Missing) {
        throw Failure(ExitCode::SetMissing, "cannot find set member: " + namedMember,
                      Error::fromErrno(ENOENT));
    }
    MemberSet set;
    std::vector<std::string> paths;
    if (std::optional<MemberName> name = ParseMemberName(namedMember); !name) {
        // Not named like a member: read the file alone as a plain image.
        paths.push_back(namedMember);
    } else {
        set.m_name = *name;
        if (kind != FileKind::Regular && kind != FileKind::Symlink) NotRegular(namedMember);
        std::map<unsigned, std::string> found = FindMembers(set.m_name);
        if (set.m_name.index > 0 && !found.count(0)) {
            // "movie.2005.pdi" may be a set of its own rather than member 2005 of "movie".
            if (!StartsAnImage(namedMember)) {
                throw Failure(ExitCode::SetMissing, "first member of the set is missing: " +
                                                        set.m_name.dirAndStem + set.m_name.ext);
            }
            set.m_name.dirAndStem = namedMember.substr(0, namedMember.size() - 4);
            set.m_name.index = 0;
            found = FindMembers(set.m_name);
            found[0] = namedMember;
        }
        for (unsigned i = 0; found.count(i); ++i) paths.push_back(found[i]);
        if (set.m_name.index >= paths.size()) {
            throw Failure(ExitCode::SetMissing, "set member " + namedMember +
                                                    " lies beyond a gap: member " +
                                                    std::to_string(paths.size()) + " is missing");
        }
        set.m_named = true;
    }

    set.m_cap = std::clamp<std::size_t>(OpenFileLimit() / 4, 1, kMostOpen);
    const std::string first = FolderOf(paths.front());
    // All members share the named member's folder.
    const FileId folder = LookAt(first.empty() ? "." : first + ".").id;
    for (const std::string& path : paths) {
        ErrorOr<InputFile> file = InputFile::open(path);
        if (file.isError() && file.error().is(EINVAL)) NotRegular(path);
        if (file.isError()) {
            throw Failure(ExitCode::SetMissing, "cannot open set member: " + path, file.error());
        }
        const Member member{path, file.value().id(), folder, file.value().size(), set.m_size};
        set.m_size += member.size;
        set.m_members.push_back(member);
        set.m_files.push_back(file.releaseValue());
        set.m_open.push_back(set.m_members.size() - 1);
        if (set.m_open.size() > std::min(kOpenAtFirst, set.m_cap)) set.evict();
    }
    return set;
}

void MemberSet::close() {
    for (InputFile& file : m_files) file.close();
    m_open.clear();
}

void MemberSet::evict() const {
    m_files[m_open.front()].close();
    m_open.erase(m_open.begin());
}

const InputFile& MemberSet::file(std::size_t i) const {
    auto at = std::find(m_open.begin(), m_open.end(), i);
    if (at != m_open.end()) {
        m_open.erase(at);
        m_open.push_back(i);
        return m_files[i];
    }
    const Member& m = m_members[i];
    ErrorOr<InputFile> opened = InputFile::open(m.path);
    // Out of descriptors: keep half as many members open from now on, so that the files
    // written find descriptors too, and try again.
    if (opened.isError() && opened.error().is(EMFILE) && !m_open.empty()) {
        m_cap = std::max<std::size_t>(1, m_open.size() / 2);
        while (m_open.size() >= m_cap) evict();
        opened = InputFile::open(m.path);
    }
    if (opened.isError()) {
        throw Failure(ExitCode::SetMissing, "cannot open set member: " + m.path, opened.error());
    }
    if (opened.value().id() != m.id || opened.value().size() < m.size) {
        throw Failure(ExitCode::BadImage,
                      "set member was replaced or cut while reading: " + m.path);
    }
    if (m_open.size() >= m_cap) evict();
    m_files[i] = opened.releaseValue();
    m_open.push_back(i);
    return m_files[i];
}

bool MemberSet::wouldTouch(const std::string& target) const {
    // Only a file in a member's folder can be a member: look at the target only there.
    const std::string targetFolder = FolderOf(target);
    const std::string dir = targetFolder.empty() ? "." : targetFolder + ".";
    if (dir != m_lastDir) {
        const FileId id = LookAt(dir).id;
        m_lastDir = dir;
        m_lastDirHoldsMember = std::any_of(m_members.begin(), m_members.end(),
                                           [&](const Member& m) { return m.folder == id; });
    }
    if (m_lastDirHoldsMember) {
        const FileStatus status = LookAt(target);
        if (status.kind == FileKind::Regular) {
            for (const Member& m : m_members) {
                if (m.id == status.id) return true;
            }
        }
    }
    // A file named like a further member would join the set the next time it is read.
    if (!m_named) return false;
    const std::optional<MemberName> n = ParseMemberName(target);
    if (!n) return false;
    auto folder = [](const std::string& p) {
        const std::size_t slash = LastSeparator(p);
        const std::string dir = slash == std::string::npos ? "." : p.substr(0, slash + 1);
        return std::make_pair(LookAt(dir + "/.").id,
                              slash == std::string::npos ? p : p.substr(slash + 1));
    };
    return n->index > 0 && folder(n->dirAndStem) == folder(m_name.dirAndStem);
}

std::size_t MemberSet::memberAt(std::uint64_t offset) const {
    auto it = std::upper_bound(m_members.begin(), m_members.end(), offset,
                               [](std::uint64_t off, const Member& m) { return off < m.start; });
    return static_cast<std::size_t>(it - m_members.begin()) - 1;
}

std::size_t MemberSet::readAt(std::uint64_t offset, void* buffer, std::size_t length) const {
    if (offset >= m_size || length == 0) return 0;
    length = static_cast<std::size_t>(std::min<std::uint64_t>(length, m_size - offset));
    char* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    std::size_t i = memberAt(offset);
    while (done < length) {
        const Member& m = m_members[i];
        const std::uint64_t inMember = offset + done - m.start;
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(length - done, m.size - inMember));
        if (want == 0) {  // an empty member adds nothing to the image
            ++i;
            continue;
        }
        const ErrorOr<std::size_t> n = file(i).readAt(out + done, want, inMember);
        if (n.isError()) {
            throw Failure(ExitCode::BadImage, "cannot read set member: " + m.path, n.error());
        }
        if (n.value() == 0) {
            throw Failure(ExitCode::BadImage, "set member shrank while reading: " + m.path);
        }
        done += n.value();
        if (n.value() == want && inMember + want == m.size) ++i;
    }
    return done;
}

}  // namespace pdixtract

// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdixtract/member_set.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
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

// An ISO 9660 image has its first volume descriptor at the same place in every image.
bool StartsAnImage(const std::string& path) {
    FileId id;
    std::uint64_t size = 0;
    int err = 0;
    FileHandle f = OpenInput(path, id, size, err);
    if (f == kNoFile) return false;
    const std::string_view identifier = base::kIso9660Identifier;
    char found[8] = {};
    bool yes =
        ReadInput(f, found, identifier.size(), base::kDescriptorsOffset + base::kIdentifierOffset,
                  err) == static_cast<std::int64_t>(identifier.size()) &&
        identifier == std::string_view(found, identifier.size());
    CloseInput(f);
    return yes;
}

[[noreturn]] void NotRegular(const std::string& path) {
    throw Error(ExitCode::SetMissing, "set member is not a regular file: " + path);
}

// The members of the set name describes, present in its folder, by index.
std::map<unsigned, std::string> FindMembers(const MemberName& name) {
    std::size_t slash = LastSeparator(name.dirAndStem);
    std::string dir = slash == std::string::npos ? "" : name.dirAndStem.substr(0, slash + 1);
    std::map<unsigned, std::string> found;
    for (const std::string& entry : FolderEntries(dir)) {
        MemberName n;
        if (!ParseMemberName(dir + entry, n) || n.dirAndStem != name.dirAndStem) continue;
        // Two spellings of one index: the one spelled like the named member wins.
        auto [it, fresh] = found.emplace(n.index, dir + entry);
        if (!fresh && n.ext == name.ext) it->second = dir + entry;
    }
    return found;
}

}  // namespace

bool ParseMemberName(const std::string& path, MemberName& out) {
    if (path.size() < 4 || Lower(path.substr(path.size() - 4)) != ".pdi") return false;
    out.ext = path.substr(path.size() - 4);
    std::string rest = path.substr(0, path.size() - 4);
    out.index = 0;
    out.dirAndStem = rest;
    std::size_t dot = rest.rfind('.');
    std::size_t slash = LastSeparator(rest);
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return true;
    std::string digits = rest.substr(dot + 1);
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return true;
    // "disc.0.pdi" is never a member name, so it is a set called "disc.0".
    unsigned index = static_cast<unsigned>(std::stoul(digits));
    if (index == 0) return true;
    out.dirAndStem = rest.substr(0, dot);
    out.index = index;
    return true;
}

MemberSet MemberSet::open(const std::string& namedMember) {
    if (namedMember.empty())
        throw Error(ExitCode::Usage, "no set named: the SET argument is empty");
    FileKind kind = LookAt(namedMember);
    if (kind == FileKind::Missing) {
        throw Error(ExitCode::SetMissing,
                    WithErrno("cannot find set member: " + namedMember, ENOENT));
    }
    MemberSet set;
    std::vector<std::string> paths;
    if (!ParseMemberName(namedMember, set.m_name)) {
        // Not named like a member: read the file alone as a plain image.
        paths.push_back(namedMember);
    } else {
        if (kind != FileKind::Regular && kind != FileKind::Symlink) NotRegular(namedMember);
        std::map<unsigned, std::string> found = FindMembers(set.m_name);
        if (set.m_name.index > 0 && !found.count(0)) {
            // "movie.2005.pdi" may be a set of its own rather than member 2005 of "movie".
            if (!StartsAnImage(namedMember)) {
                throw Error(ExitCode::SetMissing, "first member of the set is missing: " +
                                                      set.m_name.dirAndStem + set.m_name.ext);
            }
            set.m_name.dirAndStem = namedMember.substr(0, namedMember.size() - 4);
            set.m_name.index = 0;
            found = FindMembers(set.m_name);
            found[0] = namedMember;
        }
        for (unsigned i = 0; found.count(i); ++i) paths.push_back(found[i]);
        if (set.m_name.index >= paths.size()) {
            throw Error(ExitCode::SetMissing, "set member " + namedMember +
                                                  " lies beyond a gap: member " +
                                                  std::to_string(paths.size()) + " is missing");
        }
        set.m_named = true;
    }

    set.m_cap = std::clamp<std::size_t>(OpenFileLimit() / 4, 1, kMostOpen);
    FileId folder;
    std::size_t slash = LastSeparator(paths.front());
    LookAt(slash == std::string::npos ? "." : paths.front().substr(0, slash + 1) + ".", &folder);
    for (const std::string& p : paths) {
        Member m;
        m.path = p;
        m.folder = folder;  // all members share the named member's folder
        int err = 0;
        FileHandle f = OpenInput(p, m.id, m.size, err);
        if (f == kNoFile && err == EINVAL) NotRegular(p);
        if (f == kNoFile) {
            throw Error(ExitCode::SetMissing, WithErrno("cannot open set member: " + p, err));
        }
        m.start = set.m_size;
        set.m_size += m.size;
        set.m_members.push_back(std::move(m));
        set.m_handles.push_back(f);
        set.m_open.push_back(set.m_members.size() - 1);
        if (set.m_open.size() > std::min(kOpenAtFirst, set.m_cap)) set.evict();
    }
    return set;
}

MemberSet::MemberSet(MemberSet&& other) noexcept {
    *this = std::move(other);
}

MemberSet& MemberSet::operator=(MemberSet&& other) noexcept {
    if (this != &other) {
        close();
        m_members = std::exchange(other.m_members, {});
        m_size = std::exchange(other.m_size, 0);
        m_name = other.m_name;
        m_named = other.m_named;
        m_handles = std::exchange(other.m_handles, {});
        m_open = std::exchange(other.m_open, {});
        m_cap = other.m_cap;
    }
    return *this;
}

MemberSet::~MemberSet() {
    close();
}

void MemberSet::close() {
    for (FileHandle& f : m_handles) {
        CloseInput(f);
        f = kNoFile;
    }
    m_open.clear();
}

void MemberSet::evict() const {
    CloseInput(m_handles[m_open.front()]);
    m_handles[m_open.front()] = kNoFile;
    m_open.erase(m_open.begin());
}

FileHandle MemberSet::handle(std::size_t i) const {
    auto at = std::find(m_open.begin(), m_open.end(), i);
    if (at != m_open.end()) {
        m_open.erase(at);
        m_open.push_back(i);
        return m_handles[i];
    }
    const Member& m = m_members[i];
    FileId id;
    std::uint64_t size = 0;
    int err = 0;
    FileHandle f = OpenInput(m.path, id, size, err);
    // Out of descriptors: keep half as many members open from now on, so that the files
    // written find descriptors too, and try again.
    if (f == kNoFile && err == EMFILE && !m_open.empty()) {
        m_cap = std::max<std::size_t>(1, m_open.size() / 2);
        while (m_open.size() >= m_cap) evict();
        f = OpenInput(m.path, id, size, err);
    }
    if (f == kNoFile) {
        throw Error(ExitCode::SetMissing, WithErrno("cannot open set member: " + m.path, err));
    }
    if (id != m.id || size < m.size) {
        CloseInput(f);
        throw Error(ExitCode::BadImage, "set member was replaced or cut while reading: " + m.path);
    }
    if (m_open.size() >= m_cap) evict();
    m_handles[i] = f;
    m_open.push_back(i);
    return f;
}

bool MemberSet::wouldTouch(const std::string& target) const {
    // Only a file in a member's folder can be a member: look at the target only there.
    std::size_t slash = LastSeparator(target);
    std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1) + ".";
    if (dir != m_lastDir) {
        FileId id;
        LookAt(dir, &id);
        m_lastDir = dir;
        m_lastDirHoldsMember = std::any_of(m_members.begin(), m_members.end(),
                                           [&](const Member& m) { return m.folder == id; });
    }
    FileId id;
    if (m_lastDirHoldsMember && LookAt(target, &id) == FileKind::Regular) {
        for (const Member& m : m_members) {
            if (m.id == id) return true;
        }
    }
    // A file named like a further member would join the set the next time it is read.
    MemberName n;
    if (!m_named || !ParseMemberName(target, n)) return false;
    auto folder = [](const std::string& p) {
        std::size_t slash = LastSeparator(p);
        std::string dir = slash == std::string::npos ? "." : p.substr(0, slash + 1);
        FileId id;
        LookAt(dir + "/.", &id);
        return std::make_pair(id, slash == std::string::npos ? p : p.substr(slash + 1));
    };
    return n.index > 0 && folder(n.dirAndStem) == folder(m_name.dirAndStem);
}

std::size_t MemberSet::memberAt(std::uint64_t offset) const {
    auto it = std::upper_bound(m_members.begin(), m_members.end(), offset,
                               [](std::uint64_t off, const Member& m) { return off < m.start; });
    return static_cast<std::size_t>(it - m_members.begin()) - 1;
}

std::size_t MemberSet::readAt(std::uint64_t offset, void* buf, std::size_t len) const {
    if (offset >= m_size || len == 0) return 0;
    len = static_cast<std::size_t>(std::min<std::uint64_t>(len, m_size - offset));
    char* out = static_cast<char*>(buf);
    std::size_t done = 0;
    std::size_t i = memberAt(offset);
    while (done < len) {
        const Member& m = m_members[i];
        std::uint64_t inMember = offset + done - m.start;
        std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(len - done, m.size - inMember));
        if (want == 0) {  // an empty member adds nothing to the image
            ++i;
            continue;
        }
        int err = 0;
        std::int64_t n = ReadInput(handle(i), out + done, want, inMember, err);
        if (n < 0) {
            throw Error(ExitCode::BadImage, WithErrno("cannot read set member: " + m.path, err));
        }
        if (n == 0) throw Error(ExitCode::BadImage, "set member shrank while reading: " + m.path);
        done += static_cast<std::size_t>(n);
        if (static_cast<std::uint64_t>(n) == want && inMember + want == m.size) ++i;
    }
    return done;
}

std::string WithErrno(const std::string& message, int errnum) {
    return message + ": " + ErrorText(errnum);
}

}  // namespace pdixtract

#include "member_set.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "errors.h"

namespace pdix {

namespace {

bool ends_with_pdi(const std::string& s) {
    if (s.size() < 4) return false;
    std::string tail = s.substr(s.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".pdi";
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// The ISO 9660 volume descriptor magic sits at byte 32769 of every image.
bool starts_an_image(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char magic[5] = {};
    ssize_t n = ::pread(fd, magic, sizeof magic, 32769);
    ::close(fd);
    return n == 5 && std::memcmp(magic, "CD001", 5) == 0;
}

}  // namespace

bool parse_member_name(const std::string& path, MemberName& out) {
    if (!ends_with_pdi(path)) return false;
    out.ext = path.substr(path.size() - 4);
    std::string rest = path.substr(0, path.size() - 4);
    out.index = 0;
    out.dir_and_stem = rest;
    std::size_t dot = rest.rfind('.');
    std::size_t slash = rest.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return true;
    std::string digits = rest.substr(dot + 1);
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return true;
    // "disc.0.pdi" is never a member name, so it is a set called "disc.0".
    unsigned index = static_cast<unsigned>(std::stoul(digits));
    if (index == 0) return true;
    out.dir_and_stem = rest.substr(0, dot);
    out.index = index;
    return true;
}

std::string member_path(const MemberName& name, unsigned index) {
    if (index == 0) return name.dir_and_stem + name.ext;
    return name.dir_and_stem + "." + std::to_string(index) + name.ext;
}

MemberSet MemberSet::open(const std::string& named_member) {
    if (named_member.empty())
        throw Error(ExitCode::usage, "no set named: the SET argument is empty");
    std::vector<std::string> paths;
    MemberName name;
    if (!parse_member_name(named_member, name)) {
        // Not named like a member: read the file alone as a plain image.
        paths.push_back(named_member);
    } else {
        if (!exists(named_member)) {
            throw Error(ExitCode::set_missing,
                        with_errno("cannot find set member: " + named_member, ENOENT));
        }
        if (name.index > 0 && !exists(member_path(name, 0))) {
            // "movie.2005.pdi" may be a set of its own rather than member 2005 of "movie".
            if (!starts_an_image(named_member)) {
                throw Error(ExitCode::set_missing,
                            "first member of the set is missing: " + member_path(name, 0));
            }
            name.dir_and_stem = named_member.substr(0, named_member.size() - 4);
            name.index = 0;
        }
        for (unsigned i = 0;; ++i) {
            std::string p = member_path(name, i);
            if (!exists(p)) break;
            paths.push_back(p);
        }
        if (name.index >= paths.size()) {
            throw Error(ExitCode::set_missing,
                        "set member " + named_member + " lies beyond a gap: " +
                            member_path(name, static_cast<unsigned>(paths.size())) + " is missing");
        }
    }

    MemberSet set;
    for (const std::string& p : paths) {
        Member m;
        m.path = p;
        m.fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
        if (m.fd < 0) {
            int err = errno;
            throw Error(ExitCode::set_missing, with_errno("cannot open set member: " + p, err));
        }
        struct stat st {};
        if (::fstat(m.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(m.fd);
            throw Error(ExitCode::set_missing, "set member is not a regular file: " + p);
        }
        ::posix_fadvise(m.fd, 0, 0, POSIX_FADV_SEQUENTIAL);
        m.size = static_cast<std::uint64_t>(st.st_size);
        m.start = set.m_size;
        set.m_size += m.size;
        set.m_members.push_back(std::move(m));
    }
    return set;
}

MemberSet::MemberSet(MemberSet&& other) noexcept
    : m_members(std::exchange(other.m_members, {})), m_size(std::exchange(other.m_size, 0)) {}

MemberSet& MemberSet::operator=(MemberSet&& other) noexcept {
    if (this != &other) {
        close();
        m_members = std::exchange(other.m_members, {});
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

MemberSet::~MemberSet() {
    close();
}

void MemberSet::close() {
    for (Member& m : m_members) {
        if (m.fd >= 0) ::close(m.fd);
        m.fd = -1;
    }
}

std::size_t MemberSet::member_at(std::uint64_t offset) const {
    auto it = std::upper_bound(m_members.begin(), m_members.end(), offset,
                               [](std::uint64_t off, const Member& m) { return off < m.start; });
    return static_cast<std::size_t>(it - m_members.begin()) - 1;
}

std::size_t MemberSet::read_at(std::uint64_t offset, void* buf, std::size_t len) const {
    if (offset >= m_size || len == 0) return 0;
    len = static_cast<std::size_t>(std::min<std::uint64_t>(len, m_size - offset));
    char* out = static_cast<char*>(buf);
    std::size_t done = 0;
    std::size_t i = member_at(offset);
    while (done < len) {
        const Member& m = m_members[i];
        std::uint64_t in_member = offset + done - m.start;
        std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(len - done, m.size - in_member));
        if (want == 0) {  // an empty member adds nothing to the image
            ++i;
            continue;
        }
        ssize_t n = ::pread(m.fd, out + done, want, static_cast<off_t>(in_member));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw Error(ExitCode::bad_image,
                        with_errno("cannot read set member: " + m.path, errno));
        }
        if (n == 0) throw Error(ExitCode::bad_image, "set member shrank while reading: " + m.path);
        done += static_cast<std::size_t>(n);
        if (static_cast<std::uint64_t>(n) == want && in_member + want == m.size) ++i;
    }
    return done;
}

std::string with_errno(const std::string& message, int errnum) {
    return message + ": " + std::strerror(errnum);
}

}  // namespace pdix

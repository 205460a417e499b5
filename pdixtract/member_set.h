#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pdix {

// One member file of a set and where its bytes sit in the image.
struct Member {
    std::string path;
    int fd = -1;
    std::uint64_t size = 0;
    std::uint64_t start = 0;  // offset of its first byte in the image
};

// How a member's file name splits: DIR/STEM.pdi is index 0, DIR/STEM.N.pdi is index N.
struct MemberName {
    std::string dir_and_stem;  // everything before ".pdi" or ".N.pdi"
    std::string ext;           // ".pdi" as spelled in the given name
    unsigned index = 0;
};

// Splits path by the set naming convention; false if it does not end in ".pdi" (any case).
bool parse_member_name(const std::string& path, MemberName& out);

// Builds the path of member index of the set described by name.
std::string member_path(const MemberName& name, unsigned index);

// The members of one set, open for reading, presented as one image of size() bytes.
class MemberSet {
public:
    // Finds the set that the file named_member belongs to and opens all its members.
    // Throws Error (set_missing) when the first member is missing or a member cannot be opened.
    static MemberSet open(const std::string& named_member);

    MemberSet() = default;
    MemberSet(MemberSet&& other) noexcept;
    MemberSet& operator=(MemberSet&& other) noexcept;
    MemberSet(const MemberSet&) = delete;
    MemberSet& operator=(const MemberSet&) = delete;
    ~MemberSet();

    // Total image size: the members' sizes added up.
    std::uint64_t size() const { return m_size; }

    // The members in image order.
    const std::vector<Member>& members() const { return m_members; }

    // Reads up to len bytes at image offset; returns fewer only at the end of the image.
    // Throws Error (bad_image) on a read error or a member that shrank since it was opened.
    std::size_t read_at(std::uint64_t offset, void* buf, std::size_t len) const;

    // Index of the member holding image offset (offset < size()).
    std::size_t member_at(std::uint64_t offset) const;

    // Closes every member file; members() stays valid for naming them.
    void close();

private:
    std::vector<Member> m_members;
    std::uint64_t m_size = 0;
};

}  // namespace pdix

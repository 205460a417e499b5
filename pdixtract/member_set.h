// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pdixtract/file_io.h"

namespace pdixtract {

// One member file of a set and where its bytes sit in the image.
struct Member {
    std::string path;
    FileId id;      // the file that was read, so -r deletes nothing else
    FileId folder;  // the folder it lies in
    std::uint64_t size = 0;
    std::uint64_t start = 0;  // offset of its first byte in the image
};

// How a member's file name splits: DIR/STEM.pdi is index 0, DIR/STEM.N.pdi is index N.
struct MemberName {
    std::string dirAndStem;  // everything before ".pdi" or ".N.pdi"
    std::string ext;         // ".pdi" as spelled in the given name
    unsigned index = 0;
};

// Splits path by the set naming convention; nothing if it does not end in ".pdi" (any case).
std::optional<MemberName> ParseMemberName(const std::string& path);

// The members of one set presented as one image of size() bytes. Members are opened as
// they are needed, so a set may have more members than the process may open files.
class MemberSet {
public:
    // Finds the set that the file namedMember belongs to: members are counted up from
    // index 0 with the ".pdi" of any case. Throws Failure (SetMissing) when the first member
    // is missing, a member is not a regular file or cannot be opened.
    static MemberSet open(const std::string& namedMember);

    MemberSet() = default;
    MemberSet(MemberSet&&) = default;
    MemberSet& operator=(MemberSet&&) = default;

    // Total image size: the members' sizes added up.
    std::uint64_t size() const { return m_size; }

    // The members in image order.
    const std::vector<Member>& members() const { return m_members; }

    // Reads up to len bytes at image offset; returns fewer only at the end of the image.
    // Throws Failure (BadImage) on a read error or a member that shrank or was replaced.
    std::size_t readAt(std::uint64_t offset, void* buffer, std::size_t length) const;

    // Index of the member holding image offset (offset < size()).
    std::size_t memberAt(std::uint64_t offset) const;

    // The open member i, opened now if need be. Throws Failure as readAt.
    const InputFile& file(std::size_t i) const;

    // True if target names a file the set reads or would read: one of its members, or a
    // further member that would join the set.
    bool wouldTouch(const std::string& target) const;

    // Closes every member file; members() stays valid for naming them.
    void close();

private:
    void evict() const;  // closes the least recently used member

    std::vector<Member> m_members;
    std::uint64_t m_size = 0;
    MemberName m_name;  // the members' naming, when the set has .pdi names
    bool m_named = false;
    mutable std::vector<InputFile> m_files;
    mutable std::vector<std::size_t> m_open;  // indices of the open files, least recent first
    mutable std::size_t m_cap = 16;           // at most this many open at once
    mutable std::string m_lastDir;            // the folder wouldTouch looked at last
    mutable bool m_lastDirHoldsMember = false;
};

}  // namespace pdixtract

// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of AtomicFile that need no system call; the rest lives in the platform files.
#include <cstdio>
#include <random>

#include "pdixtract/atomic_file.h"
#include "pdixtract/errors.h"

namespace pdixtract {

namespace {

constexpr std::size_t kNameMax = 255;

// Cuts text to at most max bytes without splitting a UTF-8 character; as many UTF-16 units
// never exceed the bytes, the name then fits in a folder entry on Windows too.
std::string CutUtf8(const std::string& text, std::size_t max) {
    if (text.size() <= max) return text;
    while (max > 0 && (static_cast<unsigned char>(text[max]) & 0xC0) == 0x80) --max;
    return text.substr(0, max);
}

}  // namespace

std::string AtomicFile::nextTemporaryName() const {
    static unsigned serial = std::random_device()();
    std::size_t slash = LastSeparator(m_target);
    std::string dir = slash == std::string::npos ? std::string() : m_target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? m_target : m_target.substr(slash + 1);
    // ".NAME.XXXXXXXX.part" must fit in a folder entry even when NAME already fills one.
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", serial++);
    return dir + "." + CutUtf8(base, kNameMax - 15) + "." + suffix + ".part";
}

void AtomicFile::refuseOddTarget() const {
    FileKind kind = LookAt(m_target);
    if (kind != FileKind::Missing && kind != FileKind::Regular) {
        throw Error(ExitCode::WriteFailed,
                    "will not replace something that is not a regular file: " + m_target);
    }
}

void AtomicFile::fail(int errnum) const {
    throw Error(ExitCode::WriteFailed, WithErrno("cannot write " + m_target, errnum));
}

void AtomicFile::checkComplete(std::uint64_t size) const {
    if (m_written != size) {
        throw Error(ExitCode::BadImage, "the image holds only " + std::to_string(m_written) +
                                            " of the file's " + std::to_string(size) +
                                            " bytes, not written: " + m_target);
    }
}

}  // namespace pdixtract

// SPDX-License-Identifier: GPL-3.0-or-later
// AtomicFile's logic; the system calls it makes are the platform files'.
#include "pdixtract/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>
#include <utility>

#include "pdixtract/errors.h"
#include "pdixtract/signals.h"

namespace pdixtract {

namespace {

constexpr std::size_t kNameMax = 255;
// Copying by hand: a buffer that stays in the processor's cache is fastest.
constexpr std::size_t kBufferSize = 1u << 20;

// Cuts text to at most max bytes without splitting a UTF-8 character; as many UTF-16 units
// never exceed the bytes, the name then fits in a folder entry on Windows too.
std::string CutUtf8(const std::string& text, std::size_t max) {
    if (text.size() <= max) return text;
    while (max > 0 && (static_cast<unsigned char>(text[max]) & 0xC0) == 0x80) --max;
    return text.substr(0, max);
}

}  // namespace

AtomicFile::AtomicFile(std::string target, WithoutTemporary without) : m_target(std::move(target)) {
    refuseOddTarget();
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_temp = nextTemporaryName();
        // Registered first, so an interruption just after the file is made still removes it.
        m_slot = RegisterTemporary(m_temp);
        const ErrorOr<FileHandle> created = createNew(m_temp);
        if (!created.isError()) {
            m_out = created.value();
            return;
        }
        ForgetTemporary(std::exchange(m_slot, -1));
        if (!created.error().is(EEXIST)) {
            m_temp.clear();
            if (without == WithoutTemporary::WriteInPlace &&
                LookAt(m_target).kind == FileKind::Regular) {
                const ErrorOr<FileHandle> opened = openToRewrite(m_target);
                if (!opened.isError()) {
                    m_out = opened.value();
                    return;
                }
            }
            fail(created.error());
        }
    }
    m_temp.clear();
    fail(Error::fromErrno(EEXIST));
}

AtomicFile::~AtomicFile() {
    if (m_out != kNoFile) closeDropped();
    if (!m_temp.empty()) removeFile(m_temp);
    ForgetTemporary(m_slot);
}

std::string AtomicFile::nextTemporaryName() const {
    static unsigned serial = std::random_device()();
    const std::size_t slash = LastSeparator(m_target);
    const std::string dir =
        slash == std::string::npos ? std::string() : m_target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? m_target : m_target.substr(slash + 1);
    // ".NAME.XXXXXXXX.part" must fit in a folder entry even when NAME already fills one.
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", serial++);
    return dir + "." + CutUtf8(name, kNameMax - 15) + "." + suffix + ".part";
}

void AtomicFile::refuseOddTarget() const {
    const FileKind kind = LookAt(m_target).kind;
    if (kind != FileKind::Missing && kind != FileKind::Regular) {
        throw Failure(ExitCode::WriteFailed,
                      "will not replace something that is not a regular file: " + m_target);
    }
}

void AtomicFile::fail(const Error& reason) const {
    throw Failure(ExitCode::WriteFailed, "cannot write " + m_target, reason);
}

void AtomicFile::checkComplete(std::uint64_t size) const {
    if (m_written != size) {
        throw Failure(ExitCode::BadImage, "the image holds only " + std::to_string(m_written) +
                                              " of the file's " + std::to_string(size) +
                                              " bytes, not written: " + m_target);
    }
}

void AtomicFile::writeAt(const void* data, std::size_t size, std::uint64_t offset) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ErrorOr<std::size_t> written = writeSome(p, size, offset);
        if (written.isError()) fail(written.error());
        const std::size_t n = written.value();
        if (n == 0) fail(Error::fromErrno(ENOSPC));
        p += n;
        size -= n;
        offset += n;
        m_written += n;
    }
}

std::uint64_t AtomicFile::copyFrom(const InputFile& in, const std::string& inName,
                                   std::uint64_t inOffset, std::uint64_t offset,
                                   std::uint64_t length) {
    const ErrorOr<std::optional<std::uint64_t>> copied = copyInKernel(in, inOffset, offset, length);
    if (copied.isError() && copied.error().is(EIO)) {
        throw Failure(ExitCode::BadImage, "cannot read set member: " + inName, copied.error());
    }
    if (copied.isError()) fail(copied.error());
    if (const std::optional<std::uint64_t> n = copied.value()) {
        m_written += *n;
        return *n;
    }
    if (!m_buffer) m_buffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
    const ErrorOr<std::size_t> read =
        in.readAt(m_buffer.get(), std::min<std::uint64_t>(length, kBufferSize), inOffset);
    if (read.isError()) {
        throw Failure(ExitCode::BadImage, "cannot read set member: " + inName, read.error());
    }
    writeAt(m_buffer.get(), read.value(), offset);
    return read.value();
}

void AtomicFile::commit(std::uint64_t size) {
    checkComplete(size);
    // A file whose bytes may not all be stored (a delayed write error: NFS, quotas) is not
    // complete.
    if (const ErrorOr<void> closed = closeStored(); closed.isError()) fail(closed.error());
    if (m_temp.empty()) return;  // written in place
    refuseOddTarget();
    if (const ErrorOr<void> renamed = renameOver(m_temp, m_target); renamed.isError()) {
        fail(renamed.error());
    }
    m_temp.clear();
}

}  // namespace pdixtract

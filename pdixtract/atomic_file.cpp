// SPDX-License-Identifier: GPL-3.0-or-later
// AtomicFile's logic; the system calls it makes are the platform files'.
#include "pdixtract/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>
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

AtomicFile::AtomicFile(std::string target, bool flush, WithoutTemporary without)
    : m_target(std::move(target)), m_flush(flush) {
    refuseOddTarget();
    const std::size_t slash = LastSeparator(m_target);
    const ErrorOr<FileHandle> unnamed =
        createUnnamed(slash == std::string::npos ? std::string() : m_target.substr(0, slash + 1));
    if (!unnamed.isError()) {
        m_out = unnamed.value();
    } else {
        // A file system without unnamed files (FAT, network shares): a named one.
        const ErrorOr<void> named = takeTemporaryName([this](const std::string& name) {
            const ErrorOr<FileHandle> created = createNew(name);
            if (created.isError()) return ErrorOr<void>(created.error());
            m_out = created.value();
            return ErrorOr<void>();
        });
        if (named.isError() && !(without == WithoutTemporary::WriteInPlace && openInPlace())) {
            fail(named.error());
        }
    }
    HoldOnceForTests();
}

AtomicFile::~AtomicFile() {
    if (m_out != kNoFile) closeDropped();
    if (!m_temp.empty()) removeFile(m_temp);
    ForgetTemporary(m_slot);
}

ErrorOr<void> AtomicFile::takeTemporaryName(
    const std::function<ErrorOr<void>(const std::string&)>& make) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = nextTemporaryName();
        // Registered first, so an interruption just after the file is named still removes it.
        m_slot = RegisterTemporary(name);
        const ErrorOr<void> made = make(name);
        if (!made.isError()) {
            m_temp = name;
            return {};
        }
        ForgetTemporary(std::exchange(m_slot, -1));
        if (!made.error().is(EEXIST)) return made.error();
    }
    return Error::fromErrno(EEXIST);
}

bool AtomicFile::openInPlace() {
    if (LookAt(m_target).kind != FileKind::Regular) return false;
    const ErrorOr<FileHandle> opened = openToRewrite(m_target);
    if (opened.isError()) return false;
    m_out = opened.value();
    // Nothing stands between its reader and a half-written file but the flush.
    m_inPlace = m_flush = true;
    return true;
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

void AtomicFile::addHole(std::uint64_t size) {
    if (!m_holes) allowHoles();
    m_holes = true;
    m_written += size;
}

void AtomicFile::commit(std::uint64_t size) {
    checkComplete(size);
    // A hole at the end is written by nobody: the length makes it.
    if (m_holes) {
        if (const ErrorOr<void> sized = setLength(size); sized.isError()) fail(sized.error());
    }
    if (m_flush) {
        if (const ErrorOr<void> flushed = flushToDisk(); flushed.isError()) fail(flushed.error());
    }
    if (m_inPlace) {
        if (const ErrorOr<void> closed = closeStored(); closed.isError()) fail(closed.error());
        return;
    }
    refuseOddTarget();
    if (m_temp.empty()) {
        const ErrorOr<void> linked = linkAs(m_target);
        if (!linked.isError()) {
            if (const ErrorOr<void> closed = closeStored(); closed.isError()) {
                removeFile(m_target);
                fail(closed.error());
            }
            return;
        }
        if (!linked.error().is(EEXIST)) fail(linked.error());
        // A link never replaces a file: the old one is renamed over.
        const ErrorOr<void> named =
            takeTemporaryName([this](const std::string& name) { return linkAs(name); });
        if (named.isError()) fail(named.error());
    }
    keepWhenClosed();
    // A file whose bytes may not all be stored (a delayed write error: NFS, quotas) is not
    // complete.
    if (const ErrorOr<void> closed = closeStored(); closed.isError()) fail(closed.error());
    if (const ErrorOr<void> renamed = renameOver(m_temp, m_target); renamed.isError()) {
        fail(renamed.error());
    }
    m_temp.clear();
}

}  // namespace pdixtract

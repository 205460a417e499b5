// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pdixtract/errors.h"
#include "pdixtract/member_set.h"

namespace pdixtract {

// A run of a file's bytes in the image.
struct Extent {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

// A regular file of the image, as its directory records describe it.
struct ImageFile {
    std::string path;  // full path inside the image, "/"-separated, no leading "/"
    std::string name;  // last path component: the name it is listed and extracted by
    std::uint64_t size = 0;
    std::vector<Extent> extents;  // where its bytes lie, if stored plainly
    bool plain = true;            // false: compressed, or only the volume's reader can read it
    std::string problem;          // why it cannot be read ("" if it can)
};

// Something in the image that cannot become a file; message is the whole line.
struct Problem {
    ExitCode code;
    std::string message;
};

// Receives a file's data: (bytes, count, offset in the file).
using DataSink = std::function<void(const void*, std::size_t, std::uint64_t)>;

// The files of one disc image.
class Volume {
public:
    virtual ~Volume() = default;

    // The regular files in image order (by where their data lies; empty files last).
    const std::vector<ImageFile>& files() const { return m_files; }

    // Entries that were left out: unusable names, folders outside the image.
    const std::vector<Problem>& problems() const { return m_problems; }

    // Streams the data of a file that is not plain to sink. Throws Failure (BadImage).
    virtual void read(const ImageFile& file, const DataSink& sink) = 0;

protected:
    // Adds a file found at path, or a problem if its name cannot be a file name.
    void add(ImageFile file);

    std::vector<ImageFile> m_files;
    std::vector<Problem> m_problems;
};

// Reads the directories of the set's image: ISO 9660 (Rock Ridge or Joliet names where the
// image has them) or, when there is no ISO 9660 volume, UDF. Throws Failure (BadImage) if
// it is neither; display names the set in messages.
std::unique_ptr<Volume> OpenVolume(const MemberSet& set, const std::string& display);

// The readers behind OpenVolume; each returns nullptr if the image is not of its kind.
std::unique_ptr<Volume> OpenIso9660(const MemberSet& set, const std::string& display);
std::unique_ptr<Volume> OpenUdf(const MemberSet& set, const std::string& display);

}  // namespace pdixtract

// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdixtract/volume.h"

namespace pdixtract {

void Volume::add(ImageFile file) {
    // Such a name would address the folder itself, its parent, another folder, or (on
    // Windows) a device or another file's stream.
    if (!UsableFileName(file.name)) {
        m_problems.push_back(
            {ExitCode::NameProblem, "name cannot be a file name, skipped: " + file.path});
        return;
    }
    m_files.push_back(std::move(file));
}

std::unique_ptr<Volume> OpenVolume(const MemberSet& set, const std::string& display) {
    if (auto iso = OpenIso9660(set, display)) return iso;
    if (auto udf = OpenUdf(set, display)) return udf;
    throw Failure(ExitCode::BadImage,
                  "not a disc image (no ISO 9660 or UDF volume found): " + display);
}

}  // namespace pdixtract

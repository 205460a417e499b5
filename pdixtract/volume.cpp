// SPDX-License-Identifier: GPL-3.0-or-later
#include "volume.h"

namespace pdix {

void Volume::add(ImageFile file) {
    // Such a name would address the folder itself, its parent, another folder, or (on
    // Windows) a device or another file's stream.
    if (!usable_file_name(file.name)) {
        m_problems.push_back(
            {ExitCode::name_problem, "name cannot be a file name, skipped: " + file.path});
        return;
    }
    m_files.push_back(std::move(file));
}

std::unique_ptr<Volume> open_volume(const MemberSet& set, const std::string& display) {
    if (auto iso = open_iso9660(set, display)) return iso;
    if (auto udf = open_udf(set, display)) return udf;
    throw Error(ExitCode::bad_image,
                "not a disc image (no ISO 9660 or UDF volume found): " + display);
}

}  // namespace pdix

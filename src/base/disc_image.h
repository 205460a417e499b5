// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace base {

// ISO 9660 and UDF both lay a disc image out in sectors of 2048 bytes.
inline constexpr std::uint64_t kSectorSize = 2048;

// The first 16 sectors are the system area, which neither file system uses;
// the volume descriptors follow it, one a sector.
inline constexpr std::uint64_t kFirstDescriptorSector = 16;
inline constexpr std::uint64_t kDescriptorsOffset = kFirstDescriptorSector * kSectorSize;

// A descriptor's type byte is followed by its standard identifier, five
// letters: ISO 9660's descriptors carry "CD001", the ones announcing a UDF
// volume "NSR02" or "NSR03".
inline constexpr std::size_t kIdentifierOffset = 1;
inline constexpr std::string_view kIso9660Identifier = "CD001";
inline constexpr std::string_view kUdfIdentifiers[] = {"NSR02", "NSR03"};

}  // namespace base
